#pragma once
#include "ServiceModule.h"
#include <string>

// Song files for the client's downloads, below "/songs/" on the web host:
//   /songs/<name>?size=N            N bytes (default 100000) of a fixed pattern
//   ...&nolength=1                  no Content-Length: the body ends at close
//   ...&cut=K                       the full length announced, K bytes sent, closed
//   ...&piece=P&delay=D             P bytes every D milliseconds (a slow server)
//   ...&status=N                    answers status N with a short body instead
// Album covers below "/covers/": a picture of size=N bytes (default 3000)
// only at addresses ending in ".JPG", or with lower=1 at any ending; else 404.
// Covers named "gone_..." answer 404 at every ending.
// The same name and size always give the same bytes, so a test can compare
// a downloaded file with SongFilesModule::Pattern.
class SongFilesModule : public ServiceModule
{
  public:
    const char* Name() const override { return "songfiles"; }
    void Register(ServiceHost& host) override;

    static std::string Pattern(size_t count);
};
