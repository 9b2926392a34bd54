#pragma once

class ServiceHost;

// One server of the stand-in service. A module adds its listeners and web
// routes in Register, before any port is bound; Started runs once every port
// is known, so that a module can announce itself (configuration entries,
// client settings).
class ServiceModule
{
  public:
    virtual ~ServiceModule() = default;
    virtual const char* Name() const = 0;
    virtual void Register(ServiceHost& host) = 0;
    virtual void Started(ServiceHost&) {}
};
