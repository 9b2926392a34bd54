#include "SFSkinObject.h"
#include "SFModuleList.h"
#include "SFNoThrow.h"
#include "SFObjectPaintDC.h"
#include "SFOSVersionInfo.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include <new>

IMPLEMENT_DYNCREATE(CSFSkinObject, CWnd)

// A skin object is not the window's framework object: its map chains to
// CCmdTarget's, leaving out CWnd's reflection of control messages.
BEGIN_MESSAGE_MAP(CSFSkinObject, CCmdTarget)
END_MESSAGE_MAP()

SFCallWindowProcFn g_pfnRealCallWindowProcW = ::CallWindowProcW;

namespace
{
const ULONG_PTR kSystemThreshold = 0x70000000;

// Pushes a record for the scope of one message.
class MessageScope
{
public:
    MessageScope(CSFSkinObject* object, UINT message, int kind, FARPROC fn, LONG_PTR userData) : m_object(object)
    {
        object->PushMessage(message, kind, fn, userData);
    }
    ~MessageScope() { m_object->PopMessage(); }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    CSFSkinObject* m_object;
};

// Sets the thread's current-message record (what Default() reads) for the
// scope of one message.
class CurrentMessageScope
{
public:
    CurrentMessageScope(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
        : m_record(AfxGetCurrentMessageRecord()), m_saved(m_record)
    {
        m_record.hwnd = hwnd;
        m_record.message = message;
        m_record.wParam = wParam;
        m_record.lParam = lParam;
    }
    ~CurrentMessageScope() { m_record = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG& m_record;
    MSG m_saved;
};

// Keeps an object alive while one of its messages runs.
class ObjectReference
{
public:
    explicit ObjectReference(CSFSkinObject* object) : m_object(object) { object->InternalAddRef(); }
    ~ObjectReference() { m_object->InternalRelease(); }
    ObjectReference(const ObjectReference&) = delete;
    ObjectReference& operator=(const ObjectReference&) = delete;

private:
    CSFSkinObject* m_object;
};

// Address range of a system module, looked up once and again when the
// module's handle changes.
struct ModuleRange
{
    LPCWSTR name;
    HMODULE handle = NULL;
    ULONG_PTR base = 0, size = 0;
    BOOL Contains(ULONG_PTR address)
    {
        HMODULE current = ::GetModuleHandleW(name);
        if (current != handle)
        {
            handle = current;
            base = size = 0;
            SFGetModuleRange(current, &base, &size);
        }
        return handle != NULL && address > base && address < base + size;
    }
};

} // namespace

CSFSkinObject::CSFSkinObject()
    : m_savedProc(NULL), m_manager(NULL), m_hookOnly(FALSE), m_threshold(kSystemThreshold), m_suspended(FALSE),
      m_unicode(FALSE), m_windowKind(SF_WINDOW_KIND_FRAME)
{
}

CSFSkinObject::~CSFSkinObject()
{
    // The handle was never entered in the framework's window map.
    m_hWnd = NULL;
}

BOOL CSFSkinObject::IsSystemWindowProc(const void* address)
{
    ULONG_PTR a = (ULONG_PTR)address;
    // Procedure handles the system hands out in place of addresses.
    if (a >= 0xFFFF0000u && a <= 0xFFFFFFFFu)
        return TRUE;
    static ModuleRange user32 = {L"USER32.DLL"}, comctl32 = {L"COMCTL32.DLL"}, ntdll = {L"NTDLL.DLL"};
    if (user32.Contains(a) || comctl32.Contains(a))
        return TRUE;
    return GetOSVersionInfo().IsWinXPOrGreater() && ntdll.Contains(a);
}

void CSFSkinObject::HookWindow(HWND hwnd, LPCREATESTRUCTW cs, BOOL autoCreated)
{
    m_hWnd = hwnd;
    m_unicode = ::IsWindowUnicode(hwnd);
    m_savedProc = (WNDPROC)(m_unicode ? ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                      : ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (!m_hookOnly)
    {
        if (m_unicode)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)SkinObjectWindowProc);
        else
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)SkinObjectWindowProc);
    }
    if (IsSystemWindowProc((const void*)m_savedProc))
        m_threshold = 0;
    AttachToWindow(cs, autoCreated);
}

