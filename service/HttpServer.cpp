#include "HttpServer.h"
#include "DataStore.h"
#include "SocketStream.h"
#include "TextUtil.h"
#include <windows.h>
#include <cstdlib>

static const size_t kMaxHeaderBytes = 65536;
static const size_t kMaxBodyBytes = 64 * 1024 * 1024;

std::string HttpRequest::Header(const std::string& name) const
{
    std::string wanted = text::Lower(name);
    for (auto& kv : headers)
        if (text::Lower(kv.first) == wanted)
            return kv.second;
    return std::string();
}

std::string HttpRequest::QueryValue(const std::string& key) const
{
    return text::FormValue(query, key);
}

void HttpResponse::SetStatus(int code, const std::string& text)
{
    status = code;
    reason = text;
}

void HttpResponse::SetHeader(const std::string& name, const std::string& value)
{
    for (auto& kv : headers)
        if (text::Lower(kv.first) == text::Lower(name))
        {
            kv.second = value;
            return;
        }
    headers.emplace_back(name, value);
}

void HttpResponse::AddHeader(const std::string& name, const std::string& value)
{
    headers.emplace_back(name, value);
}

void HttpServer::Route(const std::string& method, const std::string& path, Handler handler)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_routes.push_back({method, path, std::move(handler)});
}

bool HttpServer::ReadRequest(SocketStream& connection, std::string& pending, HttpRequest& request)
{
    size_t end;
    while ((end = pending.find("\r\n\r\n")) == std::string::npos)
    {
        if (pending.size() > kMaxHeaderBytes)
            return false;
        char buffer[8192];
        int n = connection.ReceiveSome(buffer, sizeof buffer);
        if (n <= 0)
            return false;
        pending.append(buffer, n);
    }
    std::string head = pending.substr(0, end);
    pending.erase(0, end + 4);

    size_t lineEnd = head.find("\r\n");
    std::string requestLine = head.substr(0, lineEnd);
    size_t s1 = requestLine.find(' ');
    size_t s2 = requestLine.rfind(' ');
    if (s1 == std::string::npos || s2 == s1)
        return false;
    request.method = requestLine.substr(0, s1);
    request.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
    request.version = requestLine.substr(s2 + 1);
    // A proxy-style absolute target keeps only its path.
    if (text::StartsWith(request.target, "http://"))
    {
        size_t slash = request.target.find('/', 7);
        request.target = slash == std::string::npos ? "/" : request.target.substr(slash);
    }
    size_t q = request.target.find('?');
    request.path = text::PercentDecode(request.target.substr(0, q), false);
    request.query = q == std::string::npos ? std::string() : request.target.substr(q + 1);

    size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (pos < head.size())
    {
        size_t next = head.find("\r\n", pos);
        if (next == std::string::npos)
            next = head.size();
        std::string line = head.substr(pos, next - pos);
        size_t colon = line.find(':');
        if (colon != std::string::npos)
            request.headers.emplace_back(text::Trim(line.substr(0, colon)), text::Trim(line.substr(colon + 1)));
        pos = next + 2;
    }

    size_t length = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
    if (length > kMaxBodyBytes)
        return false;
    while (pending.size() < length)
    {
        char buffer[65536];
        int n = connection.ReceiveSome(buffer, sizeof buffer);
        if (n <= 0)
            return false;
        pending.append(buffer, n);
    }
    request.body = pending.substr(0, length);
    pending.erase(0, length);
    return true;
}

static const char* ContentTypeOf(const std::string& path)
{
    static const struct
    {
        const char* extension;
        const char* type;
    } types[] = {{".xml", "text/xml; charset=utf-8"}, {".php", "text/xml; charset=utf-8"},
                 {".htm", "text/html; charset=utf-8"}, {".html", "text/html; charset=utf-8"},
                 {".shtml", "text/html; charset=utf-8"}, {".txt", "text/plain; charset=utf-8"},
                 {".jpg", "image/jpeg"}, {".png", "image/png"}, {".gif", "image/gif"},
                 {".bmp", "image/bmp"}, {".zip", "application/zip"}, {".mp3", "audio/mpeg"}};
    std::string lower = text::Lower(path);
    for (auto& t : types)
    {
        size_t n = std::char_traits<char>::length(t.extension);
        if (lower.size() >= n && lower.compare(lower.size() - n, n, t.extension) == 0)
            return t.type;
    }
    return "application/octet-stream";
}

