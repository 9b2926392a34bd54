// Files: CFile (a Win32 file handle), CStdioFile (CFile with line-oriented
// text reading and writing), CMemFile (a growable file in memory) and
// CFileFind (a directory search).
//
// Errors throw CFileException, except Open with a CFileException* argument,
// which fills it and returns FALSE instead.
#pragma once
#include "FwException.h"
#include "FwString.h"

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
  public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000, // treated as shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000, // with modeCreate: open an existing file without emptying it
        typeText = 0x4000,       // CStdioFile only
        typeBinary = 0x8000,     // CStdioFile only
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };
    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);                 // borrowed: not closed on delete
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags); // throws CFileException
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens a file; on failure fills *pError (when given) and returns FALSE.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Number of bytes read (0 at the end of the file).
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG GetPosition() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    // Close throws when the system reports an error; Abort never throws.
    virtual void Close();
    virtual void Abort();

    static void __stdcall Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
    static void __stdcall Remove(LPCWSTR lpszFileName);

    virtual CString GetFileName() const;  // name with extension, without folder
    virtual CString GetFileTitle() const; // name without extension
    virtual CString GetFilePath() const { return m_strFileName; }
    virtual void SetFilePath(LPCWSTR lpszNewName) { m_strFileName = lpszNewName; }

    operator HANDLE() const { return m_hFile; }

    HANDLE m_hFile;
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

  protected:
    [[noreturn]] void ThrowLastError() const;
};

// Text lines over a file. In text mode lines end in CR LF on disk and "\n"
// in memory, and the file's text encoding is taken from its byte-order mark
// (UTF-16LE or UTF-8); a file without one holds ANSI code-page text, which is
// also what text mode writes to a new file unless SetTextEncoding says
// otherwise. In binary mode lines are UTF-16 code units ending in L'\n'.
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
  public:
    enum TextEncoding
    {
        encodingAnsi = 0,
        encodingUtf8 = 1,
        encodingUtf16 = 2
    };

    CStdioFile();
    CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags); // throws CFileException
    ~CStdioFile() override;

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;
    // Next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    // Next line with its "\n" (at most nMax - 1 characters); NULL at the end.
    virtual LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
    // Writes the text; in text mode "\n" becomes CR LF.
    virtual void WriteString(LPCWSTR lpsz);
    // Encoding used for text-mode reads and writes from here on. Writing a
    // mark (at position 0 only) makes the file self-describing.
    void SetTextEncoding(TextEncoding encoding, BOOL bWriteMark = FALSE);
    TextEncoding GetTextEncoding() const { return m_encoding; }

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void Close() override;
    void Abort() override;

  protected:
    bool FillBuffer();
    void DropReadBuffer();
    // Reads raw bytes up to and including the line end; false at the end.
    bool ReadLineBytes(std::string& bytes);
    CString DecodeLine(const std::string& bytes) const;
    void DetectEncoding();

    BOOL m_bText;
    TextEncoding m_encoding;
    bool m_bEncodingKnown;
    std::string m_readBuf; // bytes read ahead of the caller
    size_t m_readPos;
};

// A file in memory. With a grow step the file grows as it is written (in
// steps of that many bytes); a block attached with grow step 0 is a file
// of fixed size. A block handed in by the caller is never reallocated or
// freed: growing copies it into a block the file owns. Detach hands the
// current block to the caller (to be freed with free() when the file
// allocated it).
class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
  public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // Uses lpBuffer as the file: with nGrowBytes 0 its nBufferSize bytes are
    // the content, otherwise the file starts empty over it.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override { return m_nFileSize; }
    ULONGLONG GetPosition() const override { return m_nPosition; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }
    // The file's bytes (valid until the next write or close).
    const BYTE* GetData() const { return m_lpBuffer; }

  protected:
    void GrowTo(size_t nNewSize);
    void FreeOwned();

    UINT m_nGrowBytes;
    size_t m_nPosition;
    size_t m_nBufferSize;
    size_t m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete; // the block is ours (allocated with malloc)
};

// Directory search:
//   CFileFind finder;
//   for (BOOL more = finder.FindFile(L"C:\\dir\\*.mp3"); more;) {
//       more = finder.FindNextFile();  // FALSE once the last entry is current
//       ... finder.GetFilePath() ...
//   }
class CFileFind : public CObject
{
    DECLARE_DYNAMIC(CFileFind)
  public:
    CFileFind();
    ~CFileFind() override;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search ("*.*" when NULL); TRUE when something matches.
    virtual BOOL FindFile(LPCWSTR pstrName = NULL, DWORD dwUnused = 0);
    // Makes the next match current; returns FALSE when it is the last one.
    virtual BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetCreationTime(FILETIME* pTimeStamp) const;
    BOOL MatchesMask(DWORD dwMask) const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    // "." or ".." entries.
    BOOL IsDots() const;

  protected:
    HANDLE m_hFind;
    WIN32_FIND_DATAW m_found;
    WIN32_FIND_DATAW m_next;
    BOOL m_bHaveFound;
    BOOL m_bHaveNext;
    CString m_strRoot;
};
