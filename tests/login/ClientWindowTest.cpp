// The login dialog and the main window as a user meets them, run in this
// program against the stand-in service and driven by messages from a second
// thread: signing in, the failure views, the retry countdown, the switches
// of the command line, the laid-out main window after a resize, and quitting
// and relaunching. Pictures of each window go to test-output\login.
#include <winsock2.h> // before windows.h, which would bring the old winsock.h

#include <gtest/gtest.h>

#include "AppSetting.h"
#include "ClientApp.h"
#include "ClientDriver.h"
#include "DlgLogin.h"
#include "DlgMain.h"
#include "LanguageTable.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "TestFolders.h"
#include "resource.h"

#include <ole2.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

using namespace driver;

namespace
{
std::wstring Widen(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), NULL, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

std::string Narrow(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), NULL, 0, NULL, NULL);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, NULL, NULL);
    return s;
}

std::wstring Key(const wchar_t* key)
{
    return std::wstring(Lang(key));
}

std::string ReadText(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string bytes = s.str();
    // AppSetting.ini is UTF-16; keep the low bytes, which is enough for its keys.
    std::string narrow;
    for (char c : bytes)
        if (c)
            narrow += c;
    return narrow;
}

// A loopback port on which nothing listens.
int ClosedPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a));
    int len = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    closesocket(s);
    return ntohs(a.sin_port);
}

// A loopback listener that takes connections and never answers.
struct SilentListener
{
    SOCKET socket_ = INVALID_SOCKET;
    int port = 0;
    SilentListener()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof(a));
        listen(socket_, 8);
        int len = sizeof(a);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~SilentListener() { closesocket(socket_); }
};

int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return n;
}

// The login is skipped: the main window starts as after a successful login.
INT_PTR SkipLogin(CDlgMain*)
{
    return IDOK;
}

// A login dialog that gives the service three seconds to answer.
INT_PTR ImpatientLogin(CDlgMain* main)
{
    CDlgLogin login;
    login.m_nLoginTimeoutMs = 3000;
    main->m_pDlgLogin = &login;
    INT_PTR result = login.DoModal();
    main->m_pDlgLogin = NULL;
    return result;
}

