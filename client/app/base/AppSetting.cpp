#include "AppSetting.h"

#include "DataFolder.h"
#include "IniFile.h"

CAppSetting* g_pAppSetting = nullptr;

namespace
{

const wchar_t kSoftware[] = L"SOFTWARE";
const wchar_t kSound[] = L"SOUND";
const wchar_t kHotkey[] = L"HOTKEY";
const wchar_t kWindow[] = L"WINDOW";

CString ProgramFolder()
{
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2 - 1);
    CString folder(path);
    return folder.Left(folder.ReverseFind(L'\\') + 1);
}

} // namespace

CAppSetting::CAppSetting()
{
    Construct(ProgramFolder());
}

CAppSetting::CAppSetting(LPCWSTR programFolder)
{
    Construct(programFolder);
}

void CAppSetting::Construct(LPCWSTR programFolder)
{
    nGender = nAge = 0;
    wPrivacy = 0;
    bShowState = bListenVisible = bEnableFollow = bSaveLogin = FALSE;
    dwTimeLeave = 0;
    bNotifyOnline = bSoundOnline = bNotifyMsg = bSoundMsg = bNotifyListen = bSoundListen = FALSE;
    bNotifyGet = bSoundGet = bNotifyPush = bSoundPush = bShowFollowSong = FALSE;
    bBossAlt = bBossShift = bBossCtrl = FALSE;
    nBossChar = 0;
    rcNomalWnd = rcMiniWnd = rcChatWnd = RECT{0, 0, 0, 0};
    bMini = FALSE;
    splitter1 = splitter2 = header1 = header2 = 0;
    for (int& c : column)
        c = 0;

    m_strProgramFolder = programFolder ? programFolder : L"";
    m_strIniPath = m_strProgramFolder + L"AppSetting.ini";
    bFirstLogin = FALSE;
    ClearReadOnly();
    Load();
    LoadWindowState();
    if (Portrait.IsEmpty() || GetFileAttributesW(Portrait) == INVALID_FILE_ATTRIBUTES)
        Portrait = m_strProgramFolder + L"avatar\\0.jpg";
}

CAppSetting::~CAppSetting()
{
    SaveSettings();
    SaveWindowState();
}

