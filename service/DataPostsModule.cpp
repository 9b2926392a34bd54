#include "DataPostsModule.h"
#include "ServiceHost.h"
#include "Sha1Name.h"
#include "TextUtil.h"

// File of the playlist that a user uploaded last (kind 2 of the image server).
std::string PlaylistFileOf(const std::string& email)
{
    std::string name;
    for (char c : text::Lower(email))
        name += (isalnum((unsigned char)c) || c == '@' || c == '.' || c == '-' || c == '_') ? c : '_';
    return "playlists/" + name + ".xml";
}

static std::string Base64Decode(const std::string& in)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : in)
    {
        size_t v = alphabet.find(c);
        if (v == std::string::npos)
            continue; // '=' fill and anything else
        buffer = (buffer << 6) | (unsigned)v;
        bits += 6;
        if (bits >= 8)
        {
            out += char((buffer >> (bits - 8)) & 0xFF);
            bits -= 8;
        }
    }
    return out;
}

// A body "<prefix><Base64 with every '+' written %2B>" decoded to its text.
static std::string DecodeFieldBody(const std::string& body, const std::string& prefix)
{
    if (!text::StartsWith(body, prefix))
        return std::string();
    std::string b64 = body.substr(prefix.size());
    for (size_t at; (at = b64.find("%2B")) != std::string::npos;)
        b64.replace(at, 3, "+");
    return Base64Decode(b64);
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

    web.Route("POST", "/inset/Gdata/yeb.php", [h](const HttpRequest& request, HttpResponse& response) {
        h->Data().Log("web", "listening-report", {{"text", DecodeFieldBody(request.body, "a=")}});
        response.body = "OK";
    });
}