struct ShellCall
{
    std::wstring file, parameters;
    int count = 0;
};
ShellCall g_shell;
UINT g_endCode = 0;
int g_endCalls = 0;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT)
{
    g_shell.file = file ? file : L"";
    g_shell.parameters = parameters ? parameters : L"";
    ++g_shell.count;
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

void RecordEnd(UINT code)
{
    g_endCode = code;
    ++g_endCalls;
}

// The login dialog the program runs.
INT_PTR (*const kStandardLogin)(CDlgMain*) = CDlgMain::s_runLogin;

class ClientWindow : public ::testing::Test
{
  protected:
    ServiceProcess service;
    CClientApp app;
    std::wstring settings;

    void SetUp() override
    {
        settings = OutputFolder() + L"\\settings-" +
                   Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
        RemoveTree(settings);
        CreateDirectoryW(settings.c_str(), NULL);
        g_pAppSetting = new CAppSetting(settings.c_str());
        // The countdown runs on one count for the life of the program.
        CDlgLogin::s_countdownStart = 10;
        CDlgLogin::s_countdownLeft = -1;
        LanguageTable::Instance().Load((ProgramFolder() + L"lng\\default.LNG").c_str());
    }
    void TearDown() override
    {
        delete g_pAppSetting;
        g_pAppSetting = NULL;
        CDlgLogin::s_commandLine = NULL;
    }

    static std::wstring ProgramFolder()
    {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(NULL, path, MAX_PATH);
        std::wstring p(path);
        return p.substr(0, p.find_last_of(L'\\') + 1);
    }

    bool StartService()
    {
        if (!service.Start())
            return false;
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
        return true;
    }

    // The service's configuration list with chosen servers.
    void ServeConfiguration(const std::string& servers, const std::string& updates)
    {
        service.WriteDataFile("www\\configure.php", "<?xml version=\"1.0\" encoding=\"utf-8\"?><UR><SS>" + servers +
                                                        "</SS><UP>" + updates + "</UP></UR>");
    }
    std::string RealUpdates()
    {
        return "<UL D='yeb360' V='http://127.0.0.1:" + std::to_string(service.Port("web")) +
               "/update/AutoUpdate.xml'/>";
    }

    // Runs the main window (and its login) here while script drives it from
    // a second thread. Whatever the script leaves open is closed after it.
    INT_PTR RunMain(const std::function<void()>& script, INT_PTR (*login)(CDlgMain*))
    {
        CDlgMain::s_runLogin = login;
        CDlgMain main;
        app.m_pMainWnd = &main;
        std::atomic<bool> ended(false);
        std::thread driverThread([&] {
            script();
            while (!ended)
            {
                if (HWND login = WaitForWindow(L"YEB360 ", true, 0))
                    PostMessageW(login, WM_COMMAND, IDC_LOGIN_CLOSE, 0);
                else if (main.m_hWnd)
                    PostMessageW(main.m_hWnd, WM_CLOSE, 0, 0);
                Sleep(500);
            }
        });
        INT_PTR result = main.DoModal();
        ended = true;
        driverThread.join();
        app.m_pMainWnd = NULL;
        return result;
    }
};

// The texts of the login dialog's status line for a failed attempt.
void ExpectStatus(HWND login, const std::wstring& text, const wchar_t* picture)
{
    // The login itself gives the service thirty seconds; a busy machine is given more.
    DWORD start = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return Visible(login, IDC_LOGIN_STATUS) && Text(login, IDC_LOGIN_STATUS) == text; },
                          60000))
        << "status of " << Narrow(picture ? picture : L"") << " after " << GetTickCount() - start
        << " ms: " << Narrow(Text(login, IDC_LOGIN_STATUS)) << (Visible(login, IDC_LOGIN_STATUS) ? "" : " (hidden)");
    EXPECT_TRUE(Visible(login, IDC_LOGIN_USER)) << "back to the form";
    EXPECT_FALSE(Visible(login, IDC_LOGIN_CANCEL));
    if (picture)
        Capture(login, picture);
}
} // namespace

