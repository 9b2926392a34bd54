#include "AutoUpdateModule.h"
#include "ServiceHost.h"
#include "Sha256.h"
#include "TextUtil.h"

namespace
{

// A package of "update\": one plain file name.
bool IsPackageName(const std::string& name)
{
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name != "." && name != "..";
}

std::string PackageDigest(DataStore& data, const std::string& name)
{
    wchar_t digest[65] = {};
    if (!IsPackageName(name) || !ComputeFileSha256(data.PathOf("update\\" + name).c_str(), digest))
        return std::string();
    return text::Narrow(digest);
}

// Adds sha256="..." to every Packet tag without one whose url names a
// package the service holds.
std::string AddPackageDigests(DataStore& data, const std::string& manifest)
{
    std::string out;
    size_t pos = 0;
    for (;;)
    {
        size_t tag = pos;
        for (; tag < manifest.size(); ++tag)
            if (manifest[tag] == '<' && text::Lower(manifest.substr(tag + 1, 6)) == "packet")
                break;
        if (tag >= manifest.size())
            break;
        size_t end = manifest.find('>', tag);
        if (end == std::string::npos)
            break;
        std::string element = manifest.substr(tag, end - tag);
        std::string lower = text::Lower(element);
        size_t url = lower.find("url=\"");
        std::string digest;
        if (url != std::string::npos && lower.find("sha256=") == std::string::npos)
        {
            size_t close = element.find('"', url + 5);
            std::string address = element.substr(url + 5, close == std::string::npos ? 0 : close - url - 5);
            digest = PackageDigest(data, address.substr(address.rfind('/') + 1));
        }
        size_t insertAt = end > tag && manifest[end - 1] == '/' ? end - 1 : end;
        out += manifest.substr(pos, insertAt - pos);
        if (!digest.empty())
            out += " sha256=\"" + digest + "\"";
        pos = insertAt;
    }
    return out + manifest.substr(pos);
}

} // namespace

void AutoUpdateModule::Register(ServiceHost& host)
{
    DataStore* data = &host.Data();
    host.Web().Route("GET", "/update/AutoUpdate.xml", [data](const HttpRequest&, HttpResponse& response) {
        std::string manifest;
        if (!data->ReadFile("update\\AutoUpdate.xml", manifest))
            manifest = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<AutoUpdate/>\r\n";
        response.SetHeader("Content-Type", "text/xml; charset=utf-8");
        response.body = AddPackageDigests(*data, manifest);
    });
    host.Web().Route("GET", "/update/*", [data](const HttpRequest& request, HttpResponse& response) {
        std::string name = request.path.substr(std::string("/update/").size());
        bool cut = text::StartsWith(name, "cut/");
        if (cut)
            name = name.substr(4);
        if (!IsPackageName(name) || !data->ReadFile("update\\" + name, response.body))
        {
            response.SetStatus(404, "Not Found");
            response.body = "no such package";
            return;
        }
        response.SetHeader("Content-Type", "application/zip");
        if (cut)
            response.cutAfter = response.body.size() / 2;
    });
}
