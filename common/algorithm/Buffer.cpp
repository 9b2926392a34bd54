#include "Buffer.h"
#include <climits>
#include <cstdlib>
#include <cstring>

Buffer::Buffer(long growStep)
    : m_growStep(growStep > 0 ? growStep : 1), m_position(0), m_capacity(0), m_size(0), m_data(NULL),
      m_ownsData(TRUE)
{
}

Buffer::~Buffer()
{
    Clear();
}

void* Buffer::Allocate(size_t bytes)
{
    return std::malloc(bytes);
}

void* Buffer::Reallocate(void* data, size_t bytes)
{
    return std::realloc(data, bytes);
}

void Buffer::Copy(void* target, const void* source, size_t bytes)
{
    std::memmove(target, source, bytes);
}

void Buffer::Free(void* data)
{
    std::free(data);
}

BOOL Buffer::Grow(long n)
{
    if (n <= m_capacity)
        return TRUE;
    long long wanted = ((long long)n + m_growStep - 1) / m_growStep * m_growStep;
    if (wanted > LONG_MAX)
        return FALSE;
    void* data = m_data ? Reallocate(m_data, (size_t)wanted) : Allocate((size_t)wanted);
    if (!data)
        return FALSE;
    m_data = (BYTE*)data;
    m_capacity = (long)wanted;
    return TRUE;
}

long Buffer::GetPosition() const
{
    return m_position;
}

long Buffer::GetRemaining() const
{
    return m_size > m_position ? m_size - m_position : 0;
}

long Buffer::GetSize()
{
    long position = m_position;
    long size = Seek(0, 2);
    Seek(position, 0);
    return size;
}

long Buffer::Seek(long offset, int origin)
{
    switch (origin)
    {
    case 0: m_position = offset; break;
    case 1: m_position += offset; break;
    case 2: m_position = m_size + offset; break;
    default: return -1;
    }
    return m_position;
}

BOOL Buffer::SetLength(long n)
{
    if (n < 0 || !Grow(n))
        return FALSE;
    m_size = n;
    if (m_position > n)
        m_position = n;
    return TRUE;
}

long Buffer::Read(void* target, long n)
{
    // A position before the start (a seek far back) reads nothing, like one
    // beyond the size.
    if (n <= 0 || m_position < 0 || m_position >= m_size)
        return 0;
    long count = n < m_size - m_position ? n : m_size - m_position;
    Copy(target, m_data + m_position, (size_t)count);
    m_position += count;
    return count;
}

long Buffer::Write(const void* source, long n)
{
    if (n <= 0 || m_position < 0 || (long long)m_position + n > LONG_MAX || !Grow(m_position + n))
        return 0;
    Copy(m_data + m_position, source, (size_t)n);
    m_position += n;
    if (m_position > m_size)
        m_size = m_position;
    return n;
}

void Buffer::Close()
{
    Clear();
}

void Buffer::Rewind()
{
    Seek(0, 0);
}

void Buffer::Clear()
{
    if (m_data && m_ownsData)
        Free(m_data);
    m_data = NULL;
    m_position = m_capacity = m_size = 0;
}

long Buffer::DirectAccess(int mode, long n, BYTE** begin, BYTE** end)
{
    switch (mode)
    {
    case 3:
        return 1;
    case 2:
        // Bytes written in place are committed only as far as the capacity goes.
        if (n > 0 && m_position >= 0)
        {
            m_position = n < m_capacity - m_position ? m_position + n : m_capacity;
            if (m_position > m_size)
                m_size = m_position;
        }
        return 0;
    case 1:
    {
        if (n < 0 || m_position < 0 || !Grow(m_position + n))
            return 0;
        long stop = m_position + n < m_capacity ? m_position + n : m_capacity;
        if (begin)
            *begin = m_data + m_position;
        if (end)
            *end = m_data + stop;
        return stop - m_position;
    }
    case 0:
    {
        if (m_position < 0 || m_position >= m_size)
            return 0;
        long stop = (n == -1 || n > m_size - m_position) ? m_size : m_position + (n < 0 ? 0 : n);
        if (begin)
            *begin = m_data + m_position;
        if (end)
            *end = m_data + stop;
        long length = stop - m_position;
        m_position = stop;
        return length;
    }
    default:
        return 0;
    }
}

CString Buffer::ToWideString(long maxBytes, UINT codePage)
{
    // Only the bytes from the position to the size are there to be read.
    long available = GetRemaining();
    long count = maxBytes < available ? maxBytes : available;
    if (count <= 0 || m_position < 0)
        return CString();
    int length = MultiByteToWideChar(codePage, 0, (LPCSTR)(m_data + m_position), (int)count, NULL, 0);
    CString text;
    if (length > 0)
    {
        wchar_t* out = text.GetBuffer(length);
        MultiByteToWideChar(codePage, 0, (LPCSTR)(m_data + m_position), (int)count, out, length);
        text.ReleaseBuffer(length);
    }
    return text;
}
