#include "PixIOFile.h"

CPixIOFile::CPixIOFile(FILE* stream) : m_fp(stream), m_bCloseFile(stream == nullptr) {}

CPixIOFile::CPixIOFile(const CPixIOFile& other) : CPixFile(other), m_fp(other.m_fp), m_bCloseFile(false) {}

CPixIOFile::~CPixIOFile()
{
    Close();
}

CPixIOFile& CPixIOFile::operator=(const CPixIOFile& other)
{
    if (this != &other)
    {
        Close();
        m_fp = other.m_fp;
        m_bCloseFile = false;
    }
    return *this;
}

bool CPixIOFile::Open(const wchar_t* fileName, const wchar_t* mode)
{
    if (m_fp)
        return false;
    m_fp = _wfopen(fileName, mode);
    if (!m_fp)
        return false;
    m_bCloseFile = true;
    return true;
}

bool CPixIOFile::Close()
{
    if (m_fp && m_bCloseFile)
    {
        int rc = fclose(m_fp);
        m_fp = nullptr;
        return rc == 0;
    }
    return true;
}

namespace
{
// Reads above this size are first compared with what is left of the file.
const size_t kLargeRead = 1 << 20;
} // namespace

// A request for more than the file holds asks the system only for what is
// left and one byte more (which meets the end of the file as the whole
// request would): a file of a few bytes may claim hundreds of megabytes, and
// the system may touch every page of the buffer it is handed.
size_t CPixIOFile::Read(void* buffer, size_t size, size_t count)
{
    if (!m_fp)
        return 0;
    if (size != 0 && count > kLargeRead / size)
    {
        long here = ftell(m_fp);
        long end = here >= 0 ? Size() : -1;
        if (end >= here && (size_t)(end - here) / size < count)
            return fread(buffer, 1, (size_t)(end - here) + 1, m_fp) / size;
    }
    return fread(buffer, size, count, m_fp);
}

size_t CPixIOFile::Write(const void* buffer, size_t size, size_t count)
{
    return m_fp ? fwrite(buffer, size, count, m_fp) : 0;
}

bool CPixIOFile::Seek(long offset, int origin)
{
    return m_fp ? fseek(m_fp, offset, origin) == 0 : false;
}

long CPixIOFile::Tell()
{
    return m_fp ? ftell(m_fp) : 0;
}

long CPixIOFile::Size()
{
    if (!m_fp)
        return -1;
    long pos = ftell(m_fp);
    fseek(m_fp, 0, SEEK_END);
    long size = ftell(m_fp);
    fseek(m_fp, pos, SEEK_SET);
    return size;
}

bool CPixIOFile::Flush()
{
    return m_fp ? fflush(m_fp) == 0 : false;
}

bool CPixIOFile::Eof()
{
    return m_fp ? feof(m_fp) != 0 : true;
}

long CPixIOFile::Error()
{
    return m_fp ? (ferror(m_fp) ? 1 : 0) : -1;
}

bool CPixIOFile::PutC(unsigned char c)
{
    return m_fp ? fputc(c, m_fp) == c : false;
}

long CPixIOFile::GetC()
{
    return m_fp ? getc(m_fp) : -1;
}

char* CPixIOFile::GetS(char* buffer, int n)
{
    return m_fp ? fgets(buffer, n, m_fp) : nullptr;
}

long CPixIOFile::Scanf(const char* format, void* output)
{
    return m_fp ? fscanf(m_fp, format, output) : -1;
}
