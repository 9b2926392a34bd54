#include "SongFilesModule.h"
#include "ServiceHost.h"
#include <cstdlib>

std::string SongFilesModule::Pattern(size_t count)
{
    std::string body(count, '\0');
    unsigned value = 12345;
    for (size_t i = 0; i < count; ++i)
    {
        value = value * 1103515245u + 12345u;
        body[i] = char(value >> 16);
    }
    return body;
}

static long Number(const HttpRequest& request, const char* key, long fallback)
{
    std::string value = request.QueryValue(key);
    return value.empty() ? fallback : std::strtol(value.c_str(), nullptr, 10);
}

void SongFilesModule::Register(ServiceHost& host)
{
    host.Web().Route("GET", "/songs/*", [](const HttpRequest& request, HttpResponse& response) {
        long status = Number(request, "status", 200);
        if (status != 200)
        {
            response.SetStatus((int)status, status == 404 ? "Not Found" : "Status");
            response.body = "no such song";
            return;
        }
        response.SetHeader("Content-Type", "audio/mpeg");
        response.body = Pattern((size_t)Number(request, "size", 100000));
        response.noLength = Number(request, "nolength", 0) != 0;
        long cut = Number(request, "cut", -1);
        if (cut >= 0)
            response.cutAfter = (size_t)cut;
        response.trickleBytes = (size_t)Number(request, "piece", 0);
        response.trickleDelayMs = (unsigned)Number(request, "delay", 0);
    });
    host.Web().Route("GET", "/covers/*", [](const HttpRequest& request, HttpResponse& response) {
        std::string ending = request.path.substr(request.path.rfind('.') + 1);
        bool gone = request.path.compare(0, 13, "/covers/gone_") == 0;
        if (gone || (ending != "JPG" && Number(request, "lower", 0) == 0))
        {
            response.SetStatus(404, "Not Found");
            response.body = "no such cover";
            return;
        }
        response.SetHeader("Content-Type", "image/jpeg");
        response.body = Pattern((size_t)Number(request, "size", 3000));
    });
}