void CAppSetting::ClearReadOnly()
{
    DWORD attributes = GetFileAttributesW(m_strIniPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(m_strIniPath, attributes & ~FILE_ATTRIBUTE_READONLY);
}

RECT CAppSetting::CenteredRect(int halfWidth, int halfHeight)
{
    RECT desktop = {0, 0, 0, 0};
    GetWindowRect(GetDesktopWindow(), &desktop);
    int cx = (desktop.right - desktop.left) / 2;
    int cy = (desktop.bottom - desktop.top) / 2;
    return RECT{cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight};
}

void CAppSetting::Load()
{
    CIniFile ini(m_strIniPath);
    bShowState = ini.GetBool(kSoftware, L"bShowState", TRUE);
    dwTimeLeave = ini.GetInt(kSoftware, L"dwTimeLeave", 5);
    bListenVisible = ini.GetBool(kSoftware, L"bListenVisible", TRUE);
    bEnableFollow = ini.GetBool(kSoftware, L"bEnableFollow", TRUE);
    bSaveLogin = ini.GetBool(kSoftware, L"bSaveLogin", FALSE);
    strSavePath = ini.GetString(kSoftware, L"strSavePath", L"");
    if (strSavePath.IsEmpty())
    {
        CString music = GetMyMusicFolder(FALSE);
        strSavePath = music.IsEmpty() ? m_strProgramFolder + L"favorite" : music + L"\\yeb360\\favorite";
    }
    Portrait = ini.GetString(kSoftware, L"Portrait", L"");
    if (Portrait.IsEmpty())
        Portrait = m_strProgramFolder + L"avatar\\0.jpg";

    bNotifyOnline = ini.GetBool(kSound, L"bNotifyOnline", TRUE);
    bSoundOnline = ini.GetBool(kSound, L"bSoundOnline", FALSE);
    bNotifyMsg = ini.GetBool(kSound, L"bNotifyMsg", TRUE);
    bSoundMsg = ini.GetBool(kSound, L"bSoundMsg", FALSE);
    bNotifyListen = ini.GetBool(kSound, L"bNotifyListen", TRUE);
    bSoundListen = ini.GetBool(kSound, L"bSoundListen", FALSE);
    bNotifyGet = ini.GetBool(kSound, L"bNotifyGet", TRUE);
    bSoundGet = ini.GetBool(kSound, L"bSoundGet", FALSE);
    bNotifyPush = ini.GetBool(kSound, L"bNotifyPush", TRUE);
    bSoundPush = ini.GetBool(kSound, L"bSoundPush", FALSE);
    bShowFollowSong = ini.GetBool(kSound, L"bShowFollowSong", TRUE);

    bBossAlt = ini.GetBool(kHotkey, L"bBossAlt", FALSE);
    bBossCtrl = ini.GetBool(kHotkey, L"bBossCtrl", FALSE);
    bBossShift = ini.GetBool(kHotkey, L"bBossShift", FALSE);
    nBossChar = ini.GetInt(kHotkey, L"nBossChar", 0);
}

void CAppSetting::LoadWindowState()
{
    CIniFile ini(m_strIniPath);
    bMini = ini.GetBool(kWindow, L"bMini", FALSE);
    bFirstLogin = ini.GetBool(kWindow, L"bFirstLogin", FALSE);
    rcMiniWnd = CenteredRect(170, 13);
    ini.GetRect(kWindow, L"rcMiniWnd", rcMiniWnd.left, rcMiniWnd.top, rcMiniWnd.right, rcMiniWnd.bottom);
    rcNomalWnd = CenteredRect(460, 334);
    ini.GetRect(kWindow, L"rcNomalWnd", rcNomalWnd.left, rcNomalWnd.top, rcNomalWnd.right, rcNomalWnd.bottom);
    rcChatWnd = CenteredRect(300, 200);
    ini.GetRect(kWindow, L"rcChatWnd", rcChatWnd.left, rcChatWnd.top, rcChatWnd.right, rcChatWnd.bottom);
    splitter1 = (int)ini.GetInt(kWindow, L"splitter1", 0);
    splitter2 = (int)ini.GetInt(kWindow, L"splitter2", 0);
    header1 = (int)ini.GetInt(kWindow, L"header1", 0);
    header2 = (int)ini.GetInt(kWindow, L"header2", 0);
    for (int i = 0; i < 8; ++i)
    {
        CString key;
        key.Format(L"column%d", i);
        column[i] = (int)ini.GetInt(kWindow, key, 0);
    }
}

template <typename Fn> BOOL CAppSetting::WriteThroughCopy(Fn write)
{
    ClearReadOnly();
    CString temp;
    temp.Format(L"%s.%lu.tmp", (LPCWSTR)m_strIniPath, GetCurrentThreadId());
    if (GetFileAttributesW(m_strIniPath) != INVALID_FILE_ATTRIBUTES)
    {
        if (!CopyFileW(m_strIniPath, temp, FALSE))
            return FALSE;
        SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
    }
    else
        DeleteFileW(temp);
    BOOL ok;
    {
        CIniFile ini(temp);
        ok = write(ini);
    }
    // Flush the system's cached copy of the profile file to disk.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, temp);
    if (GetFileAttributesW(temp) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if (!MoveFileExW(temp, m_strIniPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileW(temp);
        return FALSE;
    }
    return ok;
}

void CAppSetting::SaveSettings()
{
    WriteThroughCopy([this](CIniFile& ini) {
        ini.WriteBool(kSoftware, L"bShowState", bShowState);
        ini.WriteUInt(kSoftware, L"dwTimeLeave", dwTimeLeave);
        ini.WriteBool(kSoftware, L"bListenVisible", bListenVisible);
        ini.WriteBool(kSoftware, L"bEnableFollow", bEnableFollow);
        ini.WriteBool(kSoftware, L"bSaveLogin", bSaveLogin);
        ini.WriteString(kSoftware, L"strSavePath", strSavePath);
        ini.WriteString(kSoftware, L"Portrait", Portrait);

        ini.WriteBool(kSound, L"bNotifyOnline", bNotifyOnline);
        ini.WriteBool(kSound, L"bNotifyMsg", bNotifyMsg);
        ini.WriteBool(kSound, L"bNotifyListen", bNotifyListen);
        ini.WriteBool(kSound, L"bNotifyGet", bNotifyGet);
        ini.WriteBool(kSound, L"bNotifyPush", bNotifyPush);
        ini.WriteBool(kSound, L"bSoundOnline", bSoundOnline);
        ini.WriteBool(kSound, L"bSoundMsg", bSoundMsg);
        ini.WriteBool(kSound, L"bSoundListen", bSoundListen);
        ini.WriteBool(kSound, L"bSoundGet", bSoundGet);
        ini.WriteBool(kSound, L"bSoundPush", bSoundPush);
        ini.WriteBool(kSound, L"bShowFollowSong", bShowFollowSong);

        ini.WriteBool(kHotkey, L"bBossAlt", bBossAlt);
        ini.WriteBool(kHotkey, L"bBossCtrl", bBossCtrl);
        ini.WriteBool(kHotkey, L"bBossShift", bBossShift);
        return ini.WriteUInt(kHotkey, L"nBossChar", nBossChar);
    });
}

void CAppSetting::SaveWindowState()
{
    WriteThroughCopy([this](CIniFile& ini) {
        ini.WriteBool(kWindow, L"bMini", bMini);
        ini.WriteBool(kWindow, L"bFirstLogin", bFirstLogin);
        ini.WriteRect(kWindow, L"rcMiniWnd", rcMiniWnd.left, rcMiniWnd.top, rcMiniWnd.right, rcMiniWnd.bottom);
        ini.WriteRect(kWindow, L"rcNomalWnd", rcNomalWnd.left, rcNomalWnd.top, rcNomalWnd.right, rcNomalWnd.bottom);
        ini.WriteRect(kWindow, L"rcChatWnd", rcChatWnd.left, rcChatWnd.top, rcChatWnd.right, rcChatWnd.bottom);
        ini.WriteInt(kWindow, L"splitter1", splitter1);
        ini.WriteInt(kWindow, L"splitter2", splitter2);
        ini.WriteInt(kWindow, L"header1", header1);
        ini.WriteInt(kWindow, L"header2", header2);
        BOOL ok = TRUE;
        for (int i = 0; i < 8; ++i)
        {
            CString key;
            key.Format(L"column%d", i);
            ok = ini.WriteInt(kWindow, key, column[i]);
        }
        return ok;
    });
}

BOOL CAppSetting::WriteValue(LPCWSTR section, LPCWSTR key, BOOL flag)
{
    return WriteThroughCopy([&](CIniFile& ini) { return ini.WriteBool(section, key, flag); });
}

BOOL CAppSetting::WriteInt(LPCWSTR section, LPCWSTR key, int value)
{
    return WriteThroughCopy([&](CIniFile& ini) { return ini.WriteInt(section, key, value); });
}

BOOL CAppSetting::WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR text)
{
    return WriteThroughCopy([&](CIniFile& ini) { return ini.WriteString(section, key, text); });
}

BOOL CAppSetting::ReadInt(LPCWSTR section, LPCWSTR key, int& value) const
{
    CIniFile ini(m_strIniPath);
    value = (int)ini.GetInt(section, key, 0);
    return TRUE;
}

int CAppSetting::ReadInt(LPCWSTR section, LPCWSTR key) const
{
    int value = 0;
    ReadInt(section, key, value);
    return value;
}

BOOL CAppSetting::ReadBool(LPCWSTR section, LPCWSTR key, BOOL& flag) const
{
    CIniFile ini(m_strIniPath);
    flag = ini.GetBool(section, key, FALSE);
    return TRUE;
}

BOOL CAppSetting::ReadString(LPCWSTR section, LPCWSTR key, CString& text) const
{
    CIniFile ini(m_strIniPath);
    text = ini.GetString(section, key, L"");
    return TRUE;
}