void CSFSkinObject::UnhookWindow(BOOL autoCreated)
{
    if (!m_hookOnly && m_hWnd != NULL && ::IsWindow(m_hWnd))
    {
        WNDPROC current = (WNDPROC)(m_unicode ? ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)
                                              : ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
        if (current == SkinObjectWindowProc)
        {
            if (m_unicode)
                ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_savedProc);
            else
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_savedProc);
        }
        else if (m_manager)
        {
            // Another procedure was put over the skin's: writing the saved one
            // back would cut it off, so the skin's procedure stays in its chain
            // and passes everything to the saved one from now on.
            m_manager->KeepDetachedProc(m_hWnd, m_savedProc);
        }
    }
    DetachFromWindow(autoCreated);
}

void CSFSkinObject::ApplySkinState(BOOL, BOOL) { ResetSkinCache(); }

void CSFSkinObject::AttachToWindow(LPCREATESTRUCTW, BOOL)
{
    m_suspended = FALSE;
    if (CWnd::FromHandlePermanent(m_hWnd) != NULL)
        m_suspended = ::SendMessageW(m_hWnd, WM_SKINFRAMEWORK_QUERYSTATE, 0, 0) != 0;
    ResetSkinCache();
}

BOOL CSFSkinObject::PassesThrough(UINT message)
{
    if (message == WM_ACTIVATE || message == WM_SETCURSOR || message == WM_NOTIFY || message == WM_COMMAND)
        return TRUE;
    if (message == WM_SKINFRAMEWORK_UPDATESTATE)
        m_suspended = ::SendMessageW(m_hWnd, WM_SKINFRAMEWORK_QUERYSTATE, 0, 0) != 0;
    return FALSE;
}

BOOL CSFSkinObject::DefersToOwnProcedure(UINT message)
{
    if (message == WM_TIMER || m_threshold == 0)
        return FALSE;
    if (m_manager && m_manager->IsWin9x() && (ULONG_PTR)m_savedProc >= m_threshold && m_savedProc != AfxWndProc)
        return FALSE;
    return TRUE;
}

BOOL CSFSkinObject::HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    return !PassesThrough(message) && !DefersToOwnProcedure(message) && OnWndMsg(message, wParam, lParam, &result);
}

BOOL CSFSkinObject::HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    if (PassesThrough(message))
        return FALSE;
    if (message == WM_SKINFRAMEWORK_QUERYSTATE)
    {
        result = 0;
        return TRUE;
    }
    return OnWndMsg(message, wParam, lParam, &result);
}

void CSFSkinObject::PushMessage(UINT message, int kind, FARPROC realFunction, LONG_PTR userData)
{
    InternalAddRef();
    CCritSecLock lock(m_lock);
    m_stack.push_front({kind, realFunction, userData, message});
}

void CSFSkinObject::PopMessage()
{
    {
        CCritSecLock lock(m_lock);
        if (!m_stack.empty())
            m_stack.pop_front();
    }
    InternalRelease(); // may delete the object
}

UINT CSFSkinObject::GetCurrentMessage()
{
    CCritSecLock lock(m_lock);
    return m_stack.empty() ? 0 : m_stack.front().message;
}

size_t CSFSkinObject::GetStackDepth()
{
    CCritSecLock lock(m_lock);
    return m_stack.size();
}

LRESULT CSFSkinObject::CallSavedProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageScope scope(this, message, SF_MSG_OWN_PROCEDURE, NULL, 0);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CSFSkinObject::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageRecord top;
    {
        CCritSecLock lock(m_lock);
        if (m_stack.empty())
            top = {SF_MSG_OWN_PROCEDURE, NULL, 0, 0};
        else
            top = m_stack.front();
    }
    typedef LRESULT(WINAPI * PlainFn)(HWND, UINT, WPARAM, LPARAM);
    typedef LRESULT(WINAPI * FrameFn)(HWND, HWND, UINT, WPARAM, LPARAM);
    switch (top.kind)
    {
    case SF_MSG_OWN_PROCEDURE: return ::CallWindowProcW(m_savedProc, m_hWnd, message, wParam, lParam);
    case SF_MSG_CALLWINDOWPROC:
        return ((SFCallWindowProcFn)(void*)top.realFunction)((WNDPROC)top.userData, m_hWnd, message, wParam, lParam);
    case SF_MSG_DEFWINDOWPROC:
    case SF_MSG_DEFMDICHILDPROC:
    case SF_MSG_DEFDLGPROC: return ((PlainFn)(void*)top.realFunction)(m_hWnd, message, wParam, lParam);
    case SF_MSG_DEFFRAMEPROC:
        return ((FrameFn)(void*)top.realFunction)(m_hWnd, (HWND)top.userData, message, wParam, lParam);
    default: return 0;
    }
}

