#pragma once
#include "ServiceModule.h"

// Routes for tests of the client's web classes, below "/test/":
//   /test/status?code=N          answers status N with a short body
//   /test/redirect?to=P&code=N   redirects (302 unless N is given) to P
//   /test/headers                repeats Set-Cookie and X-Repeat headers
//   /test/bytes?count=N          a body of N bytes "abc...z" repeated
//   /test/slow?count=N&piece=P&delay=D   the same body, P bytes every D ms
//   /test/echo                   the request as received: request line,
//                                headers, blank line, body
class TestRoutesModule : public ServiceModule
{
  public:
    const char* Name() const override { return "testroutes"; }
    void Register(ServiceHost& host) override;
};
