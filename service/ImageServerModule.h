#pragma once
#include "ServiceModule.h"

// The image server's raw exchange (port "image"; the real service uses 443,
// plain bytes): a 280-byte header, then the payload until the client closes.
// Kind 3 (album cover offer) first gets a 12-byte reply: "OK" when the
// service has no cover of that album yet (the payload follows), "NO" when it
// has one. Each exchange is logged with the header's fields and the size of
// every piece read (filled to 4096 bytes, the last one shorter); the header and the payload
// are saved as files. A kind-2 payload also becomes the user's stored
// playlist, a kind-3 payload the album's stored cover.
class ImageServerModule : public ServiceModule
{
  public:
    const char* Name() const override { return "imageserver"; }
    void Register(ServiceHost& host) override;
    void Started(ServiceHost& host) override;
};
