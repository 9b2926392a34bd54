// CArchive: binary serialisation over a CFile in the framework's archive
// format (little-endian numbers; counts, strings, class and object tags as
// described at each member), buffered in blocks.
//
// Errors throw CArchiveException: writing to a loading archive (readOnly),
// reading from a storing one (writeOnly), reading past the end (endOfFile),
// an unknown or unexpected class (badClass), a class stored with another
// schema (badSchema), a corrupt object reference (badIndex).
#pragma once
#include "FwFile.h"
#include <map>
#include <vector>

class CArchive
{
  public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    // A storing archive flushes what it holds unless bNoFlushOnDelete was
    // given (or Close/Abort ran); errors at that point are swallowed.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns the number read (fewer at the end of the file).
    UINT Read(void* lpBuf, UINT nMax);
    // The bytes Read would return next (fewer at the end of the file),
    // left unread, for formats that look ahead at an optional marker.
    UINT Peek(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    // Flushes (when storing) and detaches from the file.
    void Close();
    // Detaches from the file without writing what is buffered.
    void Abort();

    // Counts: a WORD below 0xFFFF, else 0xFFFF then a DWORD.
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    // Class tags: a new class is 0xFFFF, its schema WORD, its name length WORD
    // and the name (8-bit); a class seen before is 0x8000 | its index.
    void WriteClass(const CRuntimeClass* pClassRef);
    // The class stored next; with pClassRefRequested it must derive from it.
    // pSchema receives the stored schema (else a mismatch is badSchema).
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);

    // Objects: NULL is the tag 0, an object stored before is its index, a
    // new one is its class followed by its Serialize output.
    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClass);
    // Enters an object into the table without storing it (both directions
    // must map the same objects in the same order).
    void MapObject(const CObject* pOb);
    // Schema of the class of the object being loaded (-1 outside ReadObject).
    UINT GetObjectSchema() const { return m_nObjectSchema; }

    // Text lines stored as UTF-16 code units; ReadString drops the CR LF.
    void WriteString(LPCWSTR lpsz);
    BOOL ReadString(CString& rString);

    CArchive& operator<<(BYTE by) { return Put(by); }
    CArchive& operator<<(WORD w) { return Put(w); }
    CArchive& operator<<(LONG l) { return Put(l); }
    CArchive& operator<<(DWORD dw) { return Put(dw); }
    CArchive& operator<<(float f) { return Put(f); }
    CArchive& operator<<(double d) { return Put(d); }
    CArchive& operator<<(LONGLONG dwdw) { return Put(dwdw); }
    CArchive& operator<<(ULONGLONG dwdw) { return Put(dwdw); }
    CArchive& operator<<(int i) { return Put((LONG)i); }
    CArchive& operator<<(short w) { return Put((WORD)w); }
    CArchive& operator<<(char ch) { return Put((BYTE)ch); }
    CArchive& operator<<(wchar_t ch) { return Put((WORD)ch); }
    CArchive& operator<<(unsigned u) { return Put((DWORD)u); }
    CArchive& operator<<(bool b) { return Put((LONG)(b ? 1 : 0)); }
    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }

    CArchive& operator>>(BYTE& by) { return Get(by); }
    CArchive& operator>>(WORD& w) { return Get(w); }
    CArchive& operator>>(LONG& l) { return Get(l); }
    CArchive& operator>>(DWORD& dw) { return Get(dw); }
    CArchive& operator>>(float& f) { return Get(f); }
    CArchive& operator>>(double& d) { return Get(d); }
    CArchive& operator>>(LONGLONG& dwdw) { return Get(dwdw); }
    CArchive& operator>>(ULONGLONG& dwdw) { return Get(dwdw); }
    CArchive& operator>>(int& i) { return Get(i); }
    CArchive& operator>>(short& w) { return Get(w); }
    CArchive& operator>>(char& ch) { return Get(ch); }
    CArchive& operator>>(wchar_t& ch) { return Get(ch); }
    CArchive& operator>>(unsigned& u) { return Get(u); }
    CArchive& operator>>(bool& b)
    {
        LONG l = 0;
        Get(l);
        b = l != 0;
        return *this;
    }
    CArchive& operator>>(CObject*& pOb)
    {
        pOb = ReadObject(NULL);
        return *this;
    }

  private:
    template <typename T> CArchive& Put(const T& v)
    {
        Write(&v, sizeof(v));
        return *this;
    }
    template <typename T> CArchive& Get(T& v)
    {
        if (Read(&v, sizeof(v)) != sizeof(v))
            Throw(CArchiveException::endOfFile);
        return *this;
    }
    [[noreturn]] void Throw(int cause) const;
    void CheckOpen() const;
    // FALSE for nothing to read; throws for a storing archive or no buffer.
    bool CheckRead(const void* lpBuf, UINT nMax) const;
    void WriteTag(DWORD index, WORD flag);

  public:
    // Bytes left to read (to refuse lengths a corrupt archive claims).
    ULONGLONG GetRemaining() const;

  private:
    CFile* m_pFile;
    UINT m_nMode;
    size_t m_nBufSize;
    std::vector<BYTE> m_buf; // storing: bytes not yet written; loading: bytes read ahead
    size_t m_bufPos;         // loading: next byte of m_buf
    bool m_bEof;

    // Storing: object or class -> index. Loading: index -> object or class.
    std::map<const void*, DWORD> m_storeMap;
    DWORD m_nStoreCount;
    struct LoadEntry
    {
        const void* p;
        bool isClass;
        UINT schema;
    };
    std::vector<LoadEntry> m_loadArray;
    UINT m_nObjectSchema;
};

// CString in the archive: its length (a BYTE below 0xFF; else 0xFF and a
// WORD below 0xFFFE; else 0xFF, 0xFFFF and a DWORD), UTF-16 text marked by
// the prefix 0xFF 0xFFFE, 8-bit text without it. Loading accepts both and
// converts 8-bit text through CP_ACP.
CArchive& AFXAPI operator<<(CArchive& ar, const CString& s);
CArchive& AFXAPI operator>>(CArchive& ar, CString& s);
CArchive& AFXAPI operator<<(CArchive& ar, const CStringA& s);
CArchive& AFXAPI operator>>(CArchive& ar, CStringA& s);
