#include "TransferTest.h"
#include "LanguageTable.h"
#include "TestFolders.h"
#include "WindowPicture.h"

MessageSink::MessageSink(UINT message) : m_message(message)
{
    static ATOM atom = 0;
    if (!atom)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"TransferMessageSink";
        atom = RegisterClassW(&wc);
    }
    m_window = CreateWindowW(L"TransferMessageSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                             GetModuleHandleW(NULL), NULL);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, (LONG_PTR)this);
}

MessageSink::~MessageSink()
{
    DestroyWindow(m_window);
}

LRESULT CALLBACK MessageSink::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageSink* sink = (MessageSink*)GetWindowLongPtrW(window, GWLP_USERDATA);
    if (sink && message == sink->m_message)
    {
        sink->received.push_back({wParam, lParam});
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

void LoadLanguageFile()
{
    static bool loaded = LanguageTable::Instance().Load(
        (std::wstring(YEB_SOURCE_DIR) + L"\\resources\\lng\\default.LNG").c_str());
    (void)loaded;
}

static std::wstring OutputFolder()
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\transfers";
    CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}

std::wstring FreshFolder(const std::wstring& name)
{
    return FreshTestFolder(OutputFolder(), name);
}

std::wstring PictureFolder()
{
    return OutputFolder();
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string SongPattern(size_t count)
{
    // The same generator as the service's song files.
    std::string body(count, '\0');
    unsigned value = 12345;
    for (size_t i = 0; i < count; ++i)
    {
        value = value * 1103515245u + 12345u;
        body[i] = char(value >> 16);
    }
    return body;
}

bool KeepPicture(HWND window, const wchar_t* name, int x, int y)
{
    SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 200);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return SaveWindowPicture(window, PictureFolder() + L"\\" + name);
}
