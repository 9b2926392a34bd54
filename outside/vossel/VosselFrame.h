#pragma once
// One frame of the messaging wire between the library and the messaging
// server (see WIRE.md beside this file): a kind, two numbers and up to
// sixteen byte fields. Texts travel as UTF-16LE bytes.
#include <cstdint>
#include <string>
#include <vector>

enum VosselFrameKind : uint16_t
{
    FrameLogin = 1,
    FrameCommand = 2,
    FrameChat = 3,
    FrameAddFriend = 4,
    FrameDelFriend = 5,
    FrameAccept = 6,
    FrameReject = 7,
    FrameBye = 8,
    FrameFileRequest = 10,
    FrameFileBegin = 11,
    FrameFileData = 12,
    FrameFileEnd = 13,
    FrameFileAck = 14,
    FrameFileCancel = 15,
};

// Status of a FileEnd frame.
enum VosselFileStatus
{
    FileComplete = 0,
    FileMissing = 1,
    FilePeerAbsent = 2,
    FileFailed = 3,
};

// Kind of a FileRequest frame (its extra number).
enum VosselFileKind
{
    FileKindSong = 0,
    FileKindLibrary = 1,
};

class VosselFrame
{
  public:
    static const size_t MaxFields = 16;
    static const uint32_t MaxBody = 1024 * 1024; // bytes after the length word
    static const size_t DataChunk = 32 * 1024;   // song bytes per FileData frame

    VosselFrame() = default;
    explicit VosselFrame(uint16_t kind, int32_t code = 0, int32_t extra = 0) : kind(kind), code(code), extra(extra) {}

    uint16_t kind = 0;
    int32_t code = 0;
    int32_t extra = 0;
    std::vector<std::string> fields;

    VosselFrame& Add(const std::wstring& text);
    VosselFrame& AddBytes(const std::string& bytes);
    // Field i as text or bytes; a missing field reads as empty.
    std::wstring Text(size_t i) const;
    const std::string& Bytes(size_t i) const;

    // The frame's bytes on the wire, length word included.
    std::string Encode() const;
    // Reads one frame body (without its length word); false when the body is
    // malformed (field lengths running past the end, too many fields).
    bool Decode(const char* body, size_t size);

    static std::string ToWire(const std::wstring& text);
    static std::wstring FromWire(const std::string& bytes);
};

// Collects received bytes and cuts them into frames.
class VosselFrameReader
{
  public:
    void Append(const char* data, size_t size) { m_buffer.append(data, size); }
    // 1: a frame was taken; 0: more bytes are needed; -1: the stream is
    // broken (oversized or malformed frame) and must be closed.
    int Next(VosselFrame& frame);

  private:
    void Compact();
    std::string m_buffer;
    size_t m_start = 0; // first byte not yet taken
};
