#include "UpdaterWindows.h"

#include "PixImage.h"

#include <commctrl.h>

namespace updatetest
{

namespace
{

const int kModuleList = 1004;
const int kMessageText = 1136;

struct Search
{
    DWORD processId;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM context)
{
    Search& search = *(Search*)context;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (wcscmp(caption, search.caption) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

// A buffer in the updater's memory for the list-view messages that carry
// a pointer.
class RemoteBuffer
{
  public:
    RemoteBuffer(HANDLE process, size_t size) : m_process(process)
    {
        m_address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (m_address)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    void* Address() const { return m_address; }
    bool Write(const void* bytes, size_t size, size_t offset = 0) const
    {
        SIZE_T done = 0;
        return m_address && WriteProcessMemory(m_process, (BYTE*)m_address + offset, bytes, size, &done) &&
               done == size;
    }
    bool Read(void* bytes, size_t size, size_t offset = 0) const
    {
        SIZE_T done = 0;
        return m_address && ReadProcessMemory(m_process, (BYTE*)m_address + offset, bytes, size, &done) &&
               done == size;
    }

  private:
    HANDLE m_process;
    void* m_address;
};

} // namespace

HWND UpdaterWindows::WaitFor(const wchar_t* caption, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    for (;;)
    {
        Search search = {GetProcessId(m_process), caption, nullptr};
        EnumWindows(FindShown, (LPARAM)&search);
        if (search.found)
        {
            Sleep(300); // the window paints itself after it shows
            return search.found;
        }
        if (WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0 || GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(100);
    }
}

bool UpdaterWindows::WaitUntilGone(HWND window, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window))
    {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

bool UpdaterWindows::Ended(DWORD timeoutMs) const
{
    return WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

std::wstring UpdaterWindows::Answer(int button, DWORD timeoutMs, const wchar_t* picture) const
{
    HWND box = WaitFor(kUpdateMessageCaption, timeoutMs);
    if (!box)
        return L"<no box>";
    std::wstring text = Text(box, kMessageText);
    if (picture)
        SavePicture(box, picture);
    Click(box, button);
    WaitUntilGone(box);
    return text;
}

std::wstring UpdaterWindows::Text(HWND window, int id)
{
    HWND control = id ? GetDlgItem(window, id) : window;
    wchar_t text[4096] = {};
    SendMessageW(control, WM_GETTEXT, 4096, (LPARAM)text);
    return text;
}

bool UpdaterWindows::IsShown(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    return control && IsWindowVisible(control);
}

bool UpdaterWindows::IsEnabled(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    return control && IsWindowEnabled(control);
}

RECT UpdaterWindows::ClientRectOf(HWND window, int id)
{
    RECT r = {};
    GetWindowRect(GetDlgItem(window, id), &r);
    MapWindowPoints(nullptr, window, (LPPOINT)&r, 2);
    return r;
}

void UpdaterWindows::Click(HWND window, int id)
{
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
}

int UpdaterWindows::Rows(HWND dialog) const
{
    return (int)SendMessageW(GetDlgItem(dialog, kModuleList), LVM_GETITEMCOUNT, 0, 0);
}

std::wstring UpdaterWindows::RowText(HWND dialog, int row, int column) const
{
    const int chars = 256;
    RemoteBuffer buffer(m_process, sizeof(LVITEMW) + chars * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.cchTextMax = chars;
    item.pszText = (LPWSTR)((BYTE*)buffer.Address() + sizeof(LVITEMW));
    if (!buffer.Write(&item, sizeof(item)))
        return L"<unreadable>";
    SendMessageW(GetDlgItem(dialog, kModuleList), LVM_GETITEMTEXTW, row, (LPARAM)buffer.Address());
    wchar_t text[chars] = {};
    if (!buffer.Read(text, sizeof(text) - sizeof(wchar_t), sizeof(LVITEMW)))
        return L"<unreadable>";
    return text;
}

bool UpdaterWindows::RowChecked(HWND dialog, int row) const
{
    UINT state = (UINT)SendMessageW(GetDlgItem(dialog, kModuleList), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return (state >> 12) == 2;
}

bool UpdaterWindows::SetRowChecked(HWND dialog, int row, bool checked) const
{
    RemoteBuffer buffer(m_process, sizeof(LVITEMW));
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    return buffer.Write(&item, sizeof(item)) &&
           SendMessageW(GetDlgItem(dialog, kModuleList), LVM_SETITEMSTATE, row, (LPARAM)buffer.Address()) != 0;
}

DWORD UpdaterWindows::ListExtendedStyle(HWND dialog) const
{
    return (DWORD)SendMessageW(GetDlgItem(dialog, kModuleList), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
}

bool UpdaterWindows::SavePicture(HWND window, const wchar_t* name)
{
    // Above the ordinary windows only: other test programs keep theirs
    // topmost while they read the screen under them.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\updater";
    CreateDirectoryW(folder.c_str(), nullptr);
    CPixImage image;
    bool saved = image.CreateFromHBITMAP(shot) && image.Save((folder + L"\\" + name + L".png").c_str(), PIXIMAGE_FORMAT_PNG);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

} // namespace updatetest
