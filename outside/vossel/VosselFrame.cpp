#include "VosselFrame.h"
#include <cstring>

namespace
{
void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU16(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
uint32_t GetU32(const char* p)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<uint32_t>(u[3]) << 24);
}
uint16_t GetU16(const char* p)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint16_t>(u[0] | (u[1] << 8));
}
const size_t HeaderSize = 2 + 2 + 4 + 4; // kind, field count, code, extra
} // namespace

VosselFrame& VosselFrame::Add(const std::wstring& text)
{
    fields.push_back(ToWire(text));
    return *this;
}

VosselFrame& VosselFrame::AddBytes(const std::string& bytes)
{
    fields.push_back(bytes);
    return *this;
}

std::wstring VosselFrame::Text(size_t i) const
{
    return i < fields.size() ? FromWire(fields[i]) : std::wstring();
}

const std::string& VosselFrame::Bytes(size_t i) const
{
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
}

std::string VosselFrame::Encode() const
{
    std::string body;
    PutU16(body, kind);
    PutU16(body, static_cast<uint16_t>(fields.size()));
    PutU32(body, static_cast<uint32_t>(code));
    PutU32(body, static_cast<uint32_t>(extra));
    for (const std::string& f : fields)
    {
        PutU32(body, static_cast<uint32_t>(f.size()));
        body += f;
    }
    std::string out;
    PutU32(out, static_cast<uint32_t>(body.size()));
    return out + body;
}

bool VosselFrame::Decode(const char* body, size_t size)
{
    if (size < HeaderSize)
        return false;
    kind = GetU16(body);
    size_t count = GetU16(body + 2);
    code = static_cast<int32_t>(GetU32(body + 4));
    extra = static_cast<int32_t>(GetU32(body + 8));
    if (count > MaxFields)
        return false;
    fields.clear();
    size_t pos = HeaderSize;
    for (size_t i = 0; i < count; ++i)
    {
        if (size - pos < 4)
            return false;
        uint32_t len = GetU32(body + pos);
        pos += 4;
        if (len > size - pos)
            return false;
        fields.emplace_back(body + pos, len);
        pos += len;
    }
    return pos == size;
}

std::string VosselFrame::ToWire(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (wchar_t c : text)
    {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

std::wstring VosselFrame::FromWire(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) // an odd last byte is dropped
        out.push_back(static_cast<wchar_t>(GetU16(bytes.data() + i)));
    return out;
}

int VosselFrameReader::Next(VosselFrame& frame)
{
    size_t avail = m_buffer.size() - m_start;
    if (avail < 4)
        return Compact(), 0;
    uint32_t len = GetU32(m_buffer.data() + m_start);
    if (len > VosselFrame::MaxBody)
        return -1;
    if (avail - 4 < len)
        return Compact(), 0;
    bool ok = frame.Decode(m_buffer.data() + m_start + 4, len);
    m_start += 4 + static_cast<size_t>(len);
    return ok ? 1 : -1;
}

void VosselFrameReader::Compact()
{
    if (m_start > 0)
    {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
}
