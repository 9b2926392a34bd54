// The settings dialog and its pages, run modally and driven by messages from
// a thread timer of the modal loop: what OK and Apply write to AppSetting.ini
// and the registry, the age check, the profile push, and clearing the song
// cache.
#include "AppSetting.h"
#include "DlgConfig.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "RecordingMessaging.h"
#include "ServiceAddresses.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

CDialog* g_dialog = nullptr;
std::function<void(CDlgConfig&)> g_drive;
std::vector<CString> g_asked;
int g_answer = IDOK;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_dialog || !g_dialog->GetSafeHwnd() || !::IsWindowVisible(g_dialog->GetSafeHwnd()))
        return;
    ::KillTimer(NULL, id);
    g_drive(*static_cast<CDlgConfig*>(g_dialog));
}

INT_PTR RunConfig(int page, std::function<void(CDlgConfig&)> drive)
{
    CDlgConfig dialog(page, NULL);
    g_dialog = &dialog;
    g_drive = drive;
    ::SetTimer(NULL, 0, 50, DriveDialog);
    INT_PTR result = dialog.DoModal();
    g_dialog = nullptr;
    return result;
}

void Click(CWnd& window, UINT id)
{
    window.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(window.GetSafeHwnd(), id));
}

void Type(CWnd& page, UINT id, LPCWSTR text)
{
    ::SetDlgItemTextW(page.GetSafeHwnd(), id, text); // EN_CHANGE follows
}

BOOL ApplyEnabled(CDlgConfig& dialog)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog.GetSafeHwnd(), IDC_CONFIG_APPLY));
}

CString RunValue()
{
    wchar_t data[600] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    HKEY key = NULL;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"<no key>";
    LONG result = ::RegQueryValueExW(key, L"yeb360", NULL, NULL, (BYTE*)data, &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? CString(data) : CString(L"<none>");
}

void DeleteRunValue()
{
    HKEY key = NULL;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS)
    {
        ::RegDeleteValueW(key, L"yeb360");
        ::RegCloseKey(key);
    }
}

std::string ReadFile(const std::wstring& path)
{
    std::string text;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, NULL) && read)
        text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

class SettingsDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        LoadLanguageFile();
        m_folder = FreshTestFolder(SocialOutputFolder(), L"settings");
        m_saved = g_pAppSetting;
        g_pAppSetting = new CAppSetting((m_folder + L"\\").c_str());
        g_pAppSetting->strNick = L"Nick";
        g_pAppSetting->strSignature = L"Sign";
        g_pAppSetting->nAge = 18;
        m_savedAsk = CDlgMain::s_askUser;
        CDlgMain::s_askUser = [](LPCWSTR text, int, LPCWSTR, int, CWnd*) {
            g_asked.push_back(text);
            return g_answer;
        };
        g_asked.clear();
        g_answer = IDOK;
        // The nick form goes to a port where nothing listens.
        CServiceAddresses::Get().m_imageHost = L"127.0.0.1";
        CServiceAddresses::Get().m_imageWebPort = 9;
        DeleteRunValue();
    }
    void TearDown() override
    {
        DeleteRunValue();
        CDlgMain::s_askUser = m_savedAsk;
        delete g_pAppSetting;
        g_pAppSetting = m_saved;
    }
    std::wstring IniPath() const { return m_folder + L"\\AppSetting.ini"; }

    std::wstring m_folder;
    CAppSetting* m_saved = nullptr;
    int (*m_savedAsk)(LPCWSTR, int, LPCWSTR, int, CWnd*) = nullptr;
};
} // namespace

TEST_F(SettingsDialog, OkWithApplyDisabledWritesNothingAndEveryPageIsPictured)
{
    std::string before = ReadFile(IniPath());
    RecordingMessaging messaging;
    INT_PTR result = RunConfig(0, [](CDlgConfig& dialog) {
        EXPECT_FALSE(ApplyEnabled(dialog));
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(CDlgConfig::WIDTH, window.Width());
        EXPECT_EQ(CDlgConfig::HEIGHT, window.Height());
        const struct
        {
            UINT selector;
            CWnd* page;
            const wchar_t* picture;
        } pages[] = {{IDC_CONFIG_PAGE_PRIVATE, &dialog.m_pagePrivate, L"settings-private.png"},
                     {IDC_CONFIG_PAGE_SOFTWARE, &dialog.m_pageSoftware, L"settings-software.png"},
                     {IDC_CONFIG_PAGE_SOUND, &dialog.m_pageSound, L"settings-sound.png"},
                     {IDC_CONFIG_PAGE_HOT_KEY, &dialog.m_pageHotKey, L"settings-hotkey.png"},
                     {IDC_CONFIG_PAGE_PASSWORD, &dialog.m_pagePassword, L"settings-password.png"}};
        for (const auto& page : pages)
        {
            Click(dialog, page.selector);
            EXPECT_TRUE(page.page->IsWindowVisible());
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.GetSafeHwnd(), page.selector)));
            CRect r;
            page.page->GetWindowRect(&r);
            dialog.ScreenToClient(&r);
            EXPECT_EQ(CRect(128, 30, 128 + 321, 30 + 200), r);
            PumpMessages();
            EXPECT_TRUE(CaptureWindowPicture(dialog.GetSafeHwnd(), page.picture));
        }
        // Picture switches show their captions as labels beside them; a
        // switch the page hides has its label hidden too.
        HWND autoStart = ::FindWindowExW(dialog.m_pageSoftware.GetSafeHwnd(), NULL, L"Static", L"开机自动启动");
        auto shown = [](HWND w) { return (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; };
        EXPECT_TRUE(autoStart && shown(autoStart));
        HWND male = ::FindWindowExW(dialog.m_pagePrivate.GetSafeHwnd(), NULL, L"Static", L"男");
        EXPECT_TRUE(!male || !shown(male));
        // Switching pages is no change.
        EXPECT_FALSE(ApplyEnabled(dialog));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(before, ReadFile(IniPath()));
    EXPECT_TRUE(messaging.Pushed(22).empty());
}

