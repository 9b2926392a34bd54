// CArchive: buffered binary serialisation with class and object tables.
#include "FwArchive.h"
#include <algorithm>
#include <cstring>

namespace
{
// Tags of the object and class table.
const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassTag = 0x80000000;
const DWORD kMaxMapCount = 0x3FFFFFFE;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* /*lpBuf*/)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize > 0 ? (size_t)nBufSize : 4096), m_bufPos(0),
      m_bEof(false), m_nStoreCount(1), m_nObjectSchema((UINT)-1)
{
    ENSURE_ARG(pFile != NULL);
    m_loadArray.push_back(LoadEntry{NULL, false, 0}); // index 0 stands for NULL
}

CArchive::~CArchive()
{
    if (m_pFile && IsStoring() && !(m_nMode & bNoFlushOnDelete))
    {
        try
        {
            Flush();
        }
        catch (CException* e)
        {
            e->Delete();
        }
    }
}

void CArchive::Throw(int cause) const
{
    CString name = m_pFile ? m_pFile->GetFilePath() : CString();
    AfxThrowArchiveException(cause, name);
}

void CArchive::CheckOpen() const
{
    if (!m_pFile)
        Throw(CArchiveException::genericException);
}

bool CArchive::CheckRead(const void* lpBuf, UINT nMax) const
{
    CheckOpen();
    if (IsStoring())
        Throw(CArchiveException::writeOnly);
    if (nMax == 0)
        return false;
    ENSURE_ARG(lpBuf != NULL);
    return true;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (!CheckRead(lpBuf, nMax))
        return 0;
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax)
    {
        if (m_bufPos < m_buf.size())
        {
            size_t n = std::min<size_t>(nMax - done, m_buf.size() - m_bufPos);
            memcpy(out + done, m_buf.data() + m_bufPos, n);
            m_bufPos += n;
            done += (UINT)n;
            continue;
        }
        if (m_bEof)
            break;
        if (nMax - done >= m_nBufSize)
        {
            UINT n = m_pFile->Read(out + done, nMax - done);
            done += n;
            if (n == 0)
                m_bEof = true;
            continue;
        }
        m_buf.resize(m_nBufSize);
        UINT n = m_pFile->Read(m_buf.data(), (UINT)m_nBufSize);
        m_buf.resize(n);
        m_bufPos = 0;
        if (n == 0)
            m_bEof = true;
    }
    return done;
}

UINT CArchive::Peek(void* lpBuf, UINT nMax)
{
    if (!CheckRead(lpBuf, nMax))
        return 0;
    // Keeps the unread bytes and tops the buffer up until nMax are there.
    m_buf.erase(m_buf.begin(), m_buf.begin() + m_bufPos);
    m_bufPos = 0;
    while (m_buf.size() < nMax && !m_bEof)
    {
        size_t have = m_buf.size();
        size_t want = std::max<size_t>(m_nBufSize, nMax - have);
        m_buf.resize(have + want);
        UINT n = m_pFile->Read(m_buf.data() + have, (UINT)want);
        m_buf.resize(have + n);
        if (n == 0)
            m_bEof = true;
    }
    UINT n = (UINT)std::min<size_t>(nMax, m_buf.size());
    memcpy(lpBuf, m_buf.data(), n);
    return n;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckOpen();
    if (IsLoading())
        Throw(CArchiveException::readOnly);
    if (nMax == 0)
        return;
    ENSURE_ARG(lpBuf != NULL);
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    m_buf.insert(m_buf.end(), p, p + nMax);
    if (m_buf.size() >= m_nBufSize)
        Flush();
}

void CArchive::Flush()
{
    CheckOpen();
    if (IsStoring())
    {
        if (!m_buf.empty())
        {
            std::vector<BYTE> pending;
            pending.swap(m_buf);
            m_pFile->Write(pending.data(), (UINT)pending.size());
        }
        m_pFile->Flush();
    }
    else
    {
        // Give back what was read ahead so the file is where the caller is.
        if (m_bufPos < m_buf.size())
            m_pFile->Seek(-(LONGLONG)(m_buf.size() - m_bufPos), CFile::current);
        m_buf.clear();
        m_bufPos = 0;
        m_bEof = false;
    }
}

