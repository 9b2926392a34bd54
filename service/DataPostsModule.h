#pragma once
#include "ServiceModule.h"

// The small web requests of the client's data servers: the download log
// "/cgi-bin/dmlog", the playlist check "/cgi-bin/checkpls", the user ids
// "/cgi-bin/gidfrmail" and "/cgi-bin/yeblogin", the user lookup by id
// "/cgi-bin/getuserinfo" (e-mail from "users.txt", nick from the messaging
// accounts, so a test sets both by writing those files), and the listening report
// "/inset/Gdata/yeb.php" (whose Base64 body is logged decoded as well).
class DataPostsModule : public ServiceModule
{
  public:
    const char* Name() const override { return "dataposts"; }
    void Register(ServiceHost& host) override;
};

#include <string>
// Data-folder file of the playlist that a user uploaded last (kind 2 of the
// image server); the playlist check compares its name with the client's.
std::string PlaylistFileOf(const std::string& email);
