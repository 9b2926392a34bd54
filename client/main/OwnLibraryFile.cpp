#include "OwnLibraryFile.h"

COwnLibraryFile::COwnLibraryFile()
    : m_stamp(), m_nSongs(0), m_bKept(FALSE), m_bHasCopy(FALSE), m_nParses(0), m_readStamp(), m_readResult(E_FAIL)
{
}

COwnLibraryFile::~COwnLibraryFile()
{
    if (m_reader.joinable())
        m_reader.join();
}

void COwnLibraryFile::Prefetch(const CString& path)
{
    // Asked again for the file being read: that read goes on.
    if (m_reader.joinable() && path.CompareNoCase(m_readPath) == 0)
        return;
    Settle();
    if (path.IsEmpty() || IsCurrent(path))
        return;
    m_readPath = path;
    if (!ReadStamp(path, m_readStamp))
        return;
    ++m_nParses;
    m_readResult = E_FAIL;
    m_reader = std::thread([this] { m_readResult = m_read.LoadFromFile(m_readPath); });
}

void COwnLibraryFile::Settle()
{
    if (!m_reader.joinable())
        return;
    m_reader.join();
    CSongLibrary parsed;
    parsed.Swap(m_read);
    Stamp now;
    // A file written while it was read is read again when it is next asked for.
    if (FAILED(m_readResult) || !ReadStamp(m_readPath, now) || now.size != m_readStamp.size ||
        ::CompareFileTime(&now.written, &m_readStamp.written) != 0)
        return;
    Forget();
    m_bKept = TRUE;
    m_path = m_readPath;
    m_stamp = m_readStamp;
    m_nSongs = parsed.GetSongCount();
    m_library.Swap(parsed);
    m_bHasCopy = TRUE;
}

BOOL COwnLibraryFile::ReadStamp(const CString& path, Stamp& stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (path.IsEmpty() || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return FALSE;
    stamp.written = data.ftLastWriteTime;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return TRUE;
}

BOOL COwnLibraryFile::IsCurrent(const CString& path) const
{
    Stamp now;
    return m_bKept && path.CompareNoCase(m_path) == 0 && ReadStamp(path, now) && now.size == m_stamp.size &&
           ::CompareFileTime(&now.written, &m_stamp.written) == 0;
}

void COwnLibraryFile::Keep(const CString& path, const CSongLibrary& library, BOOL copy)
{
    Forget();
    if (!ReadStamp(path, m_stamp))
        return;
    m_bKept = TRUE;
    m_path = path;
    m_nSongs = library.GetSongCount();
    if (copy)
    {
        m_library = library;
        m_bHasCopy = TRUE;
    }
}

HRESULT COwnLibraryFile::Load(const CString& path, CSongLibrary& library, BOOL take)
{
    Settle();
    if (m_bHasCopy && IsCurrent(path))
    {
        if (!take)
        {
            library = m_library;
            return S_OK;
        }
        library.Swap(m_library);
        m_library = CSongLibrary();
        m_bHasCopy = FALSE;
        return S_OK;
    }
    ++m_nParses;
    HRESULT hr = library.LoadFromFile(path);
    if (SUCCEEDED(hr))
        Keep(path, library, !take);
    else
        Forget();
    return hr;
}

void COwnLibraryFile::GiveBack(const CString& path, CSongLibrary& library)
{
    Settle();
    if (m_bHasCopy || !IsCurrent(path) || library.GetSongCount() != m_nSongs)
        return;
    m_library.Swap(library);
    m_bHasCopy = TRUE;
}

HRESULT COwnLibraryFile::Save(const CString& path, const CSongLibrary& library, BOOL keep)
{
    Settle();
    HRESULT hr = library.SaveToFile(path);
    if (hr == S_OK)
        Keep(path, library, keep);
    else
        Forget();
    return hr;
}

int COwnLibraryFile::CountSongs(const CString& path)
{
    Settle();
    if (IsCurrent(path))
        return m_nSongs;
    // The parse is kept: a count is mostly asked for just before the view
    // loads. It goes straight into the kept copy, which nobody needs a copy
    // of here.
    CSongLibrary library;
    if (FAILED(Load(path, library, TRUE)))
        return 0;
    int count = library.GetSongCount();
    GiveBack(path, library);
    return count;
}

void COwnLibraryFile::Forget()
{
    Settle();
    m_bKept = FALSE;
    m_bHasCopy = FALSE;
    m_nSongs = 0;
    m_path.Empty();
    m_library = CSongLibrary();
}
