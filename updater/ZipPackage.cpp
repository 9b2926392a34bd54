#include "ZipPackage.h"

#include <minizip/unzip.h>
// after unzip.h, which brings the declarations it builds on
#include <minizip/iowin32.h>

#include <set>
#include <string>

BOOL CZipPackage::Open(LPCWSTR path)
{
    Close();
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    m_zip = unzOpen2_64(path, &functions);
    if (m_zip && !HasUniqueNames())
        Close();
    return m_zip != nullptr;
}

BOOL CZipPackage::HasUniqueNames()
{
    // Entries are looked up by name without regard to case, and the lookup
    // takes the first of equal names while other zip readers take the last:
    // a package with two entries of one name shows different files to
    // different readers, so it is refused whole.
    std::set<std::wstring> names;
    for (int at = unzGoToFirstFile((unzFile)m_zip); at == UNZ_OK; at = unzGoToNextFile((unzFile)m_zip))
    {
        unz_file_info64 info = {};
        char stored[1024] = {};
        if (unzGetCurrentFileInfo64((unzFile)m_zip, &info, stored, sizeof(stored), nullptr, 0, nullptr, 0) != UNZ_OK)
            return FALSE;
        // Names are UTF-8 when the entry says so (flag bit 11), else the
        // system code page.
        UINT codePage = (info.flag & (1u << 11)) ? CP_UTF8 : CP_ACP;
        wchar_t wide[1024] = {};
        int n = MultiByteToWideChar(codePage, 0, stored, -1, wide, 1024);
        if (n <= 0)
            return FALSE;
        for (wchar_t* c = wide; *c; ++c)
            if (*c == L'\\')
                *c = L'/';
        CharUpperBuffW(wide, (DWORD)wcslen(wide));
        if (!names.insert(wide).second)
            return FALSE;
    }
    return TRUE;
}

void CZipPackage::Close()
{
    if (m_zip)
        unzClose((unzFile)m_zip);
    m_zip = nullptr;
}

BOOL CZipPackage::Locate(LPCWSTR name)
{
    // Names as the archive stores them: the system code page, else UTF-8;
    // levels separated by '/'.
    std::wstring wide(name);
    for (wchar_t& c : wide)
        if (c == L'\\')
            c = L'/';
    for (UINT codePage : {CP_ACP, CP_UTF8})
    {
        char narrow[260] = {};
        BOOL lossy = FALSE;
        int n = WideCharToMultiByte(codePage, 0, wide.c_str(), -1, narrow, sizeof(narrow), nullptr,
                                    codePage == CP_ACP ? &lossy : nullptr);
        if (n <= 0 || lossy)
            continue;
        if (unzLocateFile((unzFile)m_zip, narrow, 0) == UNZ_OK)
            return TRUE;
    }
    return FALSE;
}

BOOL CZipPackage::ReadEntry(LPCWSTR name, std::vector<BYTE>& bytes, DWORD maxBytes)
{
    bytes.clear();
    if (!m_zip || !name || !*name || !Locate(name))
        return FALSE;
    unz_file_info64 info = {};
    char stored[260] = {};
    if (unzGetCurrentFileInfo64((unzFile)m_zip, &info, stored, sizeof(stored), nullptr, 0, nullptr, 0) != UNZ_OK)
        return FALSE;
    size_t storedLength = strlen(stored);
    if (storedLength > 0 && stored[storedLength - 1] == '/')
        return FALSE; // a folder entry
    if (info.uncompressed_size > maxBytes)
        return FALSE;
    if (unzOpenCurrentFile((unzFile)m_zip) != UNZ_OK)
        return FALSE;
    bytes.resize((size_t)info.uncompressed_size);
    size_t got = 0;
    bool ok = true;
    while (got < bytes.size())
    {
        int n = unzReadCurrentFile((unzFile)m_zip, bytes.data() + got, (unsigned)(bytes.size() - got));
        if (n <= 0)
        {
            ok = false;
            break;
        }
        got += (size_t)n;
    }
    // Nothing may follow the recorded size.
    char extra = 0;
    if (ok && unzReadCurrentFile((unzFile)m_zip, &extra, 1) != 0)
        ok = false;
    // Closing after the whole entry was read compares the CRC-32.
    if (unzCloseCurrentFile((unzFile)m_zip) != UNZ_OK)
        ok = false;
    if (!ok)
        bytes.clear();
    return ok ? TRUE : FALSE;
}
