#pragma once
#include "HttpServerBase.h"
#include "SonatrelEvents.h"
#include <map>
#include <memory>
#include <string>

class SharedSongList;

// The server of the player library: serves song and cache files to the local
// media player (peer 127.0.0.1), announces cache files that are still growing,
// hands the owner's songs to buddies through "playmusic.dll", and reports
// per-mille progress of every body it sends. Whole files are also served in
// byte ranges, with which players seek.
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
    // Songs that buddies may fetch besides those of the cache folder (the document root).
    void SetSharedSongs(std::shared_ptr<SharedSongList> songs) { m_sharedSongs = std::move(songs); }
    bool IsAuthRequired() const { return m_authRequired != 0; }
    // Content type of a lower-case extension; "text/plain" when unknown.
    std::string ContentType(const std::string& extension) const;

    // Percent and "+" decoding of a request path (an escape without two hex
    // digits still gives one byte), then UTF-8 (or, when the bytes are not
    // UTF-8, the ANSI code page) to text, up to the first zero byte.
    static std::wstring DecodePath(const std::string& raw);
    // A decoded path that stays inside the document root: relative, no ".." step, no drive or stream.
    static bool IsSafeRelativePath(const std::wstring& path);

  private:
    bool Refuse(HttpConnection* connection, int& keepAlive, const char* status, const std::string& extra = "");
    std::string BuildHeader(const char* status, const std::string& type, unsigned long length, bool keepAlive,
                            bool stream, const std::string& extra = "") const;
    // Answers a whole file, or the byte range the request asks of it.
    bool AnswerFile(HttpConnection* connection, int& keepAlive, const std::string& type, unsigned long size);
    bool IsSharedWithBuddies(const std::wstring& path) const;

    std::map<std::string, std::string> m_mime;
    int m_authRequired;
    SonatrelCallback m_callback = nullptr;
    std::shared_ptr<SharedSongList> m_sharedSongs;
};
