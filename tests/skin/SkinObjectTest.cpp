// The skin object base on real windows: the window-procedure road and the
// default-procedure road, default processing that reaches the window's own
// procedure once, messages no object consumes, suspension by the window,
// removal while a message is in progress, and windows whose procedure was
// subclassed again over the skin's.
#include "SFObjectPaintDC.h"
#include "SFSkinFramework.h"
#include "SFSkinObject.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>

namespace
{
const UINT WM_PROBE = WM_USER + 1;
const UINT WM_REMOVE_SELF = WM_USER + 2;

struct Seen
{
    int probe = 0, command = 0, ncdestroy = 0, removeSelf = 0, later = 0;
    bool objectGoneAtNcDestroy = false;
};
Seen g_seen;

// The window's own procedure, counting what reaches it.
LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PROBE: g_seen.probe++; return 5;
    case WM_COMMAND: g_seen.command++; return 0;
    case WM_REMOVE_SELF: g_seen.removeSelf++; return 7;
    case WM_USER + 9: g_seen.later++; return 9;
    case WM_NCDESTROY:
        g_seen.ncdestroy++;
        g_seen.objectGoneAtNcDestroy = GetSkinFramework()->Lookup(hwnd) == NULL;
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow()
{
    return CreateWindowExW(0, TestWindowClass(L"SkinObjectTestWindow", OwnProc), L"", WS_POPUP, 900, 700, 60, 40, NULL, NULL,
                           GetModuleHandleW(NULL), NULL);
}

int g_liveObjects = 0;

// A skin object that answers the probe with its default processing plus
// 1000, tries to consume WM_COMMAND, removes itself on request and paints
// its client red. Its window's procedure stands in for a system one, so it
// sees messages before that procedure does.
class ProbeObject : public CSFSkinObject
{
public:
    ProbeObject()
    {
        g_liveObjects++;
        m_threshold = 0;
        m_className = L"BUTTON";
    }
    ~ProbeObject() override { g_liveObjects--; }
    void SetSystemLike(BOOL systemLike) { m_threshold = systemLike ? 0 : 0x70000000; }

    LRESULT OnProbe(WPARAM, LPARAM)
    {
        depthInside = GetStackDepth();
        return Default() + 1000;
    }
    LRESULT OnCommandProbe(WPARAM, LPARAM) { return 99; }
    LRESULT OnRemoveSelf(WPARAM, LPARAM)
    {
        GetManager()->Remove(m_hWnd, TRUE);
        return Default() + 100;
    }
    LRESULT OnPrintClient(WPARAM, LPARAM)
    {
        CSFObjectPaintDC dc(this);
        usedBeginPaint = dc.UsedBeginPaint();
        RECT rc = {0, 0, 60, 40};
        HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
        FillRect(dc, &rc, red);
        DeleteObject(red);
        return 1;
    }

    size_t depthInside = 0;
    BOOL usedBeginPaint = TRUE;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeObject, CSFSkinObject)
ON_MESSAGE(WM_PROBE, &ProbeObject::OnProbe)
ON_MESSAGE(WM_COMMAND, &ProbeObject::OnCommandProbe)
ON_MESSAGE(WM_REMOVE_SELF, &ProbeObject::OnRemoveSelf)
ON_MESSAGE(WM_PRINTCLIENT, &ProbeObject::OnPrintClient)
END_MESSAGE_MAP()

// A framework window that tells the skin whether to leave it alone.
class SuspendingWnd : public CWnd
{
public:
    LRESULT OnQueryState(WPARAM, LPARAM) { return suspend; }
    LRESULT suspend = 1;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SuspendingWnd, CWnd)
ON_REGISTERED_MESSAGE(WM_SKINFRAMEWORK_QUERYSTATE, &SuspendingWnd::OnQueryState)
END_MESSAGE_MAP()

// The hooked DefWindowProcW as the API hooks run it.
LRESULT HookedDefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (SkinDefaultProcRoad(hwnd, msg, wParam, lParam, SF_MSG_DEFWINDOWPROC, (FARPROC)DefWindowProcW, 0, &result))
        return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
} // namespace

class SkinObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_seen = Seen();
        manager = GetSkinFramework();
        manager->SetApplyToNewWindows(FALSE);
        ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
        hwnd = MakeWindow();
        ASSERT_NE(nullptr, hwnd);
    }
    void TearDown() override
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
        manager->RemoveAll(TRUE);
        manager->LoadSkin(L"", L"");
        EXPECT_EQ(0, g_liveObjects);
    }
    ProbeObject* Attach()
    {
        ProbeObject* object = new ProbeObject;
        EXPECT_EQ(object, manager->AttachSkinObject(hwnd, object, NULL, FALSE));
        return object;
    }

    CSFSkinFramework* manager = nullptr;
    HWND hwnd = NULL;
};

TEST_F(SkinObjectTest, DefaultProcessingReachesTheOwnProcedureOnce)
{
    ProbeObject* object = Attach();
    EXPECT_EQ((WNDPROC)OwnProc, object->GetSavedProc());
    EXPECT_EQ(1005, SendMessageW(hwnd, WM_PROBE, 0, 0));
    EXPECT_EQ(1, g_seen.probe);
    EXPECT_EQ(1u, object->depthInside);
    EXPECT_EQ(0u, object->GetStackDepth());
    EXPECT_EQ(0u, object->GetCurrentMessage());
    EXPECT_EQ(5, object->CallSavedProc(WM_PROBE, 0, 0));
    EXPECT_EQ(2, g_seen.probe);
}

TEST_F(SkinObjectTest, CommandsNotifyCursorAndActivationAreNeverConsumed)
{
    Attach();
    SendMessageW(hwnd, WM_COMMAND, 0, 0);
    EXPECT_EQ(1, g_seen.command);
    // Without a loaded skin every message passes on, the probe too.
    manager->LoadSkin(L"", L"");
    EXPECT_EQ(5, SendMessageW(hwnd, WM_PROBE, 0, 0));
}

TEST_F(SkinObjectTest, AWindowWithItsOwnProcedureIsSkinnedOnlyWhereItFallsThrough)
{
    ProbeObject* object = Attach();
    object->SetSystemLike(FALSE);
    EXPECT_TRUE(object->DefersToOwnProcedure(WM_PROBE));
    EXPECT_FALSE(object->DefersToOwnProcedure(WM_TIMER));
    EXPECT_EQ(5, SendMessageW(hwnd, WM_PROBE, 0, 0));
    // Through the hooked default procedure the object answers, and its own
    // default processing calls the real function (DefWindowProcW gives 0).
    EXPECT_EQ(1000, HookedDefWindowProc(hwnd, WM_PROBE, 0, 0));
    // The default road leaves commands alone and answers the state query with 0.
    EXPECT_EQ(0, HookedDefWindowProc(hwnd, WM_COMMAND, 0, 0));
    LRESULT result = 77;
    EXPECT_TRUE(SkinDefaultProcRoad(hwnd, WM_SKINFRAMEWORK_QUERYSTATE, 0, 0, SF_MSG_DEFWINDOWPROC,
                                    (FARPROC)DefWindowProcW, 0, &result));
    EXPECT_EQ(0, result);
    // CallWindowProc towards the program's own procedure is left to it...
    EXPECT_FALSE(SkinDefaultProcRoad(hwnd, WM_PROBE, 0, 0, SF_MSG_CALLWINDOWPROC, (FARPROC)CallWindowProcW,
                                     (LONG_PTR)OwnProc, &result));
    // ...towards a system procedure the object takes it.
    EXPECT_TRUE(SkinDefaultProcRoad(hwnd, WM_PROBE, 0, 0, SF_MSG_CALLWINDOWPROC, (FARPROC)CallWindowProcW,
                                    (LONG_PTR)DefWindowProcW, &result));
    EXPECT_EQ(1000, result);
}