bool HttpServer::ServeStaticFile(const HttpRequest& request, HttpResponse& response)
{
    const std::string& path = request.path;
    if (path.empty() || path[0] != '/')
        return false;
    // Only plain names below www: no "..", no drive or stream syntax.
    if (path.find("..") != std::string::npos || path.find(':') != std::string::npos ||
        path.find('\\') != std::string::npos)
        return false;
    std::string relative = "www" + path;
    if (!m_data.FileExists(relative) || !m_data.ReadFile(relative, response.body))
        return false;
    response.SetHeader("Content-Type", ContentTypeOf(path));
    return true;
}

void HttpServer::Dispatch(const HttpRequest& request, HttpResponse& response)
{
    if (ServeStaticFile(request, response))
        return;
    Handler handler;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        for (auto& route : m_routes)
        {
            if (!route.method.empty() && route.method != request.method)
                continue;
            bool prefix = route.path.size() >= 2 && route.path.compare(route.path.size() - 2, 2, "/*") == 0;
            bool match = prefix ? text::StartsWith(request.path, route.path.substr(0, route.path.size() - 1))
                                : request.path == route.path;
            if (match)
            {
                handler = route.handler;
                break;
            }
        }
    }
    if (handler)
    {
        handler(request, response);
        return;
    }
    response.SetStatus(404, "Not Found");
    response.SetHeader("Content-Type", "text/html; charset=utf-8");
    response.body = "<html><body>404 Not Found</body></html>";
}

void HttpServer::Record(const HttpRequest& request, const HttpResponse& response)
{
    DataStore::Fields fields = {{"method", request.method}, {"path", request.path}, {"query", request.query},
                                {"status", std::to_string(response.status)}};
    std::string contentType = request.Header("Content-Type");
    if (!contentType.empty())
        fields.emplace_back("content-type", contentType);
    std::string agent = request.Header("User-Agent");
    if (!agent.empty())
        fields.emplace_back("user-agent", agent);
    if (!request.body.empty())
    {
        fields.emplace_back("size", std::to_string(request.body.size()));
        fields.emplace_back("file", m_data.SaveReceived("web", request.body));
    }
    m_data.Log("web", "request", fields);
}

bool HttpServer::Send(SocketStream& connection, const HttpRequest& request, HttpResponse& response)
{
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
    bool hasType = false;
    for (auto& kv : response.headers)
    {
        head += kv.first + ": " + kv.second + "\r\n";
        hasType = hasType || text::Lower(kv.first) == "content-type";
    }
    if (!hasType)
        head += "Content-Type: text/plain; charset=utf-8\r\n";
    if (response.noLength)
        response.close = true;
    else
        head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    head += "Server: YebService\r\n";
    head += response.close ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
    if (!connection.SendAll(head))
        return false;
    if (request.method == "HEAD")
        return true;
    if (response.cutAfter < response.body.size())
    {
        connection.SendAll(response.body.data(), response.cutAfter);
        return false;
    }
    if (response.trickleBytes == 0)
        return connection.SendAll(response.body);
    for (size_t sent = 0; sent < response.body.size(); sent += response.trickleBytes)
    {
        if (sent > 0)
            Sleep(response.trickleDelayMs);
        size_t n = response.body.size() - sent < response.trickleBytes ? response.body.size() - sent
                                                                       : response.trickleBytes;
        if (!connection.SendAll(response.body.data() + sent, n))
            return false;
    }
    return true;
}

void HttpServer::Serve(SocketStream& connection)
{
    std::string pending;
    for (;;)
    {
        HttpRequest request;
        if (!ReadRequest(connection, pending, request))
            return;
        HttpResponse response;
        Dispatch(request, response);
        if (text::Lower(request.Header("Connection")) == "close" || request.version == "HTTP/1.0")
            response.close = true;
        Record(request, response);
        if (!Send(connection, request, response) || response.close)
            return;
    }
}