void CArchive::Close()
{
    if (m_pFile)
        Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_buf.clear();
    m_bufPos = 0;
    m_pFile = NULL;
}

ULONGLONG CArchive::GetRemaining() const
{
    CheckOpen();
    ULONGLONG length = m_pFile->GetLength(), pos = m_pFile->GetPosition();
    return (length > pos ? length - pos : 0) + (m_buf.size() - m_bufPos);
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
        *this << (WORD)dwCount;
    else
        *this << (WORD)0xFFFF << (DWORD)dwCount;
}

DWORD_PTR CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::WriteTag(DWORD index, WORD flag)
{
    if (index < kBigObjectTag)
        *this << (WORD)(flag | index);
    else
        *this << kBigObjectTag << (DWORD)((flag ? kBigClassTag : 0) | index);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    ENSURE_ARG(pClassRef != NULL);
    if (IsLoading())
        Throw(CArchiveException::readOnly);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end())
    {
        WriteTag(it->second, kClassTag);
        return;
    }
    if (m_nStoreCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex);
    WORD nameLen = (WORD)strlen(pClassRef->m_lpszClassName);
    *this << kNewClassTag << (WORD)pClassRef->m_wSchema << nameLen;
    Write(pClassRef->m_lpszClassName, nameLen);
    m_storeMap[pClassRef] = m_nStoreCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    if (IsStoring())
        Throw(CArchiveException::writeOnly);
    WORD tag;
    *this >> tag;
    CRuntimeClass* pClass = NULL;
    UINT schema = 0;
    if (tag == kNewClassTag)
    {
        WORD wSchema, nameLen;
        *this >> wSchema >> nameLen;
        if (nameLen >= 64)
            Throw(CArchiveException::badClass);
        char name[64];
        if (Read(name, nameLen) != nameLen)
            Throw(CArchiveException::endOfFile);
        name[nameLen] = 0;
        pClass = CRuntimeClass::FromName(name);
        if (!pClass)
            Throw(CArchiveException::badClass);
        schema = wSchema;
        if ((pClass->m_wSchema & ~VERSIONABLE_SCHEMA) != schema && !(pClass->m_wSchema & VERSIONABLE_SCHEMA))
            Throw(CArchiveException::badSchema);
        if (m_loadArray.size() >= kMaxMapCount)
            Throw(CArchiveException::badIndex);
        m_loadArray.push_back(LoadEntry{pClass, true, schema});
    }
    else
    {
        DWORD obTag;
        if (tag == kBigObjectTag)
            *this >> obTag;
        else
            obTag = ((DWORD)(tag & kClassTag) << 16) | (tag & ~kClassTag);
        if (!(obTag & kBigClassTag))
        {
            // An object reference, which only ReadObject expects.
            if (!pObTag)
                Throw(CArchiveException::badIndex);
            *pObTag = obTag;
            return NULL;
        }
        DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass)
            Throw(CArchiveException::badIndex);
        pClass = (CRuntimeClass*)m_loadArray[index].p;
        schema = m_loadArray[index].schema;
    }
    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested))
        Throw(CArchiveException::badClass);
    if (pSchema)
        *pSchema = schema;
    if (pObTag)
        *pObTag = 0;
    return pClass;
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring())
    {
        if (pOb && m_storeMap.find(pOb) == m_storeMap.end())
            m_storeMap[pOb] = m_nStoreCount++;
    }
    else
        m_loadArray.push_back(LoadEntry{pOb, false, 0});
}

