// The base of every skin object: one object per skinned window, taking over
// its drawing by intercepting its messages. Messages arrive by two roads:
// the object's own window procedure, put in place of the window's, and the
// default window procedures (DefWindowProc and its kin, CallWindowProc)
// whose imports the API hooks redirect. A window whose procedure is a system
// one is skinned before that procedure sees a message; a window with the
// program's own procedure only where it falls through to a default
// procedure, so the program's own handling comes first. A stack of the
// messages in progress lets a handler's default processing reach the right
// real function. Objects are reference counted: the manager's map holds one
// reference and each message in progress one more.
#pragma once
#include "CritSec.h"
#include <Framework.h>
#include <list>

class CSFSkinFramework;
class CSFSkinClass;
class CSFSkinMetrics;

// How a message reached the object, and so what its default processing calls.
enum SFMessageKind
{
    SF_MSG_OWN_PROCEDURE = 0, // CallWindowProcW(saved procedure, ...)
    SF_MSG_CALLWINDOWPROC = 1,  // function(previous procedure, hwnd, msg, wParam, lParam)
    SF_MSG_DEFWINDOWPROC = 2,   // function(hwnd, msg, wParam, lParam)
    SF_MSG_DEFMDICHILDPROC = 3, // function(hwnd, msg, wParam, lParam)
    SF_MSG_DEFFRAMEPROC = 4,    // function(hwnd, MDI client, msg, wParam, lParam)
    SF_MSG_DEFDLGPROC = 5,      // function(hwnd, msg, wParam, lParam)
};

// What kind of window a frame object draws: the manager marks dialogs and
// the pages of property sheets when it creates their objects.
enum SFWindowKind
{
    SF_WINDOW_KIND_FRAME = 1,
    SF_WINDOW_KIND_DIALOG = 2,
    SF_WINDOW_KIND_PROPERTY_PAGE = 6,
};

class CSFSkinObject : public CWnd
{
    DECLARE_DYNCREATE(CSFSkinObject)
public:
    CSFSkinObject();
    ~CSFSkinObject() override;

    struct MessageRecord
    {
        int kind;
        FARPROC realFunction;
        LONG_PTR userData;
        UINT message;
    };

    void OnFinalRelease() override { delete this; }
    WNDPROC* GetSuperWndProcAddr() override { return &m_savedProc; }
    // The default processing of the message in progress, by how it arrived.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void ApplySkinState(BOOL prevEnabled, BOOL newEnabled);
    virtual void ResetSkinCache() {}
    virtual void AttachToWindow(LPCREATESTRUCTW cs, BOOL autoCreated);
    virtual void DetachFromWindow(BOOL /*autoCreated*/) {}
    virtual BOOL HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    virtual BOOL HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    // TRUE leaves the message to the default-procedure road.
    virtual BOOL DefersToOwnProcedure(UINT message);
    // Messages no skin object consumes.
    virtual BOOL PassesThrough(UINT message);

    // Called by the manager once the object is in its map.
    void HookWindow(HWND hwnd, LPCREATESTRUCTW cs, BOOL autoCreated);
    // Gives the window its procedure back (unless hook-only) and detaches.
    void UnhookWindow(BOOL autoCreated);

    void PushMessage(UINT message, int kind, FARPROC realFunction = NULL, LONG_PTR userData = 0);
    void PopMessage();
    // The saved procedure for this message, without the skin seeing it again.
    LRESULT CallSavedProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message on top of the stack, 0 when none is in progress.
    UINT GetCurrentMessage();
    size_t GetStackDepth();

    CSFSkinClass* GetSkinClass();
    CSFSkinMetrics* GetMetrics();
    COLORREF GetColor(int index);
    BOOL IsSkinEnabled();
    // Procedure handles, and addresses inside USER32, COMCTL32 or (XP and
    // later) NTDLL.
    static BOOL IsSystemWindowProc(const void* address);

    void SetManager(CSFSkinFramework* manager) { m_manager = manager; }
    CSFSkinFramework* GetManager() const { return m_manager; }
    void SetHookOnly(BOOL hookOnly) { m_hookOnly = hookOnly; }
    BOOL IsHookOnly() const { return m_hookOnly; }
    BOOL IsSuspended() const { return m_suspended; }
    BOOL IsUnicode() const { return m_unicode; }
    WNDPROC GetSavedProc() const { return m_savedProc; }
    ULONG_PTR GetSystemProcThreshold() const { return m_threshold; }
    const CString& GetSchemaClassName() const { return m_className; }
    void SetWindowKind(int kind) { m_windowKind = kind; }
    int GetWindowKind() const { return m_windowKind; }

    DECLARE_MESSAGE_MAP()

protected:
    // Objects that draw their whole client area themselves: WM_PAINT and
    // WM_PRINTCLIENT (client part asked) both end in PaintControl, and the
    // background is never erased apart.
    virtual void PaintControl(CDC* dc);
    LRESULT OnPaintOwnClient(WPARAM, LPARAM);
    LRESULT OnPrintOwnClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseNothing(WPARAM, LPARAM) { return 1; }
    // Asks for WM_MOUSELEAVE once the pointer goes, for hot parts.
    void TrackMouseLeave();

    WNDPROC m_savedProc;
    CSFSkinFramework* m_manager;
    CString m_className;
    BOOL m_hookOnly;
    ULONG_PTR m_threshold;
    BOOL m_suspended;
    BOOL m_unicode;
    int m_windowKind;
    CCritSec m_lock;
    std::list<MessageRecord> m_stack;
};

// The procedure every skinned window (not hook-only) has while attached.
LRESULT CALLBACK SkinObjectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The default-procedure road, run by each hooked default procedure: TRUE
// when the window's skin object handled the message (result set); FALSE
// when the real function is to run.
BOOL SkinDefaultProcRoad(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int kind, FARPROC realFunction,
                         LONG_PTR userData, LRESULT* result);
// The real CallWindowProcW: the hooks point this at the system's entry, so
// that the skin's own hook does not see the saved procedures' messages.
typedef LRESULT(WINAPI* SFCallWindowProcFn)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
extern SFCallWindowProcFn g_pfnRealCallWindowProcW;
