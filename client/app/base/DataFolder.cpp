#include "DataFolder.h"

#include "ShellFolder.h"

#include <wchar.h>

namespace
{

bool IsDeviceName(LPCWSTR name)
{
    static const wchar_t* kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    int stem = 0;
    while (name[stem] && name[stem] != L'.')
        ++stem;
    if (stem == 3)
    {
        for (const wchar_t* d : kDevices)
            if (_wcsnicmp(name, d, 3) == 0)
                return true;
    }
    if (stem == 4 && (_wcsnicmp(name, L"COM", 3) == 0 || _wcsnicmp(name, L"LPT", 3) == 0) && name[3] >= L'0' &&
        name[3] <= L'9')
        return true;
    return false;
}

void AppendEscape(CString& out, wchar_t c)
{
    if (c <= 0xFF)
        out.AppendFormat(L"%%%02X", (unsigned)c);
    else
        out.AppendFormat(L"%%u%04X", (unsigned)c);
}

CString WithMyMusic(LPCWSTR tail)
{
    CString folder = GetMyMusicFolder(FALSE);
    if (folder.IsEmpty())
        return CString();
    return folder + tail;
}

} // namespace

CString MakeSafeFolderName(LPCWSTR name)
{
    CString out;
    if (!name)
        return out;
    int length = (int)wcslen(name);
    bool device = IsDeviceName(name);
    for (int i = 0; i < length; ++i)
    {
        wchar_t c = name[i];
        bool escape = c < 32 || c == 0x7F || wcschr(L"%\\/:*?\"<>|", c) != nullptr;
        if ((i == 0 || i == length - 1) && (c == L'.' || c == L' '))
            escape = true;
        if (i == 0 && device)
            escape = true;
        if (escape)
            AppendEscape(out, c);
        else
            out += c;
    }
    return out;
}

CString GetMyMusicFolder(BOOL create)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (!GetShellSpecialFolderPath(nullptr, path, SHELL_FOLDER_MYMUSIC, create))
        return CString();
    return CString(path);
}

CString GetDataFolder(BOOL create)
{
    CString folder = GetMyMusicFolder(create);
    if (folder.IsEmpty())
        return folder;
    return folder + L"\\yeb360\\";
}

CString BuildMyPlaylistPath(LPCWSTR userEmail)
{
    return WithMyMusic(CString(L"\\yeb360\\lib\\private\\") + MakeSafeFolderName(userEmail) + L"\\playlist.xml");
}

CString BuildFriendPlaylistPath(LPCWSTR buddy)
{
    return WithMyMusic(CString(L"\\yeb360\\lib\\friend\\") + MakeSafeFolderName(buddy) + L"\\playlist.xml");
}

CString BuildBoardPath(LPCWSTR dataFolder, LPCWSTR user)
{
    return CString(dataFolder ? dataFolder : L"") + L"lib\\private\\" + MakeSafeFolderName(user) + L"\\board.xml";
}

CString BuildAvatarFolder(LPCWSTR id, BOOL isFriend)
{
    return WithMyMusic(CString(isFriend ? L"\\yeb360\\lib\\friend\\" : L"\\yeb360\\lib\\private\\") +
                       MakeSafeFolderName(id) + L"\\avatar\\");
}

CString BuildCacheFilePath(LPCWSTR contentHash)
{
    return WithMyMusic(CString(L"\\yeb360\\cache\\") + MakeSafeFolderName(contentHash) + L".cache");
}

CString GetTempDataFolder()
{
    return WithMyMusic(L"\\yeb360\\temp\\");
}
