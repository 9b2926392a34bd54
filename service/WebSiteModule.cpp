#include "WebSiteModule.h"
#include "ServiceHost.h"
#include "TextUtil.h"

static std::string ConfigurationDocument(ServiceHost& host)
{
    using text::XmlEscape;
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UR>\r\n  <SS>\r\n";
    for (const ServerEntry& e : host.ServerEntries())
        xml += "    <SR T=\"" + XmlEscape(e.type) + "\" D=\"" + XmlEscape(e.domain) + "\" I=\"" + XmlEscape(e.host) +
               "\" P=\"" + XmlEscape(e.port) + "\" M=\"" + XmlEscape(e.maxLoad) + "\" C=\"" + XmlEscape(e.load) +
               "\" S=\"" + XmlEscape(e.state) + "\" N=\"" + XmlEscape(e.name) + "\"/>\r\n";
    xml += "  </SS>\r\n  <UP>\r\n";
    for (auto& location : host.UpdateLocations())
        xml += "    <UL D=\"" + XmlEscape(location.first) + "\" V=\"" + XmlEscape(location.second) + "\"/>\r\n";
    xml += "  </UP>\r\n</UR>\r\n";
    return xml;
}

void WebSiteModule::Register(ServiceHost& host)
{
    ServiceHost* h = &host;
    // A file "www\configure.php" in the data folder answers instead (the web
    // server's static rule), which is how a test serves a chosen list.
    host.Web().Route("GET", "/configure.php", [h](const HttpRequest&, HttpResponse& response) {
        response.SetHeader("Content-Type", "text/xml; charset=utf-8");
        response.body = ConfigurationDocument(*h);
    });
    // The buddy recommendation pages: the form arrives as one Base64 field;
    // it is logged decoded and its buddy records are listed on the page.
    for (const char* page : {"/inset/commend/commend.php", "/inset/commend/view_commend.php",
                             "/inset/commend/friends3.php"})
        host.Web().Route("POST", page, [h, page](const HttpRequest& request, HttpResponse& response) {
            std::string form = text::DecodeFieldBody(request.body, "a=");
            h->Data().Log("web", "recommendation", {{"page", page}, {"text", form}});
            response.SetHeader("Content-Type", "text/html; charset=utf-8");
            response.body = "<html><body><h3>" + text::XmlEscape(text::FormValue(form, "nick")) + "</h3><ul>";
            for (auto& field : text::ParseForm(form))
                if (text::StartsWith(field.first, "var"))
                    response.body += "<li>" + text::XmlEscape(field.second) + "</li>";
            response.body += "</ul></body></html>";
        });
}

void WebSiteModule::Started(ServiceHost& host)
{
    std::string web = std::to_string(host.Port("web"));
    host.SetClientSetting("WebHost", host.LoopbackHost());
    host.SetClientSetting("WebPort", web);
    host.SetClientSetting("PassportHost", host.LoopbackHost());
    host.SetClientSetting("PassportPort", web);
    host.SetClientSetting("CommunityHost", host.LoopbackHost());
    host.SetClientSetting("CommunityPort", web);
    host.AddUpdateLocation("yeb360", "http://" + std::string(host.LoopbackHost()) + ":" + web + "/update/AutoUpdate.xml");
}
