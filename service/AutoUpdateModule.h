#pragma once
#include "ServiceModule.h"

// The update location: "/update/AutoUpdate.xml" and the module packages.
// Files come from "update\" of the data folder:
//   update\AutoUpdate.xml   the manifest; every Packet whose url names a
//                           package file of "update\" and that carries no
//                           sha256 attribute gets one with the file's
//                           SHA-256. Without the file the manifest offers
//                           nothing ("<AutoUpdate/>"), so that logins go on.
//   update\<name>           "/update/<name>": a package
//   "/update/cut/<name>"    the same package announced whole but cut off
//                           after half of its bytes (a broken transfer)
// The web module announces "/update/AutoUpdate.xml" as the update location.
class AutoUpdateModule : public ServiceModule
{
  public:
    const char* Name() const override { return "update"; }
    void Register(ServiceHost& host) override;
};
