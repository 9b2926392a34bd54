#include "FileFolder.h"

BOOL FileExists(LPCWSTR path)
{
    if (!path || !*path)
        return FALSE;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(find);
    return TRUE;
}

int DeleteExistingFile(LPCWSTR path)
{
    if (!path || !*path || !FileExists(path))
        return 0;
    return ::DeleteFileW(path) ? 1 : 0;
}

int CreateFolderPath(LPCWSTR path)
{
    if (!path || !*path)
        return 1;
    DWORD attributes = ::GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    CString full(path);
    full += L"\\";
    for (int i = 0; i < full.GetLength(); ++i)
    {
        wchar_t c = full[i];
        if ((c == L'\\' || c == L'/') && i > 0 && full[i - 1] != L':')
            ::CreateDirectoryW(full.Left(i), NULL); // existing levels fail silently
    }
    return 1;
}

BOOL CopyFileOverwrite(LPCWSTR target, LPCWSTR source)
{
    if (!target || !source || !FileExists(source))
        return FALSE;
    if (!FileExists(target))
    {
        CString folder(target);
        int slash = folder.ReverseFind(L'\\');
        if (slash < 0)
            return FALSE;
        CreateFolderPath(folder.Left(slash));
    }
    else
    {
        DWORD attributes = ::GetFileAttributesW(target);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesW(target, attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return ::CopyFileW(source, target, FALSE);
}
