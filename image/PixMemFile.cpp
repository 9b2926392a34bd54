#include "PixMemFile.h"
#include <stdlib.h>
#include <string.h>

CPixMemFile::CPixMemFile(unsigned char* buffer, long size)
    : m_pBuffer(buffer), m_Size(size), m_bFreeOnClose(buffer == nullptr), m_Position(0), m_Edge(size)
{
}

CPixMemFile::CPixMemFile(const CPixMemFile& other)
    : CPixFile(other), m_pBuffer(nullptr), m_Size(0), m_bFreeOnClose(false), m_Position(0), m_Edge(0)
{
    CopyFrom(other);
}

CPixMemFile::~CPixMemFile()
{
    Close();
}

CPixMemFile& CPixMemFile::operator=(const CPixMemFile& other)
{
    if (this != &other)
    {
        Close();
        CopyFrom(other);
    }
    return *this;
}

void CPixMemFile::CopyFrom(const CPixMemFile& other)
{
    m_pBuffer = nullptr;
    m_Size = other.m_Size;
    m_Position = other.m_Position;
    m_Edge = other.m_Edge;
    m_bFreeOnClose = other.m_bFreeOnClose;
    if (other.m_pBuffer)
    {
        m_pBuffer = static_cast<unsigned char*>(malloc(other.m_Edge > 0 ? other.m_Edge : 1));
        if (m_pBuffer)
        {
            if (other.m_Edge > 0)
                memcpy(m_pBuffer, other.m_pBuffer, other.m_Edge);
            m_bFreeOnClose = true;
        }
        else
        {
            m_Size = m_Position = m_Edge = 0;
        }
    }
}

bool CPixMemFile::Open()
{
    if (m_pBuffer)
        return false;
    m_Size = m_Position = m_Edge = 0;
    m_pBuffer = static_cast<unsigned char*>(malloc(1));
    m_bFreeOnClose = true;
    return m_pBuffer != nullptr;
}

unsigned char* CPixMemFile::GetBuffer(bool detach)
{
    if (detach)
        m_bFreeOnClose = false;
    return m_pBuffer;
}

bool CPixMemFile::Close()
{
    if (m_pBuffer && m_bFreeOnClose)
    {
        free(m_pBuffer);
        m_pBuffer = nullptr;
        m_Size = 0;
    }
    return true;
}

// Grows the buffer to hold at least `bytes` bytes: the capacity becomes the next
// multiple of 64 KiB above bytes - 1, and from then on the object owns the buffer.
bool CPixMemFile::Alloc(unsigned long bytes)
{
    if ((unsigned long)m_Edge >= bytes && m_Edge >= 0)
        return m_pBuffer != nullptr;
    unsigned long newEdge = (bytes & ~0xFFFFUL) + 0x10000UL;
    if (bytes > 0x7FFF0000UL || newEdge > 0x7FFFFFFFUL)
        return false;
    unsigned char* p = static_cast<unsigned char*>(m_pBuffer ? realloc(m_pBuffer, newEdge) : malloc(newEdge));
    if (!p)
        return false;
    m_pBuffer = p;
    m_Edge = (long)newEdge;
    m_bFreeOnClose = true;
    return true;
}

size_t CPixMemFile::Read(void* buffer, size_t size, size_t count)
{
    if (!buffer || !m_pBuffer || m_Position >= m_Size)
        return 0;
    unsigned long long want = (unsigned long long)size * count;
    if (want == 0)
        return 0;
    size_t left = (size_t)(m_Size - m_Position);
    size_t bytes = want < left ? (size_t)want : left;
    memcpy(buffer, m_pBuffer + m_Position, bytes);
    m_Position += (long)bytes;
    return bytes / size;
}

size_t CPixMemFile::Write(const void* buffer, size_t size, size_t count)
{
    if (!m_pBuffer || !buffer)
        return 0;
    unsigned long long bytes = (unsigned long long)size * count;
    if (bytes == 0)
        return 0;
    unsigned long long end = (unsigned long long)m_Position + bytes;
    if (end > 0x7FFF0000ULL)
        return 0;
    if ((long long)end > m_Edge && !Alloc((unsigned long)end))
        return 0;
    memcpy(m_pBuffer + m_Position, buffer, (size_t)bytes);
    m_Position = (long)end;
    if (m_Position > m_Size)
        m_Size = m_Position;
    return count;
}

bool CPixMemFile::Seek(long offset, int origin)
{
    if (!m_pBuffer)
        return false;
    long long pos;
    switch (origin)
    {
    case 0: pos = offset; break;
    case 1: pos = (long long)m_Position + offset; break;
    case 2: pos = (long long)m_Size + offset; break;
    default: return false;
    }
    if (pos < 0)
        pos = 0;
    if (pos > 0x7FFFFFFFLL)
        return false;
    m_Position = (long)pos;
    return true;
}

long CPixMemFile::Tell()
{
    return m_pBuffer ? m_Position : -1;
}

long CPixMemFile::Size()
{
    return m_pBuffer ? m_Size : -1;
}

bool CPixMemFile::Flush()
{
    return m_pBuffer != nullptr;
}

bool CPixMemFile::Eof()
{
    return !m_pBuffer || m_Position >= m_Size;
}

long CPixMemFile::Error()
{
    if (!m_pBuffer)
        return -1;
    return m_Position > m_Size ? 1 : 0;
}

bool CPixMemFile::PutC(unsigned char c)
{
    if (!m_pBuffer)
        return false;
    if (m_Position >= m_Edge && !Alloc((unsigned long)m_Position + 1))
        return false;
    m_pBuffer[m_Position++] = c;
    if (m_Position > m_Size)
        m_Size = m_Position;
    return true;
}

long CPixMemFile::GetC()
{
    if (Eof())
        return -1;
    return m_pBuffer[m_Position++];
}

char* CPixMemFile::GetS(char* buffer, int n)
{
    if (!buffer || n <= 0)
        return nullptr;
    int i = 0;
    while (i < n - 1)
    {
        long c = GetC();
        if (c == -1)
            return nullptr;
        buffer[i++] = (char)c;
        if (c == 10)
            break;
    }
    buffer[i] = 0;
    return buffer;
}

long CPixMemFile::Scanf(const char*, void*)
{
    return 0;
}
