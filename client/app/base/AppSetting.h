// The settings object of the client over "AppSetting.ini" beside the program
// (sections SOFTWARE, SOUND, HOTKEY, WINDOW and Secret). The constructor loads
// every section; the destructor writes them back. Every write goes to a copy
// of the file that then replaces it, so the file is never left cut off.
#pragma once

#include "Framework.h"

class CIniFile;

class CAppSetting
{
  public:
    CAppSetting();
    // Uses iniFolder (ending in "\") in place of the program's folder; for tests.
    explicit CAppSetting(LPCWSTR programFolder);
    virtual ~CAppSetting();

    void Load();
    void LoadWindowState();
    void SaveSettings();
    void SaveWindowState();
    void ClearReadOnly();

    // Single values, written at once.
    BOOL WriteValue(LPCWSTR section, LPCWSTR key, BOOL flag);
    BOOL WriteInt(LPCWSTR section, LPCWSTR key, int value);
    BOOL WriteString(LPCWSTR section, LPCWSTR key, LPCWSTR text);
    BOOL ReadInt(LPCWSTR section, LPCWSTR key, int& value) const;
    int ReadInt(LPCWSTR section, LPCWSTR key) const;
    BOOL ReadBool(LPCWSTR section, LPCWSTR key, BOOL& flag) const;
    BOOL ReadString(LPCWSTR section, LPCWSTR key, CString& text) const;

    const CString& GetIniPath() const { return m_strIniPath; }
    const CString& GetProgramFolder() const { return m_strProgramFolder; }

    // The signed-in user's own profile, filled by the command dispatch when the
    // service reports the login; not stored in the file.
    CString strNick;
    CString strSignature;
    CString strName;
    int nGender; // 0 not disclosed, 1 male, 2 female
    int nAge;
    CString strRegion;
    WORD wPrivacy; // bit 0 others may find me, bit 1 buddy list public

    // SOFTWARE
    BOOL bShowState;
    DWORD dwTimeLeave;
    BOOL bListenVisible;
    BOOL bEnableFollow;
    BOOL bSaveLogin;
    CString strSavePath;

    // SOUND
    BOOL bNotifyOnline;
    BOOL bSoundOnline;
    BOOL bNotifyMsg;
    BOOL bSoundMsg;
    BOOL bNotifyListen;
    BOOL bSoundListen;
    BOOL bNotifyGet;
    BOOL bSoundGet;
    BOOL bNotifyPush;
    BOOL bSoundPush;
    BOOL bShowFollowSong;

    // HOTKEY
    BOOL bBossAlt;
    BOOL bBossShift;
    BOOL bBossCtrl;
    DWORD nBossChar;

    // WINDOW
    RECT rcNomalWnd;
    RECT rcMiniWnd;
    RECT rcChatWnd;
    BOOL bMini;
    BOOL bFirstLogin;
    int splitter1;
    int splitter2;
    int header1;
    int header2;
    int column[8];

    CString Portrait;

  private:
    CAppSetting(const CAppSetting&) = delete;
    CAppSetting& operator=(const CAppSetting&) = delete;
    void Construct(LPCWSTR programFolder);
    // Runs write on a CIniFile over a copy of the file, then puts the copy in
    // place of the file.
    template <typename Fn> BOOL WriteThroughCopy(Fn write);
    static RECT CenteredRect(int halfWidth, int halfHeight);

    CString m_strIniPath;
    CString m_strProgramFolder;
};

// The one settings object of the process (null before the application creates
// it and after it deletes it).
extern CAppSetting* g_pAppSetting;
