#include "ImageServerModule.h"
#include "DataPostsModule.h"
#include "ServiceHost.h"
#include "SocketStream.h"
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{
const int kHeaderBytes = 280;
const int kPieceBytes = 4096;

uint32_t ReadU32(const char* p)
{
    const unsigned char* b = (const unsigned char*)p;
    return b[0] | (b[1] << 8) | (b[2] << 16) | ((uint32_t)b[3] << 24);
}

// A text field: its bytes up to the first zero (all of them when none).
std::string ReadText(const char* p, size_t width)
{
    size_t n = 0;
    while (n < width && p[n] != '\0')
        ++n;
    return std::string(p, n);
}

void Exchange(ServiceHost& host, SocketStream& connection)
{
    DataStore& data = host.Data();
    char header[kHeaderBytes];
    int got = 0;
    if (!connection.ReceiveExact(header, kHeaderBytes, &got))
    {
        data.Log("image", "short-header", {{"bytes", std::to_string(got)}});
        return;
    }
    uint32_t length = ReadU32(header);
    uint32_t kind = ReadU32(header + 4);
    uint32_t item = ReadU32(header + 140);
    std::string first = ReadText(header + 12, 128);
    std::string type = ReadText(header + 144, 8);
    std::string second = ReadText(header + 152, 128);
    DataStore::Fields fields = {{"kind", std::to_string(kind)},
                                {"length", std::to_string(length)},
                                {"user", std::to_string(ReadU32(header + 8))},
                                {"first", first},
                                {"item", std::to_string(item)},
                                {"type", type},
                                {"second", second},
                                {"header", data.SaveReceived("header", std::string(header, kHeaderBytes))}};

    std::string coverFile = "albums/" + std::to_string(item) + ".bin";
    if (kind == 3)
    {
        bool known = data.FileExists(coverFile);
        char reply[12] = {};
        std::memcpy(reply, known ? "NO" : "OK", 2);
        connection.SendAll(reply, sizeof reply);
        fields.emplace_back("reply", known ? "NO" : "OK");
    }

    std::string payload, pieces;
    char buffer[kPieceBytes];
    // Each piece is filled up to 4096 bytes (or the close), so that a sender
    // that sends whole pieces is logged by its sends, however the bytes were
    // split or joined on their way.
    for (;;)
    {
        int n = 0;
        bool full = connection.ReceiveExact(buffer, sizeof buffer, &n);
        if (n > 0)
        {
            payload.append(buffer, n);
            pieces += (pieces.empty() ? "" : ",") + std::to_string(n);
        }
        if (!full)
            break;
    }
    fields.emplace_back("bytes", std::to_string(payload.size()));
    fields.emplace_back("pieces", pieces);
    fields.emplace_back("file", data.SaveReceived("image", payload));
    if (kind == 2 && !payload.empty())
        data.WriteFile(PlaylistFileOf(first), payload);
    if (kind == 3 && !payload.empty())
        data.WriteFile(coverFile, payload);
    // An avatar is served to every client as the web host's
    // "/avatar/<uid % 1000>/<uid / 1000 % 1000>/<uid>.jpg".
    uint32_t uid = ReadU32(header + 8);
    if (kind == 1 && uid != 0 && !payload.empty() && payload.size() + kHeaderBytes == length)
    {
        char path[64];
        std::snprintf(path, sizeof path, "www/avatar/%03u/%03u/%u.jpg", (unsigned)(uid % 1000),
                      (unsigned)(uid / 1000 % 1000), (unsigned)uid);
        data.WriteFile(path, payload);
        fields.emplace_back("avatar", path);
    }
    data.Log("image", "exchange", fields);
}
} // namespace

void ImageServerModule::Register(ServiceHost& host)
{
    ServiceHost* h = &host;
    host.AddListener("image", [h](SocketStream& connection) { Exchange(*h, connection); });
}

void ImageServerModule::Started(ServiceHost& host)
{
    std::string image = std::to_string(host.Port("image"));
    host.SetClientSetting("ImageHost", host.LoopbackHost());
    host.SetClientSetting("ImageWebPort", std::to_string(host.Port("web")));
    host.SetClientSetting("ImageTcpPort", image);
    // The upload server (type "4") is the image server's raw exchange too.
    host.SetClientSetting("UploadHost", host.LoopbackHost());
    host.SetClientSetting("UploadPort", image);
    host.AddServerEntry({"4", "yeb360", host.LoopbackHost(), image, "1000", "0", "0", "upload"});
}