CSFSkinClass* CSFSkinObject::GetSkinClass() { return m_manager ? m_manager->GetSkinClass(m_className) : NULL; }

CSFSkinMetrics* CSFSkinObject::GetMetrics() { return m_manager ? m_manager->GetMetrics() : NULL; }

COLORREF CSFSkinObject::GetColor(int index)
{
    CSFSkinMetrics* metrics = GetMetrics();
    return metrics && index >= 0 && index <= 30 ? metrics->GetColor(index) : 0;
}

BOOL CSFSkinObject::IsSkinEnabled() { return !m_suspended && m_hWnd != NULL && m_manager && m_manager->IsEnabled(); }

LRESULT CALLBACK SkinObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSFSkinFramework* manager = FindSkinFramework();
    CSFSkinObject* object = manager ? manager->Lookup(hwnd) : NULL;
    if (object == NULL)
    {
        // A window that lost its object while another procedure sat over the
        // skin's still reaches its own procedure.
        WNDPROC original = manager ? manager->FindDetachedProc(hwnd, message == WM_NCDESTROY) : NULL;
        if (original)
            return g_pfnRealCallWindowProcW(original, hwnd, message, wParam, lParam);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    ObjectReference alive(object);
    WNDPROC saved = object->GetSavedProc();
    if (!manager->IsEnabled())
    {
        if (message == WM_NCDESTROY)
            manager->Remove(hwnd, TRUE);
        return g_pfnRealCallWindowProcW(saved, hwnd, message, wParam, lParam);
    }
    CurrentMessageScope current(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        manager->Remove(hwnd, TRUE);
    else if (!object->IsSuspended() || message == WM_SKINFRAMEWORK_UPDATESTATE)
    {
        LRESULT result = 0;
        BOOL handled = SFNoThrow([&] {
            MessageScope scope(object, message, SF_MSG_OWN_PROCEDURE, NULL, 0);
            return object->HandleSubclassedMessage(message, wParam, lParam, result);
        });
        if (handled)
            return result;
    }
    return g_pfnRealCallWindowProcW(saved, hwnd, message, wParam, lParam);
}

BOOL SkinDefaultProcRoad(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int kind, FARPROC realFunction,
                         LONG_PTR userData, LRESULT* result)
{
    CSFSkinFramework* manager = FindSkinFramework();
    if (manager == NULL || !manager->IsEnabled())
        return FALSE;
    CSFSkinObject* object = manager->Lookup(hwnd);
    if (object == NULL || object->IsSuspended() || message == object->GetCurrentMessage())
        return FALSE;
    if (message == WM_NCDESTROY && object->IsHookOnly())
    {
        manager->Remove(hwnd, TRUE);
        return FALSE;
    }
    BOOL handle = kind != SF_MSG_CALLWINDOWPROC || !object->DefersToOwnProcedure(message) || userData == 0 ||
                  CSFSkinObject::IsSystemWindowProc((const void*)userData) ||
                  (manager->IsWin9x() && (ULONG_PTR)userData > 0x6FFFFFFF);
    if (!handle)
        return FALSE;
    ObjectReference alive(object);
    CurrentMessageScope current(hwnd, message, wParam, lParam);
    LRESULT value = 0;
    BOOL handled = SFNoThrow([&] {
        MessageScope scope(object, message, kind, realFunction, userData);
        return object->HandleDefaultProcMessage(message, wParam, lParam, value);
    });
    if (handled && result)
        *result = value;
    return handled;
}

void CSFSkinObject::PaintControl(CDC*)
{
}

LRESULT CSFSkinObject::OnPaintOwnClient(WPARAM, LPARAM)
{
    CSFObjectPaintDC dc(this);
    PaintControl(&dc);
    return 0;
}

LRESULT CSFSkinObject::OnPrintOwnClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return Default();
    CDC dc;
    dc.Attach((HDC)wParam);
    PaintControl(&dc);
    dc.Detach();
    return 1;
}

void CSFSkinObject::TrackMouseLeave()
{
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
}
