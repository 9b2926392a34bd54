#pragma once
#include "HttpServerBase.h"
#include "SonatrelEvents.h"
#include <map>
#include <string>

// The server of the player library: serves song and cache files to the local
// media player (peer 127.0.0.1), announces cache files that are still growing,
// hands song files to buddies through "playmusic.dll", and reports per-mille
// progress of every body it sends.
class MediaHttpServer : public HttpServerBase
{
  public:
    explicit MediaHttpServer(int authRequired = 0);
    ~MediaHttpServer() override;

    void OnAccept(SOCKET socket, const sockaddr_in& peer) override;
    bool OnProgress(unsigned long sent, unsigned long total) override;
    bool IsRequestComplete(std::string text) override;
    bool HandleRequest(HttpConnection* connection, int& keepAlive) override;

    void SetCallback(SonatrelCallback callback) { m_callback = callback; }
    bool IsAuthRequired() const { return m_authRequired != 0; }
    // Content type of a lower-case extension; "text/plain" when unknown.
    std::string ContentType(const std::string& extension) const;

    // Percent and "+" decoding of a request path, then UTF-8 (or, when the
    // bytes are not UTF-8, the ANSI code page) to text.
    static std::wstring DecodePath(const std::string& raw);
    // A decoded path that stays inside the document root: relative, no ".." step, no drive or stream.
    static bool IsSafeRelativePath(const std::wstring& path);

  private:
    bool Refuse(HttpConnection* connection, int& keepAlive, const char* status);
    std::string BuildHeader(const char* status, const std::string& type, unsigned long length, bool keepAlive,
                            bool stream) const;

    std::map<std::string, std::string> m_mime;
    int m_authRequired;
    SonatrelCallback m_callback = nullptr;
};
