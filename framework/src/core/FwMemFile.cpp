// CMemFile: a file in a block of memory.
#include "FwFile.h"
#include <algorithm>
#include <utility>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : CMemFile(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    FreeOwned();
}

void CMemFile::FreeOwned()
{
    if (m_bAutoDelete)
        free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    FreeOwned();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

void CMemFile::GrowTo(size_t nNewSize)
{
    if (nNewSize <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException(); // fixed-size block
    size_t step = m_nGrowBytes;
    size_t size = m_nBufferSize;
    while (size < nNewSize)
    {
        if (size > (size_t)-1 - step)
            AfxThrowMemoryException();
        size += step;
    }
    BYTE* p;
    if (m_bAutoDelete)
        p = (BYTE*)realloc(m_lpBuffer, size);
    else
    {
        // The caller's block stays untouched; from here on the file owns a copy.
        p = (BYTE*)malloc(size);
        if (p && m_nFileSize)
            memcpy(p, m_lpBuffer, m_nFileSize);
    }
    if (!p)
        AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = size;
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    ENSURE_ARG(lpBuf != NULL);
    size_t n = std::min<size_t>(nCount, m_nFileSize - m_nPosition);
    memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return (UINT)n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ENSURE_ARG(lpBuf != NULL);
    if (m_nPosition > (size_t)-1 - nCount)
        AfxThrowMemoryException();
    size_t end = m_nPosition + nCount;
    GrowTo(end);
    if (m_nPosition > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize); // the gap after a seek past the end
    memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = end;
    if (end > m_nFileSize)
        m_nFileSize = end;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = nFrom == begin ? 0 : nFrom == current ? (LONGLONG)m_nPosition : (LONGLONG)m_nFileSize;
    ENSURE_ARG(nFrom <= end);
    LONGLONG pos = base + lOff;
    if (pos < 0 || (ULONGLONG)pos > (size_t)-1)
        AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    m_nPosition = (size_t)pos;
    return (ULONGLONG)pos;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > (size_t)-1)
        AfxThrowMemoryException();
    size_t n = (size_t)dwNewLen;
    GrowTo(n);
    if (n > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, n - m_nFileSize);
    m_nFileSize = n;
    if (m_nPosition > n)
        m_nPosition = n;
}

void CMemFile::Close()
{
    FreeOwned();
}
