// The user's own library file as the main window reads it. Signing in reads
// the file several times over (the check that it exists and has its two
// special lists, the own row's song count, the library view); a file of tens
// of thousands of songs takes long to parse, and long to copy, so the last
// parse is kept and handed out again while the file on disk is unchanged
// (same size and time of last write). Readers that only look take the copy
// over and give it back instead of copying it, and the view keeps it, so
// that a large library is held once; the song count stays known after that.
// Every write through Save keeps the copy current.
//
// The file can be read ahead on a thread of its own while the sign-in runs
// (Prefetch); the next call takes that parse when the file has not changed
// meanwhile.
#pragma once
#include "SongLibrary.h"

#include <thread>

class COwnLibraryFile
{
  public:
    COwnLibraryFile();
    ~COwnLibraryFile();
    COwnLibraryFile(const COwnLibraryFile&) = delete;
    COwnLibraryFile& operator=(const COwnLibraryFile&) = delete;

    // Starts parsing path on a thread of its own; every other call first
    // waits for it. A read ahead already running is waited for first.
    void Prefetch(const CString& path);

    // The library of path: the kept copy when the file is unchanged since it
    // was read or saved, else a fresh parse. With take the copy passes to the
    // caller (and a fresh parse is not kept); otherwise a parse is kept.
    HRESULT Load(const CString& path, CSongLibrary& library, BOOL take = FALSE);
    // Saves library to path; its song count is kept (and, with keep, a copy).
    HRESULT Save(const CString& path, const CSongLibrary& library, BOOL keep = FALSE);
    // Hands a library taken with Load (or just saved) back as the kept copy,
    // without copying it, when it is still the file's; library is left
    // empty then. A library of a file changed since is left as it is.
    void GiveBack(const CString& path, CSongLibrary& library);
    // The song count of the file (0 when it cannot be read); a parse it needs
    // is kept for the next load.
    int CountSongs(const CString& path);
    void Forget();
    // Parses done since the start (the kept copy spares the others).
    int GetParseCount() const { return m_nParses; }

  private:
    struct Stamp
    {
        FILETIME written;
        ULONGLONG size;
    };
    static BOOL ReadStamp(const CString& path, Stamp& stamp);
    BOOL IsCurrent(const CString& path) const;
    void Keep(const CString& path, const CSongLibrary& library, BOOL copy);
    // Waits for the read ahead and keeps its parse when the file is as it
    // was when the read began.
    void Settle();

    CString m_path;
    Stamp m_stamp;
    int m_nSongs;
    BOOL m_bKept;      // the stamp and song count are the file's
    BOOL m_bHasCopy;   // m_library is the file's library
    CSongLibrary m_library;
    int m_nParses;
    // The read ahead: its thread, path, the file's stamp when it began, its
    // parse and result (written by the thread only until it is joined).
    std::thread m_reader;
    CString m_readPath;
    Stamp m_readStamp;
    CSongLibrary m_read;
    HRESULT m_readResult;
};
