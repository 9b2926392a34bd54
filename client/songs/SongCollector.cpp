#include "SongCollector.h"
#include "FileFolder.h"
#include "ShellFolder.h"
#include "SongInfo.h"

namespace SongCollector
{
CString CleanFileName(LPCWSTR text, wchar_t replacement)
{
    CString clean = text ? text : L"";
    for (int i = 0; i < clean.GetLength(); ++i)
        if (wcschr(L"\\/:*?\"<>|", clean[i]))
            clean.SetAt(i, replacement);
    return clean;
}

CString TargetPath(LPCWSTR folder, LPCWSTR title, LPCWSTR artist, LPCWSTR localPath)
{
    CString path = localPath ? localPath : L"";
    int dot = path.ReverseFind(L'.');
    int slash = path.ReverseFind(L'\\');
    CString extension = dot > slash ? path.Mid(dot) : CString(L".mp3");
    CString t = title ? title : L"", a = artist ? artist : L"";
    CString base;
    if (t.IsEmpty() && a.IsEmpty())
        base = L"ravaroze";
    else
    {
        base = t.IsEmpty() ? a : a.IsEmpty() ? t : t + L" " + a;
        base = CleanFileName(base, L'\'');
    }
    CString target;
    target.Format(L"%s\\%s%s", folder, (LPCWSTR)base, (LPCWSTR)extension);
    for (int n = 2; FileExists(target); ++n)
        target.Format(L"%s\\%s(%d)%s", folder, (LPCWSTR)base, n, (LPCWSTR)extension);
    return target;
}

CString CacheFileOf(LPCWSTR hash)
{
    wchar_t music[MAX_PATH + 1] = L"";
    if (!hash || !*hash || !GetShellSpecialFolderPath(NULL, music, SHELL_FOLDER_MYMUSIC, FALSE))
        return CString();
    CString path;
    path.Format(L"%s\\yeb360\\cache\\%s.cache", music, hash);
    return FileExists(path) ? path : CString();
}

DWORD CopySong(LPCWSTR source, LPCWSTR target, LPCWSTR title, LPCWSTR artist, LPCWSTR album)
{
    if (!CopyFileW(source ? source : L"", target, FALSE))
    {
        DWORD error = GetLastError();
        return error ? error : ERROR_FILE_NOT_FOUND;
    }
    WriteFileTitle(target, title);
    WriteFileAuthor(target, artist);
    WriteFileAlbum(target, album);
    return 0;
}
} // namespace SongCollector