void CArchive::WriteObject(const CObject* pOb)
{
    if (IsLoading())
        Throw(CArchiveException::readOnly);
    if (!pOb)
    {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end())
    {
        WriteTag(it->second, 0);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_nStoreCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex);
    m_storeMap[pOb] = m_nStoreCount++; // before Serialize, so that the object may refer to itself
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClass)
{
    UINT schema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClass, &schema, &obTag);
    if (!pClassRef)
    {
        if (obTag == 0)
            return NULL;
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].isClass)
            Throw(CArchiveException::badIndex);
        CObject* pOb = (CObject*)m_loadArray[obTag].p;
        if (pClass && pOb && !pOb->IsKindOf(pClass))
            Throw(CArchiveException::badClass);
        return pOb;
    }
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb)
        AfxThrowMemoryException();
    m_loadArray.push_back(LoadEntry{pOb, false, 0});
    UINT saved = m_nObjectSchema;
    m_nObjectSchema = schema;
    try
    {
        pOb->Serialize(*this);
    }
    catch (...)
    {
        m_nObjectSchema = saved;
        m_loadArray.back().p = NULL;
        delete pOb;
        throw;
    }
    m_nObjectSchema = saved;
    return pOb;
}

void CArchive::WriteString(LPCWSTR lpsz)
{
    ENSURE_ARG(lpsz != NULL);
    Write(lpsz, (UINT)(wcslen(lpsz) * sizeof(wchar_t)));
}

BOOL CArchive::ReadString(CString& rString)
{
    rString.Empty();
    wchar_t ch;
    bool any = false;
    while (Read(&ch, sizeof(ch)) == sizeof(ch))
    {
        any = true;
        if (ch == L'\n')
            break;
        rString += ch;
    }
    if (!rString.IsEmpty() && rString[rString.GetLength() - 1] == L'\r')
        rString.Delete(rString.GetLength() - 1);
    return any;
}

namespace
{
void WriteStringLength(CArchive& ar, size_t length, bool wide)
{
    if (wide)
        ar << (BYTE)0xFF << (WORD)0xFFFE;
    if (length < 0xFF)
        ar << (BYTE)length;
    else if (length < 0xFFFE)
        ar << (BYTE)0xFF << (WORD)length;
    else
        ar << (BYTE)0xFF << (WORD)0xFFFF << (DWORD)length;
}

size_t ReadStringLength(CArchive& ar, bool& wide)
{
    wide = false;
    for (int marker = 0; marker < 2; ++marker)
    {
        BYTE b;
        ar >> b;
        if (b < 0xFF)
            return b;
        WORD w;
        ar >> w;
        if (w == 0xFFFE)
        {
            wide = true; // UTF-16 text follows; the length comes next
            continue;
        }
        if (w < 0xFFFF)
            return w;
        DWORD dw;
        ar >> dw;
        if (dw == 0xFFFFFFFF)
            AfxThrowArchiveException(CArchiveException::badIndex); // lengths beyond 32 bits are not used
        return dw;
    }
    AfxThrowArchiveException(CArchiveException::genericException);
}

// Reads a string body of length characters, refusing a length the archive
// cannot hold before any memory is set aside for it.
template <typename S> S ReadBody(CArchive& ar, size_t length)
{
    const size_t charSize = sizeof(typename S::XCHAR);
    S text;
    if (length == 0)
        return text;
    if ((ULONGLONG)length * charSize > ar.GetRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (ar.Read(text.GetBufferSetLength((int)length), (UINT)(length * charSize)) != length * charSize)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    return text;
}
} // namespace

CArchive& AFXAPI operator<<(CArchive& ar, const CString& s)
{
    WriteStringLength(ar, (size_t)s.GetLength(), true);
    ar.Write(s.GetString(), (UINT)(s.GetLength() * sizeof(wchar_t)));
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CStringA& s)
{
    WriteStringLength(ar, (size_t)s.GetLength(), false);
    ar.Write(s.GetString(), (UINT)s.GetLength());
    return ar;
}

namespace
{
// Either string type takes either stored form, converting through CP_ACP.
template <typename S> CArchive& ReadAnyString(CArchive& ar, S& s)
{
    bool wide;
    size_t length = ReadStringLength(ar, wide);
    if (wide)
        s = ReadBody<CString>(ar, length);
    else
        s = ReadBody<CStringA>(ar, length);
    return ar;
}
} // namespace

CArchive& AFXAPI operator>>(CArchive& ar, CString& s)
{
    return ReadAnyString(ar, s);
}

CArchive& AFXAPI operator>>(CArchive& ar, CStringA& s)
{
    return ReadAnyString(ar, s);
}