TEST_F(SkinObjectTest, NcDestroyReachesTheOwnProcedureAfterRemoval)
{
    Attach();
    DestroyWindow(hwnd);
    EXPECT_EQ(1, g_seen.ncdestroy);
    EXPECT_TRUE(g_seen.objectGoneAtNcDestroy);
    EXPECT_EQ(0u, manager->GetWindowCount());
    EXPECT_EQ(0, g_liveObjects);
}

TEST_F(SkinObjectTest, AnObjectRemovedDuringItsMessageLivesUntilTheHandlerReturns)
{
    Attach();
    EXPECT_EQ(107, SendMessageW(hwnd, WM_REMOVE_SELF, 0, 0));
    EXPECT_EQ(1, g_seen.removeSelf);
    EXPECT_EQ(0, g_liveObjects);
    EXPECT_EQ((WNDPROC)OwnProc, (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    EXPECT_EQ(5, SendMessageW(hwnd, WM_PROBE, 0, 0));
}

TEST_F(SkinObjectTest, PaintDCUsesTheDCTheMessageCarries)
{
    ProbeObject* object = Attach();
    Canvas canvas(60, 40, RGB(255, 255, 255));
    SendMessageW(hwnd, WM_PRINTCLIENT, (WPARAM)canvas.dc(), PRF_CLIENT);
    EXPECT_FALSE(object->usedBeginPaint);
    EXPECT_EQ(RGB(200, 0, 0), canvas.At(30, 20));
}

TEST_F(SkinObjectTest, AWindowThatAsksToBeLeftAloneIsSuspendedUntilItSaysOtherwise)
{
    SuspendingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    ProbeObject* object = new ProbeObject;
    object->SetSystemLike(FALSE);
    manager->AttachSkinObject(hwnd, object, NULL, FALSE);
    EXPECT_TRUE(object->IsSuspended());
    EXPECT_FALSE(object->IsSkinEnabled());
    EXPECT_EQ(0, HookedDefWindowProc(hwnd, WM_PROBE, 0, 0)); // not taken while suspended
    wnd.suspend = 0;
    SendMessageW(hwnd, WM_SKINFRAMEWORK_UPDATESTATE, 0, 0);
    EXPECT_FALSE(object->IsSuspended());
    EXPECT_EQ(1000, HookedDefWindowProc(hwnd, WM_PROBE, 0, 0));
    manager->RemoveAll(TRUE);
    wnd.UnsubclassWindow();
}

TEST_F(SkinObjectTest, AProcedurePutOverTheSkinsKeepsItsChainAfterRemoval)
{
    Attach();
    static WNDPROC below;
    struct Over
    {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
        {
            if (m == WM_USER + 8)
                return 8;
            return CallWindowProcW(below, h, m, w, l);
        }
    };
    below = (WNDPROC)SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)Over::Proc);
    EXPECT_EQ((WNDPROC)SkinObjectWindowProc, below);

    manager->RemoveAll(TRUE);
    EXPECT_EQ(0u, manager->GetWindowCount());
    // The procedure above stays, and what it passes on still reaches the
    // window's own procedure.
    EXPECT_EQ((WNDPROC)Over::Proc, (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    EXPECT_EQ(8, SendMessageW(hwnd, WM_USER + 8, 0, 0));
    EXPECT_EQ(9, SendMessageW(hwnd, WM_USER + 9, 0, 0));
    EXPECT_EQ(1, g_seen.later);
    EXPECT_EQ((WNDPROC)OwnProc, manager->FindDetachedProc(hwnd, FALSE));
    DestroyWindow(hwnd);
    EXPECT_EQ(1, g_seen.ncdestroy);
    EXPECT_EQ(nullptr, manager->FindDetachedProc(hwnd, FALSE));
}