namespace
{
// The system's drag-and-drop service (the shell's drop helper and OLE's
// registration, which the song panes use) keeps threads of its own for the
// rest of the process once started; they are started here, before the count
// of threads, so that only the client's own threads are counted.
struct NullDropTarget : IDropTarget
{
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (id == IID_IUnknown || id == IID_IDropTarget)
        {
            *out = this;
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
};

void StartSystemDropService()
{
    ::OleInitialize(NULL);
    IDropTargetHelper* helper = NULL;
    if (SUCCEEDED(::CoCreateInstance(CLSID_DragDropHelper, NULL, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                     (void**)&helper)) &&
        helper)
        helper->Release();
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    static NullDropTarget target;
    if (window && SUCCEEDED(::RegisterDragDrop(window, &target)))
        ::RevokeDragDrop(window);
    if (window)
        ::DestroyWindow(window);
}
} // namespace

TEST_F(ClientWindow, SignsInShowsTheMainWindowAndQuitsWithItsSettingsSaved)
{
    ASSERT_TRUE(StartService());
    // A six-character password: the service expects it followed by its first three characters.
    ASSERT_TRUE(service.WriteDataFile("accounts.txt", "six@yeb360.com\tabc123\tSix\tdemo@yeb360.com\n"
                                                      "demo@yeb360.com\tdemo123\tDemo\tsix@yeb360.com\n"));
    StartSystemDropService();
    int threadsBefore = ThreadCount();
    bool signedIn = false;
    INT_PTR result = RunMain(
        [&] {
            HWND login = WaitForWindow(L"YEB360 ", true, 30000);
            ASSERT_NE(nullptr, login);
            // No saved account: the welcome view.
            EXPECT_EQ(L"YEB360 " + Key(L"STR_HELLO_TITLE"), Title(login));
            EXPECT_TRUE(Visible(login, IDC_LOGIN_WELCOME_REGISTER));
            EXPECT_FALSE(Visible(login, IDC_LOGIN_USER));
            Capture(login, L"login-welcome.png");
            Click(login, IDC_LOGIN_WELCOME_LOGIN);
            ASSERT_TRUE(WaitUntil([&] { return Visible(login, IDC_LOGIN_USER); }, 5000));
            EXPECT_EQ(L"YEB360 " + Key(L"STR_LOGIN_TITLE"), Title(login));
            Type(login, IDC_LOGIN_USER, L"Six@Yeb360.com");
            Type(login, IDC_LOGIN_PASSWORD, L"abc123");
            Capture(login, L"login-form.png");
            Click(login, IDOK);
            HWND main = WaitForWindow(L"YEB360", false, 30000);
            ASSERT_NE(nullptr, main) << "the main window opens after the login";
            signedIn = service.WaitForRecord(
                [](const ServiceRecord& r) {
                    return r.source == "messaging" && r.event == "login" && r.Get("user") == "six@yeb360.com" &&
                           r.Get("result") == "ok";
                },
                5000);
            EXPECT_TRUE(Visible(main, IDC_MAIN_CLOSE));
            EXPECT_TRUE(Visible(main, IDC_MAIN_PLAY));
            Capture(main, L"main-window.png");
            PostMessageW(main, WM_MAIN_QUIT, 0, 0);
        },
        kStandardLogin);
    EXPECT_TRUE(signedIn) << "the service saw the login with the lower-cased user";
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(nullptr, g_pAppSetting) << "quitting deletes (and so saves) the settings";
    std::string saved = ReadText(settings + L"AppSetting.ini");
    EXPECT_NE(std::string::npos, saved.find("rcNomalWnd")) << "the window section is written";
    EXPECT_NE(std::string::npos, saved.find("[Secret]"));
    EXPECT_EQ(std::string::npos, saved.find("six@yeb360")) << "the account is never stored in clear";
    EXPECT_EQ(std::string::npos, saved.find("abc123"));

    g_pAppSetting = new CAppSetting(settings.c_str());
    CString user, password;
    CDlgLogin::LoadAccount(CDlgLogin::SystemVolumeSerial(), user, password);
    EXPECT_STREQ(L"Six@Yeb360.com", user);
    EXPECT_STREQ(L"", password) << "the password is kept only when the user asks";
    CString email;
    app.GetUserEmail(email);
    EXPECT_STREQ(L"six@yeb360.com", email);

    // The destroy sequence and the window's end leave no thread of ours behind.
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threadsBefore + 1; }, 5000))
        << "threads before " << threadsBefore << ", after " << ThreadCount();
}

TEST_F(ClientWindow, FailedLoginsShowTheirTexts)
{
    ASSERT_TRUE(StartService());
    std::string messaging = "<SR T='0' D='im.yeb360' I='127.0.0.1:" + std::to_string(service.Port("messaging")) +
                            "' S='0' M='9' C='0'/>";
    SilentListener listener;
    std::string silent = "<SR T='0' D='im.yeb360' I='127.0.0.1:" + std::to_string(listener.port) +
                         "' S='0' M='9' C='0'/>";
    std::string closed = "<UL D='yeb360' V='http://127.0.0.1:" + std::to_string(ClosedPort()) + "/AutoUpdate.xml'/>";
    struct Case
    {
        const char* name;
        std::string servers, updates;
        const wchar_t* user;
        const wchar_t* password;
        const wchar_t* text;
        INT_PTR (*login)(CDlgMain*);
    } cases[] = {
        {"wrong-password", "", "", L"demo@yeb360.com", L"wrong-one", L"INFO_LOGIN_PASSWORD_ERROR", NULL},
        {"server-busy", "<SR T='2' D='d' I='h' S='0'/><SR T='4' D='u' I='h' P='1' S='0'/>", RealUpdates(),
         L"demo@yeb360.com", L"demo123", L"INFO_LOGIN_SERVER_BUSY", NULL},
        {"update-unreachable", messaging, closed, L"demo@yeb360.com", L"demo123", L"INFO_LOGIN_DOWNLOAD_UPDATE_CONFIG",
         NULL},
        {"no-answer", silent, RealUpdates(), L"demo@yeb360.com", L"demo123", L"INFO_LOGIN_TIMEOUT", ImpatientLogin},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (!c.servers.empty())
            ServeConfiguration(c.servers, c.updates);
        else
            DeleteFileW(service.PathOf("www\\configure.php").c_str());
        RunMain(
            [&] {
                HWND login = WaitForWindow(L"YEB360 ", true, 30000);
                ASSERT_NE(nullptr, login);
                Click(login, IDC_LOGIN_WELCOME_LOGIN);
                Type(login, IDC_LOGIN_USER, c.user);
                Type(login, IDC_LOGIN_PASSWORD, c.password);
                Click(login, IDOK);
                std::wstring picture = L"login-" + Widen(c.name) + L".png";
                ExpectStatus(login, Key(c.text), picture.c_str());
                Click(login, IDC_LOGIN_CLOSE);
            },
            c.login ? c.login : kStandardLogin);
    }
}

