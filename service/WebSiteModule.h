#pragma once
#include "ServiceModule.h"

// The service's web host: the configuration document "/configure.php" (the
// server list and the update locations that the modules announced) and the
// client settings of the web and passport hosts.
class WebSiteModule : public ServiceModule
{
  public:
    const char* Name() const override { return "website"; }
    void Register(ServiceHost& host) override;
    void Started(ServiceHost& host) override;
};
