#include "OwnLibraryFile.h"

COwnLibraryFile::COwnLibraryFile() : m_stamp(), m_nSongs(0), m_bKept(FALSE), m_bHasCopy(FALSE), m_nParses(0) {}

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
    if (m_bHasCopy || !IsCurrent(path) || library.GetSongCount() != m_nSongs)
        return;
    m_library.Swap(library);
    m_bHasCopy = TRUE;
}

HRESULT COwnLibraryFile::Save(const CString& path, const CSongLibrary& library, BOOL keep)
{
    HRESULT hr = library.SaveToFile(path);
    if (hr == S_OK)
        Keep(path, library, keep);
    else
        Forget();
    return hr;
}

int COwnLibraryFile::CountSongs(const CString& path)
{
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
    m_bKept = FALSE;
    m_bHasCopy = FALSE;
    m_nSongs = 0;
    m_path.Empty();
    m_library = CSongLibrary();
}