TEST_F(ClientWindow, UnreachableServiceCountsDownTenThenTwentySeconds)
{
    // The service's web server is not there at all.
    CServiceAddresses::Get().Reset();
    CServiceAddresses::Get().m_webHost = L"127.0.0.1";
    CServiceAddresses::Get().m_webPort = ClosedPort();
    g_pAppSetting->bSaveLogin = TRUE;
    CDlgLogin::SaveAccount(CDlgLogin::SystemVolumeSerial(), L"demo@yeb360.com", L"demo123", TRUE);
    auto countdown = [](int seconds) {
        CString text;
        text.Format(Lang(L"INFO_LOGIN_AUTO_TIME"), seconds);
        return std::wstring(text);
    };
    RunMain(
        [&] {
            HWND login = WaitForWindow(L"YEB360 ", true, 30000);
            ASSERT_NE(nullptr, login);
            // The saved account logs in by itself and fails.
            EXPECT_TRUE(WaitUntil([&] { return Text(login, IDC_LOGIN_STATUS) == countdown(10); }, 20000));
            EXPECT_TRUE(Visible(login, IDC_LOGIN_NOW));
            EXPECT_FALSE(Visible(login, IDC_LOGIN_USER));
            Capture(login, L"login-countdown.png");
            EXPECT_TRUE(WaitUntil([&] { return Text(login, IDC_LOGIN_STATUS) == countdown(5); }, 8000));
            // After ten seconds it logs in again, fails again and waits twenty.
            EXPECT_TRUE(WaitUntil([&] { return Text(login, IDC_LOGIN_STATUS) == countdown(20); }, 15000));
            Click(login, IDC_LOGIN_CLOSE);
        },
        kStandardLogin);
}

TEST_F(ClientWindow, SwitchesOfTheCommandLine)
{
    ASSERT_TRUE(StartService());
    g_pAppSetting->bSaveLogin = TRUE;
    struct Case
    {
        const wchar_t* line;
        std::function<void(HWND)> check;
    } cases[] = {
        {L"Yeb.exe -u:s:demo@yeb360.com?.?demo123 -l:logout",
         [&](HWND login) {
             EXPECT_TRUE(WaitUntil([&] { return Text(login, IDC_LOGIN_USER) == L"demo@yeb360.com"; }, 5000));
             EXPECT_EQ(L"demo123", Text(login, IDC_LOGIN_PASSWORD));
             Sleep(1500);
             EXPECT_EQ(L"YEB360 " + Key(L"STR_LOGIN_TITLE"), Title(login)) << "no login of its own";
             EXPECT_TRUE(service.Records("messaging", "login").empty());
         }},
        {L"Yeb.exe -l:logout -e:communication",
         [&](HWND login) {
             CString text;
             text.Format(Lang(L"INFO_LOGIN_AUTO_TIME"), 10);
             EXPECT_TRUE(WaitUntil([&] { return Text(login, IDC_LOGIN_STATUS) == std::wstring(text); }, 5000))
                 << "the network error, then the countdown; shown: " << Narrow(Text(login, IDC_LOGIN_STATUS))
                 << " in " << Narrow(Title(login));
             Capture(login, L"login-communication-error.png");
         }},
        {L"Yeb.exe -l:systemauto", [&](HWND login) { EXPECT_TRUE(WaitUntil([&] { return IsIconic(login) != 0; }, 5000)); }},
        {L"Yeb.exe -u:s:demo@yeb360.com?.?demo123 ",
         [&](HWND) {
             HWND main = WaitForWindow(L"YEB360", false, 30000);
             EXPECT_NE(nullptr, main) << "signs in with the account of the command line";
             if (main)
                 PostMessageW(main, WM_CLOSE, 0, 0);
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.line, c.line + wcslen(c.line)));
        CDlgLogin::s_commandLine = c.line;
        RunMain(
            [&] {
                HWND login = NULL;
                WaitUntil(
                    [&] {
                        login = WaitForWindow(L"YEB360 ", true, 0);
                        return login != NULL;
                    },
                    30000);
                ASSERT_NE(nullptr, login);
                c.check(login);
            },
            kStandardLogin);
    }
}

