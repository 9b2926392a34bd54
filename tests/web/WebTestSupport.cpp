#include "WebTestSupport.h"

#include "FwHtmlView.h"
#include "LanguageTable.h"

#include <exdispid.h>
#include <map>

namespace
{
std::map<HWND, std::vector<RecordedMessage>>& Recorded()
{
    static std::map<HWND, std::vector<RecordedMessage>> recorded;
    return recorded;
}
} // namespace

RecordingWindow::RecordingWindow()
{
    static ATOM atom = 0;
    if (!atom)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"YebRecordingWindow";
        atom = ::RegisterClassW(&wc);
    }
    m_hWnd = ::CreateWindowExW(0, L"YebRecordingWindow", L"main stand-in", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                               ::GetModuleHandleW(NULL), NULL);
}

RecordingWindow::~RecordingWindow()
{
    PumpMessages();
    ::DestroyWindow(m_hWnd);
    Recorded().erase(m_hWnd);
}

std::vector<RecordedMessage> RecordingWindow::Take()
{
    PumpMessages();
    std::vector<RecordedMessage> taken;
    taken.swap(Recorded()[m_hWnd]);
    return taken;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message >= WM_USER)
    {
        RecordedMessage m{message, wParam, lParam, L""};
        if (message == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) >= 32768 && lParam)
        {
            wchar_t* text = reinterpret_cast<wchar_t*>(lParam);
            m.argument = text;
            delete[] text;
        }
        Recorded()[hWnd].push_back(m);
        return 0;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void LoadLanguageFile()
{
    static bool loaded =
        LanguageTable::Instance().Load((std::wstring(YEB_SOURCE_DIR) + L"\\resources\\lng\\default.LNG").c_str());
    (void)loaded;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring WebPicturePath(const wchar_t* name)
{
    std::wstring folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
    ::CreateDirectoryW(folder.c_str(), NULL);
    folder += L"\\web";
    ::CreateDirectoryW(folder.c_str(), NULL);
    return folder + L"\\" + name;
}

bool RaiseBeforeNavigate(CHtmlView& view, const wchar_t* url)
{
    VARIANT urlValue, flags, target, post, headers;
    for (VARIANT* v : {&urlValue, &flags, &target, &post, &headers})
        ::VariantInit(v);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = ::SysAllocString(url);
    flags.vt = VT_I4;
    target.vt = VT_BSTR;
    target.bstrVal = ::SysAllocString(L"");
    headers.vt = VT_BSTR;
    headers.bstrVal = ::SysAllocString(L"");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[7];
    for (VARIANTARG& a : args)
        ::VariantInit(&a);
    args[6].vt = VT_DISPATCH;
    VARIANT* byRef[] = {&headers, &post, &target, &flags, &urlValue};
    for (int i = 1; i <= 5; ++i)
    {
        args[i].vt = VT_VARIANT | VT_BYREF;
        args[i].pvarVal = byRef[i - 1];
    }
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS params = {args, NULL, 7, 0};
    view.GetEventSink()->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
    ::VariantClear(&urlValue);
    ::VariantClear(&target);
    ::VariantClear(&headers);
    return cancel != VARIANT_FALSE;
}

void RaiseUrlEvent(CHtmlView& view, DISPID id, const wchar_t* url)
{
    VARIANT urlValue;
    ::VariantInit(&urlValue);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = ::SysAllocString(url);
    VARIANTARG args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[1].vt = VT_DISPATCH;
    args[0].vt = VT_VARIANT | VT_BYREF;
    args[0].pvarVal = &urlValue;
    DISPPARAMS params = {args, NULL, 2, 0};
    view.GetEventSink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
    ::VariantClear(&urlValue);
}

void RaiseTitleChange(CHtmlView& view, const wchar_t* title)
{
    VARIANTARG arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = ::SysAllocString(title);
    DISPPARAMS params = {&arg, NULL, 1, 0};
    view.GetEventSink()->Invoke(DISPID_TITLECHANGE, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
    ::VariantClear(&arg);
}

void RaiseCommandStateChange(CHtmlView& view, long command, bool enable)
{
    VARIANTARG args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[1].vt = VT_I4;
    args[1].lVal = command;
    args[0].vt = VT_I4;
    args[0].lVal = enable ? 1 : 0;
    DISPPARAMS params = {args, NULL, 2, 0};
    view.GetEventSink()->Invoke(DISPID_COMMANDSTATECHANGE, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
}