TEST_F(SettingsDialog, EveryPageRoundTripsThroughTheFileAndTheRegistry)
{
    g_pAppSetting->bSoundOnline = FALSE;
    g_pAppSetting->bNotifyMsg = TRUE; // a hidden switch keeps its value
    g_pAppSetting->bListenVisible = g_pAppSetting->bEnableFollow = FALSE;
    g_pAppSetting->bShowState = TRUE;
    g_pAppSetting->bBossAlt = g_pAppSetting->bBossCtrl = g_pAppSetting->bBossShift = FALSE;
    g_pAppSetting->nBossChar = 0;
    RecordingMessaging messaging;
    RunConfig(2, [](CDlgConfig& dialog) {
        EXPECT_TRUE(dialog.m_pageSound.IsWindowVisible());
        Click(dialog.m_pageSound, IDC_SOUND_SOUND_ONLINE);
        EXPECT_TRUE(ApplyEnabled(dialog));
        Click(dialog.m_pageSoftware, IDC_SOFTWARE_AUTO_START);
        Click(dialog.m_pageSoftware, IDC_SOFTWARE_FOLLOW);
        Type(dialog.m_pageSoftware, IDC_SOFTWARE_AWAY_MINUTES, L"25");
        // The file's defaults show the default key; the user takes Ctrl+Shift+F5.
        EXPECT_EQ(0, dialog.m_pageHotKey.m_nMode);
        EXPECT_FALSE(dialog.m_pageHotKey.m_edit.IsWindowEnabled());
        Click(dialog.m_pageHotKey, IDC_HOT_KEY_USE_OWN);
        CHotKeyEdit& edit = dialog.m_pageHotKey.m_edit;
        edit.m_bCtrl = edit.m_bShift = TRUE;
        edit.m_bAlt = FALSE;
        edit.m_nKey = VK_F5;
        edit.m_bHasKey = TRUE;
        dialog.m_pageHotKey.SendMessage(CHotKeyEdit::WM_HOTKEY_CHANGED, 0, 0);
        Click(dialog, IDC_CONFIG_APPLY);
        EXPECT_FALSE(ApplyEnabled(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(messaging.Pushed(22).empty()); // the profile did not change

    CAppSetting reread((m_folder + L"\\").c_str());
    EXPECT_TRUE(reread.bSoundOnline);
    EXPECT_TRUE(reread.bNotifyMsg);
    EXPECT_TRUE(reread.bListenVisible);
    EXPECT_TRUE(reread.bEnableFollow);
    EXPECT_EQ(25u, (unsigned)reread.dwTimeLeave);
    EXPECT_TRUE(reread.bBossCtrl);
    EXPECT_TRUE(reread.bBossShift);
    EXPECT_FALSE(reread.bBossAlt);
    EXPECT_EQ((DWORD)VK_F5, reread.nBossChar);
    CString expected;
    expected.Format(L"\"%sYeb.exe\" -l:systemauto", (LPCWSTR)g_pAppSetting->GetProgramFolder());
    EXPECT_EQ(W(expected), W(RunValue()));

    // A second dialog starts from what was saved, and turning start with
    // Windows off removes the value.
    RunConfig(1, [](CDlgConfig& dialog) {
        EXPECT_TRUE(dialog.m_pageSoftware.m_bAutoRun);
        EXPECT_EQ(1, dialog.m_pageHotKey.m_nMode);
        EXPECT_TRUE(dialog.m_pageHotKey.m_edit.IsWindowEnabled());
        Click(dialog.m_pageSoftware, IDC_SOFTWARE_AUTO_START);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(L"<none>", W(RunValue()));
    EXPECT_TRUE(g_asked.empty()) << "no message: " << (g_asked.empty() ? "" : CStringA(g_asked[0]).GetString());

    // Start with Windows shows on for a value that starts this client, even
    // from a folder deeper than any short buffer, and off for another program.
    const struct
    {
        std::wstring value;
        BOOL on;
    } values[] = {{L"\"C:\\" + std::wstring(300, L'd') + L"\\Yeb.exe\" -l:systemauto", TRUE},
                  {L"C:\\Other\\Player.exe", FALSE}};
    for (const auto& v : values)
    {
        HKEY key = NULL;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, NULL, 0, KEY_WRITE, NULL, &key, NULL));
        ::RegSetValueExW(key, L"yeb360", 0, REG_SZ, (const BYTE*)v.value.c_str(),
                         (DWORD)((v.value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
        EXPECT_EQ(v.on, CDlgPageSofteware::IsAutoRunOn()) << v.value.size();
    }
}

TEST_F(SettingsDialog, AgeAboveTwoHundredStopsTheApplyAndANickChangePushesTheProfile)
{
    RecordingMessaging messaging;
    RunConfig(0, [](CDlgConfig& dialog) {
        CDlgPagePrivate& page = dialog.m_pagePrivate;
        Type(page, IDC_PRIVATE_AGE, L"201");
        EXPECT_TRUE(ApplyEnabled(dialog));
        Click(dialog, IDOK);
        ASSERT_TRUE(dialog.GetSafeHwnd()) << "the dialog stays open";
        ASSERT_EQ(1u, g_asked.size());
        EXPECT_EQ(W(Lang(L"INFO_CONFIG_OVER_MAX_AGE")), W(g_asked[0]));
        EXPECT_FALSE(ApplyEnabled(dialog));
        EXPECT_EQ(2, page.CheckChanges());

        const struct
        {
            const wchar_t* typed;
            const wchar_t* shown;
            int check;
        } ages[] = {{L"007", L"7", 1}, {L"0", L"", 1}, {L"200", L"200", 1}, {L"18", L"18", 0}};
        for (const auto& age : ages)
        {
            Type(page, IDC_PRIVATE_AGE, age.typed);
            EXPECT_EQ(age.check, page.CheckChanges()) << CStringA(age.typed).GetString();
            CString shown;
            page.GetDlgItemText(IDC_PRIVATE_AGE, shown);
            EXPECT_EQ(std::wstring(age.shown), W(shown));
        }
        Type(page, IDC_PRIVATE_NICK, L"New & nick");
        Click(dialog, IDC_CONFIG_APPLY);
        EXPECT_FALSE(ApplyEnabled(dialog));
        Click(dialog, IDCANCEL);
    });
    std::vector<RecordedCall> pushed = messaging.Pushed(22);
    ASSERT_EQ(1u, pushed.size());
    EXPECT_EQ(L"New & nick", W(pushed[0].s[1]));
    EXPECT_EQ(L"0", W(pushed[0].s[2]));
    EXPECT_EQ(L"Sign", W(pushed[0].s[3]));
    EXPECT_EQ(18, pushed[0].extra);
    EXPECT_EQ(L"New & nick", W(g_pAppSetting->strNick));
}

TEST(SettingsForms, NickPostValuesAreUrlEncoded)
{
    EXPECT_EQ(std::string("email=a%40b.c&nick=A%26B%3DC&sign=x%2By"),
              std::string(CDlgConfig::NickPostBody(L"a@b.c", L"A&B=C", L"x+y").GetString()));
}

TEST(SongCache, OnlyCacheFilesOfTheCacheFolderAreDeleted)
{
    std::wstring music = SocialOutputFolder() + L"\\cache-music";
    RemoveTree(music);
    std::wstring cache = music + L"\\yeb360\\cache";
    ::CreateDirectoryW(music.c_str(), NULL);
    ::CreateDirectoryW((music + L"\\yeb360").c_str(), NULL);
    ::CreateDirectoryW(cache.c_str(), NULL);
    ::CreateDirectoryW((cache + L"\\inner.cache").c_str(), NULL);
    const wchar_t* files[] = {L"a.cache", L"B.CACHE", L"keep.txt", L"keep.cachex", L"inner.cache\\deep.cache"};
    for (const wchar_t* name : files)
    {
        HANDLE file = ::CreateFileW((cache + L"\\" + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << CStringA(name).GetString();
        ::CloseHandle(file);
    }
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", music.c_str());
    int deleted = CDlgPageSofteware::DeleteSongCache(NULL);
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", NULL);
    EXPECT_EQ(2, deleted);
    const struct
    {
        const wchar_t* name;
        bool kept;
    } expected[] = {{L"a.cache", false}, {L"B.CACHE", false}, {L"keep.txt", true}, {L"keep.cachex", true},
                    {L"inner.cache\\deep.cache", true}};
    for (const auto& file : expected)
        EXPECT_EQ(file.kept, ::GetFileAttributesW((cache + L"\\" + file.name).c_str()) != INVALID_FILE_ATTRIBUTES)
            << CStringA(file.name).GetString();
}
