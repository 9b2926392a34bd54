#include "MainWindowRun.h"
#include "AppSetting.h"
#include "LanguageTable.h"
#include "SocialTestSupport.h"
#include "TestFolders.h"

#include <atomic>
#include <thread>

namespace
{
const UINT WM_RUN_HERE = WM_APP + 7;

INT_PTR SkipLogin(CDlgMain*)
{
    return IDOK;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}
} // namespace

MainWindowRun::MainWindowRun(const std::wstring& name)
{
    m_folder = SocialOutputFolder() + L"\\" + name;
    RemoveTree(m_folder);
    ::CreateDirectoryW(m_folder.c_str(), NULL);
    ::CreateDirectoryW(MyMusic().c_str(), NULL);
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", MyMusic().c_str());
    g_pAppSetting = new CAppSetting((m_folder + L"\\").c_str());
    LanguageTable::Instance().Load((ProgramFolder() + L"lng\\default.LNG").c_str());
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &HelperProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"MainWindowRunHelper";
    ::RegisterClassW(&wc);
    m_helper = ::CreateWindowW(L"MainWindowRunHelper", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
}

MainWindowRun::~MainWindowRun()
{
    ::DestroyWindow(m_helper);
    delete g_pAppSetting;
    g_pAppSetting = NULL;
    ::SetEnvironmentVariableW(L"YEB_MYMUSIC", NULL);
}

LRESULT CALLBACK MainWindowRun::HelperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN_HERE)
    {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void MainWindowRun::OnWindowThread(const std::function<void()>& fn)
{
    ::SendMessageW(m_helper, WM_RUN_HERE, 0, (LPARAM)&fn);
}

void MainWindowRun::Deliver(CommandData* record)
{
    ::SendMessageW(m_main->GetSafeHwnd(), WM_MAIN_COMMAND, (WPARAM)record->code, (LPARAM)record);
}

void MainWindowRun::SignIn(std::initializer_list<const wchar_t*> buddies)
{
    for (const wchar_t* buddy : buddies)
        Deliver(MakeRecord(26, {buddy}));
    Deliver(MakeRecord(1, {}));
}

bool MainWindowRun::WaitUntil(const std::function<bool()>& test, DWORD ms)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        bool done = false;
        OnWindowThread([&] { done = test(); });
        if (done)
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(50);
    }
}

INT_PTR MainWindowRun::Run(const std::function<void()>& script, INT_PTR (*login)(CDlgMain*))
{
    CDlgMain::s_runLogin = login ? login : &SkipLogin;
    CDlgMain main;
    m_main = &main;
    m_app.m_pMainWnd = &main;
    std::atomic<bool> ended(false);
    std::thread driver([&] {
        DWORD start = ::GetTickCount();
        while (!main.GetSafeHwnd() || !::IsWindowVisible(main.GetSafeHwnd()))
        {
            if (::GetTickCount() - start > 60000)
                break;
            ::Sleep(50);
        }
        if (main.GetSafeHwnd())
            script();
        while (!ended)
        {
            if (main.GetSafeHwnd())
                ::PostMessageW(main.GetSafeHwnd(), WM_CLOSE, 0, 0);
            ::Sleep(300);
        }
    });
    INT_PTR result = main.DoModal();
    ended = true;
    driver.join();
    m_app.m_pMainWnd = NULL;
    m_main = nullptr;
    return result;
}

CommandData* MakeRecord(int code, std::initializer_list<const wchar_t*> slots, int extra, CommandData* into)
{
    CommandData* record = into ? into : new CommandData;
    record->code = code;
    record->extra = extra;
    CommandText* targets[8] = {&record->s1, &record->s2, &record->s3, &record->s4,
                               &record->s5, &record->s6, &record->s7, &record->s8};
    int i = 0;
    for (const wchar_t* text : slots)
        if (i < 8)
            *targets[i++] = text;
    return record;
}