// Child-window walk (a system callback, so a plain function): the song list.
static BOOL CALLBACK FindSongList(HWND child, LPARAM found)
{
    if (GetDlgCtrlID(child) != IDC_SONG_LIST)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

TEST_F(ClientWindow, ControlsTakeTheirPlacesAfterAResize)
{
    for (int i = 0; i < 8; ++i)
        g_pAppSetting->column[i] = 0;
    RunMain(
        [&] {
            HWND main = WaitForWindow(L"YEB360", false, 30000);
            ASSERT_NE(nullptr, main);
            SetWindowPos(main, NULL, 20, 20, 1000, 720, SWP_NOZORDER);
            RECT client;
            GetClientRect(main, &client);
            int R = client.right;
            struct Spot
            {
                int id, x, y;
            } spots[] = {
                {IDC_MAIN_CLOSE, R - 34, 0},        {IDC_MAIN_MAXIMISE, R - 59, 0},
                {IDC_MAIN_MINIMISE, R - 84, 0},     {IDC_MAIN_MINI_PLAYER, R - 109, 0},
                {IDC_MAIN_MENU, R - 136, 0},        {IDC_MAIN_PREVIOUS, R - 178, 35},
                {IDC_MAIN_NEXT, R - 145, 35},       {IDC_MAIN_STOP, R - 105, 35},
                {IDC_MAIN_PLAY, R - 85, 38},        {IDC_MAIN_PUSH_SONG, R - 44, 34},
                {IDC_MAIN_LOOP_MODE, R - 44, 58},   {IDC_MAIN_MUTE, R - 174, 63},
                {IDC_MAIN_VOLUME, R - 158, 63},     {IDC_MAIN_TITLE_TEXT, R / 2 - 152, 41},
                {IDC_MAIN_TIME_TEXT, R / 2 + 42, 41}, {IDC_MAIN_PROGRESS, R / 2 - 152, 62},
                {IDC_MAIN_AVATAR, 9, 35},           {IDC_MAIN_NICK, 56, 37},
                {IDC_MAIN_SIGNATURE, 56, 57},       {IDC_MAIN_ADD_BUDDY, 77, 86},
                {IDC_MAIN_INVITE, 147, 86},         {IDC_MAIN_SPLITTER_LEFT, 212, 110},
                {IDC_MAIN_BROWSER, 219, 110},
            };
            for (const Spot& s : spots)
            {
                RECT r = Place(main, s.id);
                EXPECT_EQ(s.x, r.left) << "control " << s.id;
                EXPECT_EQ(s.y, r.top) << "control " << s.id;
            }
            RECT volume = Place(main, IDC_MAIN_VOLUME), progress = Place(main, IDC_MAIN_PROGRESS);
            EXPECT_EQ(52, volume.right - volume.left);
            EXPECT_EQ(305, progress.right - progress.left);
            EXPECT_EQ(client.bottom - 19, Place(main, IDC_MAIN_SPLITTER_LEFT).bottom);
            EXPECT_FALSE(Visible(main, IDC_MAIN_STOP) && IsWindowEnabled(GetDlgItem(main, IDC_MAIN_STOP)));
            EXPECT_FALSE(Visible(main, IDC_MAIN_MUSIC_CHANNEL));
            EXPECT_FALSE(Visible(main, IDC_MAIN_WEB_BACK)) << "the library toolbar is shown";
            Capture(main, L"main-window-resized.png");

            // The left bar keeps between 215 and 310 pixels.
            SplitterNotify notify{{GetDlgItem(main, IDC_MAIN_SPLITTER_LEFT), IDC_MAIN_SPLITTER_LEFT, 1050}, -500};
            SendMessageW(main, WM_NOTIFY, IDC_MAIN_SPLITTER_LEFT, reinterpret_cast<LPARAM>(&notify));
            EXPECT_EQ(215, Place(main, IDC_MAIN_SPLITTER_LEFT).left);
            notify.delta = 500;
            SendMessageW(main, WM_NOTIFY, IDC_MAIN_SPLITTER_LEFT, reinterpret_cast<LPARAM>(&notify));
            EXPECT_EQ(310, Place(main, IDC_MAIN_SPLITTER_LEFT).left);
            EXPECT_EQ(317, Place(main, IDC_MAIN_BROWSER).left);

            // The home page shows the embedded browser in place of the song panes.
            SendMessageW(main, WM_COMMAND, IDC_MAIN_HOME_PAGE, 0);
            EXPECT_TRUE(Visible(main, IDC_MAIN_BROWSER));
            EXPECT_TRUE(Visible(main, IDC_MAIN_WEB_BACK)) << "the page toolbar";
            EXPECT_FALSE(Visible(main, IDC_MAIN_ADD_SONG));
            Capture(main, L"main-window-page.png");

            // The song list's columns: stored widths below 1 take their defaults.
            HWND list = NULL;
            EnumChildWindows(main, FindSongList, reinterpret_cast<LPARAM>(&list));
            ASSERT_NE(nullptr, list);
            const wchar_t* headers[] = {L"INFO_LIST_SONG_COLUMN_0", L"INFO_LIST_SONG_COLUMN_1",
                                        L"INFO_LIST_SONG_COLUMN_2", L"INFO_LIST_SONG_COLUMN_4",
                                        L"INFO_LIST_SONG_COLUMN_3"};
            int widths[] = {146, 65, 65, 90, 120};
            for (int i = 0; i < 5; ++i)
            {
                wchar_t text[64] = {};
                LVCOLUMNW column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH;
                column.pszText = text;
                column.cchTextMax = 64;
                SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
                EXPECT_EQ(Key(headers[i]), std::wstring(text)) << i;
                EXPECT_EQ(widths[i], column.cx) << i;
            }
            PostMessageW(main, WM_MAIN_QUIT, 0, 0);
        },
        SkipLogin);
    std::string saved = ReadText(settings + L"AppSetting.ini");
    for (const char* line : {"column0=146", "column1=65", "column2=65", "column3=90", "column4=120", "splitter1=310"})
        EXPECT_NE(std::string::npos, saved.find(line)) << line;
}

TEST_F(ClientWindow, RelaunchStartsTheProgramLoggedOut)
{
    CDlgMain::s_shellExecute = RecordShellExecute;
    CDlgMain::s_endOwnProcess = RecordEnd;
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    struct Case
    {
        WPARAM reason;
        const wchar_t* parameters;
        int endCalls;
    } cases[] = {{0, L"-l:logout", 0}, {1, L"-l:logout -e:communication", 1}};
    for (const Case& c : cases)
    {
        g_shell = ShellCall();
        g_endCalls = 0;
        if (!g_pAppSetting)
            g_pAppSetting = new CAppSetting(settings.c_str());
        INT_PTR result = RunMain(
            [&] {
                HWND main = WaitForWindow(L"YEB360", false, 30000);
                ASSERT_NE(nullptr, main);
                PostMessageW(main, WM_MAIN_RELAUNCH, c.reason, 0);
            },
            SkipLogin);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(1, g_shell.count);
        EXPECT_EQ(std::wstring(program), g_shell.file);
        EXPECT_EQ(std::wstring(c.parameters), g_shell.parameters);
        EXPECT_EQ(c.endCalls, g_endCalls);
        if (c.endCalls)
            EXPECT_EQ(static_cast<UINT>(-9), g_endCode);
        EXPECT_EQ(nullptr, g_pAppSetting) << "the settings are saved before the new program starts";
    }
    CDlgMain::s_shellExecute = ShellExecuteW;
}
