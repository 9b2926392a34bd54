#include "DataPostsModule.h"
#include "MessagingAccounts.h"
#include "ServiceHost.h"
#include "Sha1Name.h"
#include "TextUtil.h"
#include <cstdlib>
#include <memory>

// File of the playlist that a user uploaded last (kind 2 of the image server).
std::string PlaylistFileOf(const std::string& email)
{
    std::string name;
    for (char c : text::Lower(email))
        name += (isalnum((unsigned char)c) || c == '@' || c == '.' || c == '-' || c == '_') ? c : '_';
    return "playlists/" + name + ".xml";
}

void DataPostsModule::Register(ServiceHost& host)
{
    ServiceHost* h = &host;
    HttpServer& web = host.Web();

    web.Route("POST", "/cgi-bin/dmlog", [](const HttpRequest&, HttpResponse& response) { response.body = "OK"; });

    // "OK" when the service holds the user's playlist file with that name, else "NO".
    web.Route("POST", "/cgi-bin/checkpls", [h](const HttpRequest& request, HttpResponse& response) {
        std::string mail = text::FormValue(request.body, "mail");
        std::string hash = text::FormValue(request.body, "hash");
        std::string stored;
        bool same = h->Data().ReadFile(PlaylistFileOf(mail), stored) && Sha1Name(stored) == hash;
        response.body = same ? "OK" : "NO";
    });

    web.Route("POST", "/cgi-bin/gidfrmail", [h](const HttpRequest& request, HttpResponse& response) {
        std::string mails = text::FormValue(request.body, "mails");
        std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UI>\r\n";
        size_t start = 0;
        while (start < mails.size())
        {
            size_t end = mails.find(',', start);
            if (end == std::string::npos)
                end = mails.size();
            std::string mail = text::Trim(mails.substr(start, end - start));
            if (!mail.empty())
                xml += "  <INFO email=\"" + text::XmlEscape(mail) + "\" uid=\"" +
                       std::to_string(h->Users().UidOf(mail)) + "\"/>\r\n";
            start = end + 1;
        }
        xml += "</UI>\r\n";
        response.SetHeader("Content-Type", "text/xml; charset=utf-8");
        response.body = xml;
    });

    web.Route("GET", "/cgi-bin/yeblogin", [h](const HttpRequest& request, HttpResponse& response) {
        response.body = std::to_string(h->Users().UidOf(request.QueryValue("email")));
    });

    // "<UI><INFO email nick/></UI>" for a known id, "<UI/>" for any other.
    auto accounts = std::make_shared<MessagingAccounts>(host.Data());
    web.Route("GET", "/cgi-bin/getuserinfo", [h, accounts](const HttpRequest& request, HttpResponse& response) {
        std::string param = request.QueryValue("param"), email;
        char* end = nullptr;
        unsigned long uid = std::strtoul(param.c_str(), &end, 10);
        response.SetHeader("Content-Type", "text/xml; charset=utf-8");
        response.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
        if (param.empty() || *end != 0 || !h->Users().EmailOf((unsigned)uid, email))
        {
            response.body += "<UI/>\r\n";
            return;
        }
        MessagingAccount account;
        std::string nick = accounts->Find(email, account) ? account.nick : std::string();
        response.body += "<UI>\r\n  <INFO email=\"" + text::XmlEscape(email) + "\" nick=\"" + text::XmlEscape(nick) +
                         "\"/>\r\n</UI>\r\n";
    });

    web.Route("POST", "/inset/Gdata/yeb.php", [h](const HttpRequest& request, HttpResponse& response) {
        h->Data().Log("web", "listening-report", {{"text", text::DecodeFieldBody(request.body, "a=")}});
        response.body = "OK";
    });
}
