#include "TestRoutesModule.h"
#include "ServiceHost.h"
#include <cstdlib>

static std::string PatternBody(size_t count)
{
    std::string body(count, '\0');
    for (size_t i = 0; i < count; ++i)
        body[i] = char('a' + i % 26);
    return body;
}

static long QueryNumber(const HttpRequest& request, const char* key, long fallback)
{
    std::string value = request.QueryValue(key);
    return value.empty() ? fallback : std::strtol(value.c_str(), nullptr, 10);
}

void TestRoutesModule::Register(ServiceHost& host)
{
    HttpServer& web = host.Web();
    web.Route("", "/test/status", [](const HttpRequest& request, HttpResponse& response) {
        int code = (int)QueryNumber(request, "code", 200);
        response.SetStatus(code, code == 404 ? "Not Found" : "Status");
        response.body = "status " + std::to_string(code) + " body";
    });
    web.Route("", "/test/redirect", [](const HttpRequest& request, HttpResponse& response) {
        response.SetStatus((int)QueryNumber(request, "code", 302), "Found");
        response.SetHeader("Location", request.QueryValue("to"));
        response.body = "moved";
    });
    web.Route("", "/test/headers", [](const HttpRequest&, HttpResponse& response) {
        response.AddHeader("Set-Cookie", "first=1; path=/");
        response.AddHeader("Set-Cookie", "second=2; path=/");
        response.AddHeader("X-Repeat", "one");
        response.AddHeader("X-Repeat", "two");
        response.AddHeader("X-Repeat", "three");
        response.body = "headers";
    });
    web.Route("", "/test/bytes", [](const HttpRequest& request, HttpResponse& response) {
        response.body = PatternBody((size_t)QueryNumber(request, "count", 0));
    });
    web.Route("", "/test/slow", [](const HttpRequest& request, HttpResponse& response) {
        response.body = PatternBody((size_t)QueryNumber(request, "count", 1000));
        response.trickleBytes = (size_t)QueryNumber(request, "piece", 100);
        response.trickleDelayMs = (unsigned)QueryNumber(request, "delay", 500);
    });
    web.Route("", "/test/echo", [](const HttpRequest& request, HttpResponse& response) {
        response.body = request.method + " " + request.target + " " + request.version + "\r\n";
        for (auto& kv : request.headers)
            response.body += kv.first + ": " + kv.second + "\r\n";
        response.body += "\r\n" + request.body;
    });
}
