#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class DataStore;
class SocketStream;

struct HttpRequest
{
    std::string method;
    std::string target; // as sent: path and query
    std::string path;   // percent-decoded path without the query
    std::string query;  // raw text after '?'
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers; // names as sent
    std::string body;
    std::string Header(const std::string& name) const; // case-insensitive; "" when absent
    std::string QueryValue(const std::string& key) const;
};

struct HttpResponse
{
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // A slow body: sent in pieces of trickleBytes with trickleDelayMs between them.
    size_t trickleBytes = 0;
    unsigned trickleDelayMs = 0;
    // A cut-off transfer: Content-Length announces the whole body, but only
    // this many bytes of it are sent before the connection is closed.
    size_t cutAfter = (size_t)-1;
    // No Content-Length: the body ends when the connection closes.
    bool noLength = false;
    bool close = false;

    void SetStatus(int code, const std::string& text);
    void SetHeader(const std::string& name, const std::string& value); // replaces
    void AddHeader(const std::string& name, const std::string& value); // repeats
};

// The web server of the stand-in service (HTTP/1.1 with persistent
// connections and Content-Length bodies). Every request is recorded in the
// data log with its body saved. A file below "www\" of the data folder at the
// request's path answers in place of any route, so that a test or the demo
// can put a chosen reply there; then the routes; else 404.
class HttpServer
{
  public:
    using Handler = std::function<void(const HttpRequest&, HttpResponse&)>;

    explicit HttpServer(DataStore& data) : m_data(data) {}
    // path "/x/y" matches exactly; "/x/*" matches every path below "/x/".
    // method "" matches every method.
    void Route(const std::string& method, const std::string& path, Handler handler);
    void Serve(SocketStream& connection);

  private:
    struct RouteEntry
    {
        std::string method;
        std::string path;
        Handler handler;
    };
    bool ReadRequest(SocketStream& connection, std::string& pending, HttpRequest& request);
    void Dispatch(const HttpRequest& request, HttpResponse& response);
    bool ServeStaticFile(const HttpRequest& request, HttpResponse& response);
    void Record(const HttpRequest& request, const HttpResponse& response);
    bool Send(SocketStream& connection, const HttpRequest& request, HttpResponse& response);

    DataStore& m_data;
    std::mutex m_lock;
    std::vector<RouteEntry> m_routes;
};
