// CStdioFile: lines of text over a CFile, with a read-ahead buffer.
#include "FwFile.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace
{
const size_t kReadAhead = 4096;
const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";
} // namespace

CStdioFile::CStdioFile() : m_bText(TRUE), m_encoding(encodingAnsi), m_bEncodingKnown(false), m_readPos(0) {}

CStdioFile::CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile() {}

BOOL CStdioFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    DropReadBuffer();
    m_bText = (nOpenFlags & typeBinary) == 0;
    m_encoding = encodingAnsi;
    m_bEncodingKnown = false;
    return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

void CStdioFile::SetTextEncoding(TextEncoding encoding, BOOL bWriteMark)
{
    m_encoding = encoding;
    m_bEncodingKnown = true;
    if (bWriteMark && GetPosition() == 0)
    {
        if (encoding == encodingUtf8)
            CFile::Write(kUtf8Mark, 3);
        else if (encoding == encodingUtf16)
            CFile::Write(kUtf16Mark, 2);
    }
}

void CStdioFile::DropReadBuffer()
{
    m_readBuf.clear();
    m_readPos = 0;
}

bool CStdioFile::FillBuffer()
{
    if (m_readPos < m_readBuf.size())
        return true;
    m_readBuf.resize(kReadAhead);
    UINT n = CFile::Read(&m_readBuf[0], (UINT)kReadAhead);
    m_readBuf.resize(n);
    m_readPos = 0;
    return n > 0;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    UINT done = 0;
    BYTE* out = static_cast<BYTE*>(lpBuf);
    if (m_readPos < m_readBuf.size() && nCount)
    {
        done = (UINT)std::min<size_t>(nCount, m_readBuf.size() - m_readPos);
        memcpy(out, m_readBuf.data() + m_readPos, done);
        m_readPos += done;
    }
    if (done < nCount)
        done += CFile::Read(out + done, nCount - done);
    return done;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_readPos < m_readBuf.size())
        CFile::Seek(-(LONGLONG)(m_readBuf.size() - m_readPos), current); // write where the caller is
    DropReadBuffer();
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom == current)
        lOff -= (LONGLONG)(m_readBuf.size() - m_readPos);
    DropReadBuffer();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readBuf.size() - m_readPos);
}

void CStdioFile::Close()
{
    DropReadBuffer();
    CFile::Close();
}

void CStdioFile::Abort()
{
    DropReadBuffer();
    CFile::Abort();
}

void CStdioFile::DetectEncoding()
{
    if (m_bEncodingKnown)
        return;
    m_bEncodingKnown = true;
    if (!m_bText)
        return;
    // The mark at the start of the file decides, wherever the caller is now
    // (a file opened for appending keeps the encoding it already has).
    ULONGLONG pos = GetPosition();
    char mark[3] = {};
    UINT n = 0;
    try
    {
        Seek(0, begin);
        n = Read(mark, 3);
    }
    catch (CException* e)
    {
        e->Delete(); // not readable (write-only): no mark to see
        n = 0;
    }
    ULONGLONG skip = 0;
    if (n >= 3 && memcmp(mark, kUtf8Mark, 3) == 0)
    {
        m_encoding = encodingUtf8;
        skip = 3;
    }
    else if (n >= 2 && memcmp(mark, kUtf16Mark, 2) == 0)
    {
        m_encoding = encodingUtf16;
        skip = 2;
    }
    Seek((LONGLONG)(pos == 0 ? skip : pos), begin);
}

bool CStdioFile::ReadLineBytes(std::string& bytes)
{
    // UTF-16 (and binary mode, which holds UTF-16 code units) ends lines on
    // the code unit 0x000A; 8-bit text on the byte 0x0A.
    const bool wide = !m_bText || m_encoding == encodingUtf16;
    bytes.clear();
    while (FillBuffer())
    {
        if (!wide)
        {
            size_t nl = m_readBuf.find('\n', m_readPos);
            size_t end = nl == std::string::npos ? m_readBuf.size() : nl + 1;
            bytes.append(m_readBuf, m_readPos, end - m_readPos);
            m_readPos = end;
            if (nl != std::string::npos)
                return true;
        }
        else
        {
            while (m_readPos < m_readBuf.size())
            {
                bytes += m_readBuf[m_readPos++];
                if ((bytes.size() & 1) == 0 && bytes[bytes.size() - 2] == '\n' && bytes.back() == 0)
                    return true;
            }
        }
    }
    return !bytes.empty();
}

CString CStdioFile::DecodeLine(const std::string& bytes) const
{
    if (!m_bText || m_encoding == encodingUtf16)
        return CString((const wchar_t*)bytes.data(), (int)(bytes.size() / 2));
    return CString(
        FwMultiByteToWide(bytes.data(), (int)bytes.size(), m_encoding == encodingUtf8 ? CP_UTF8 : CP_ACP));
}

BOOL CStdioFile::ReadString(CString& rString)
{
    DetectEncoding();
    std::string bytes;
    if (!ReadLineBytes(bytes))
    {
        rString.Empty();
        return FALSE;
    }
    rString = DecodeLine(bytes);
    int n = rString.GetLength();
    if (n && rString[n - 1] == L'\n')
        --n;
    if (m_bText && n && rString[n - 1] == L'\r')
        --n;
    rString.Delete(n, rString.GetLength() - n);
    return TRUE;
}

LPWSTR CStdioFile::ReadString(LPWSTR lpsz, UINT nMax)
{
    ENSURE_ARG(lpsz != NULL && nMax > 0);
    CString line;
    if (!ReadString(line))
        return NULL;
    line += L'\n';
    if ((UINT)line.GetLength() > nMax - 1)
        line = line.Left((int)nMax - 1); // the rest of the line is dropped
    wmemcpy(lpsz, line.GetString(), line.GetLength() + 1);
    return lpsz;
}

void CStdioFile::WriteString(LPCWSTR lpsz)
{
    ENSURE_ARG(lpsz != NULL);
    if (!m_bText)
    {
        Write(lpsz, (UINT)(wcslen(lpsz) * sizeof(wchar_t)));
        return;
    }
    DetectEncoding();
    CString text(lpsz);
    text.Replace(L"\r\n", L"\n");
    text.Replace(L"\n", L"\r\n");
    if (m_encoding == encodingUtf16)
        Write(text.GetString(), (UINT)(text.GetLength() * sizeof(wchar_t)));
    else
    {
        std::string bytes =
            FwWideToMultiByte(text, text.GetLength(), m_encoding == encodingUtf8 ? CP_UTF8 : CP_ACP);
        Write(bytes.data(), (UINT)bytes.size());
    }
}
