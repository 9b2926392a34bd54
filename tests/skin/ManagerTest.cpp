// The skin manager with real windows under the test display: loading the
// client's own style, the window-class map, skinning windows explicitly and
// through the CBT hook, giving their procedures back, and telling windows
// when the skin changes.
#include "SFObjectClassEntry.h"
#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinObject.h"
#include "SFSkinSchema.h"
#include "SchemaNames.h"
#include "SkinTestSupport.h"
#include <commctrl.h>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace
{
LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_USER + 5)
        return 55;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* PlainClass() { return TestWindowClass(L"SkinTestPlain", PlainProc); }

HWND MakeTop(const wchar_t* cls = NULL)
{
    return CreateWindowExW(0, cls ? cls : PlainClass(), L"top", WS_OVERLAPPEDWINDOW, 900, 700, 200, 150, NULL, NULL,
                           GetModuleHandleW(NULL), NULL);
}

HWND MakeChild(HWND parent, const wchar_t* cls, int id)
{
    return CreateWindowExW(0, cls, L"child", WS_CHILD | WS_VISIBLE, 5, 5 + id * 20, 80, 18, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleW(NULL), NULL);
}

WNDPROC ProcOf(HWND hwnd) { return (WNDPROC)GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
} // namespace

class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_PAGESCROLLER_CLASS};
        InitCommonControlsEx(&icc);
        manager = GetSkinFramework();
        ASSERT_NE(nullptr, manager);
        manager->SetApplyToNewWindows(FALSE);
        manager->RemoveAll(TRUE);
    }
    void TearDown() override
    {
        manager->SetApplyToNewWindows(FALSE);
        manager->RemoveAll(TRUE);
        for (HWND hwnd : windows)
            DestroyWindow(hwnd);
        manager->LoadSkin(L"", L"");
    }
    HWND Keep(HWND hwnd)
    {
        EXPECT_NE(nullptr, hwnd);
        windows.push_back(hwnd);
        return hwnd;
    }

    CSFSkinFramework* manager = nullptr;
    std::vector<HWND> windows;
};

TEST_F(ManagerTest, OurStyleLoadsWithEveryClassTheSkinObjectsDraw)
{
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    EXPECT_TRUE(manager->IsEnabled());
    ASSERT_NE(nullptr, manager->GetSchema());
    size_t fromLibrary = manager->GetSchema()->GetPropertyCount();

    struct Need
    {
        const wchar_t* cls;
        int part, state, property;
    } needs[] = {
        {L"WINDOW", 1, 1, SCHEMA_PROP_IMAGEFILE},   {L"WINDOW", 2, 1, SCHEMA_PROP_IMAGEFILE},
        {L"WINDOW", 7, 1, SCHEMA_PROP_IMAGEFILE},   {L"WINDOW", 8, 1, SCHEMA_PROP_IMAGEFILE},
        {L"WINDOW", 9, 1, SCHEMA_PROP_IMAGEFILE},   {L"WINDOW", 18, 1, SCHEMA_PROP_IMAGEFILE},
        {L"WINDOW", 15, 1, SCHEMA_PROP_IMAGEFILE},  {L"WINDOW", 17, 1, SCHEMA_PROP_IMAGEFILE},
        {L"WINDOW", 21, 1, SCHEMA_PROP_IMAGEFILE},  {L"WINDOW", 19, 1, SCHEMA_PROP_IMAGEFILE},
        {L"BUTTON", 1, 1, SCHEMA_PROP_IMAGEFILE},   {L"BUTTON", 2, 1, SCHEMA_PROP_IMAGEFILE},
        {L"BUTTON", 3, 1, SCHEMA_PROP_IMAGEFILE},   {L"BUTTON", 4, 1, SCHEMA_PROP_BORDERCOLOR},
        {L"SCROLLBAR", 1, 1, SCHEMA_PROP_IMAGEFILE}, {L"SCROLLBAR", 2, 1, SCHEMA_PROP_IMAGEFILE},
        {L"SCROLLBAR", 3, 1, SCHEMA_PROP_IMAGEFILE}, {L"SCROLLBAR", 4, 1, SCHEMA_PROP_IMAGEFILE},
        {L"SCROLLBAR", 7, 1, SCHEMA_PROP_IMAGEFILE}, {L"SCROLLBAR", 9, 1, SCHEMA_PROP_IMAGEFILE},
        {L"SCROLLBAR", 10, 1, SCHEMA_PROP_IMAGEFILE}, {L"EDIT", 0, 0, SCHEMA_PROP_BORDERCOLOR},
        {L"LISTBOX", 0, 0, SCHEMA_PROP_BORDERCOLOR}, {L"COMBOBOX", 0, 1, SCHEMA_PROP_IMAGEFILE},
        {L"COMBOBOX", 1, 1, SCHEMA_PROP_IMAGEFILE}, {L"HEADER", 1, 1, SCHEMA_PROP_IMAGEFILE},
        {L"TAB", 5, 1, SCHEMA_PROP_IMAGEFILE},      {L"TAB", 9, 0, SCHEMA_PROP_BORDERCOLOR},
        {L"TAB", 10, 0, 3007},                       {L"TRACKBAR", 1, 1, SCHEMA_PROP_BORDERCOLOR},
        {L"TRACKBAR", 3, 1, SCHEMA_PROP_IMAGEFILE}, {L"TRACKBAR", 4, 1, SCHEMA_PROP_IMAGEFILE},
        {L"PROGRESS", 1, 0, SCHEMA_PROP_IMAGEFILE}, {L"PROGRESS", 3, 0, SCHEMA_PROP_IMAGEFILE},
        {L"SPIN", 1, 1, SCHEMA_PROP_IMAGEFILE},     {L"SPIN", 4, 1, SCHEMA_PROP_IMAGEFILE},
        {L"TOOLBAR", 1, 1, SCHEMA_PROP_IMAGEFILE},  {L"TOOLBAR", 5, 0, SCHEMA_PROP_IMAGEFILE},
        {L"STATUS", 3, 0, SCHEMA_PROP_IMAGEFILE},   {L"LISTVIEW", 0, 0, SCHEMA_PROP_BORDERCOLOR},
        {L"TREEVIEW", 0, 0, SCHEMA_PROP_BORDERCOLOR}, {L"TREEVIEW", 2, 1, SCHEMA_PROP_IMAGEFILE},
    };
    for (const Need& n : needs)
    {
        CSFSkinClass* cls = manager->GetSkinClass(n.cls);
        ASSERT_NE(nullptr, cls) << n.cls;
        EXPECT_NE(nullptr, manager->GetSchema()->GetProperty(cls->GetClassId(), n.part, n.state, n.property))
            << n.cls << " part " << n.part << " property " << n.property;
    }
    // The menu colours and the metrics come from the style.
    CSFSkinMetrics* metrics = manager->GetMetrics();
    EXPECT_EQ(RGB(255, 255, 255), metrics->GetColor(COLOR_MENU));
    EXPECT_EQ(RGB(238, 245, 252), metrics->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(25, metrics->m_captionHeight);
    EXPECT_EQ(16, metrics->m_cxVScroll);
    EXPECT_TRUE(manager->GetThemeSysBool(1001));
    EXPECT_EQ(RGB(58, 124, 196), manager->GetThemeSysColor(1601 + COLOR_HIGHLIGHT));
    EXPECT_EQ((COLORREF)-1, manager->GetThemeSysColor(1600));

    // Every picture the style names is in the library.
    CSFSkinClass* window = manager->GetSkinClass(L"WINDOW");
    for (int part : {1, 2, 7, 8, 9, 13, 15, 17, 18, 19, 21, 23})
    {
        CString file = window->GetString(part, 1, SCHEMA_PROP_IMAGEFILE);
        EXPECT_NE(nullptr, window->GetImage(file)) << (LPCWSTR)file;
    }

    // The same style as a folder reads to the same values.
    ASSERT_TRUE(manager->LoadSkin(StyleSourceFolder().c_str(), L"NormalBlue.ini"));
    EXPECT_EQ(fromLibrary, manager->GetSchema()->GetPropertyCount());
}

TEST_F(ManagerTest, PartsOfOurStyleDrawnForPeopleToLookAt)
{
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    Canvas sheet(420, 260, RGB(238, 245, 252));
    CDC dc;
    dc.Attach(sheet.dc());
    struct Item
    {
        const wchar_t* cls;
        int part, state;
        RECT rc;
    } items[] = {
        {L"WINDOW", 1, 1, {10, 10, 250, 35}},      {L"WINDOW", 1, 2, {10, 45, 250, 70}},
        {L"WINDOW", 18, 1, {220, 13, 238, 31}},    {L"WINDOW", 17, 1, {198, 13, 216, 31}},
        {L"WINDOW", 15, 1, {176, 13, 194, 31}},    {L"WINDOW", 18, 6, {220, 48, 238, 66}},
        {L"BUTTON", 1, 1, {10, 80, 90, 104}},      {L"BUTTON", 1, 2, {100, 80, 180, 104}},
        {L"BUTTON", 1, 3, {190, 80, 270, 104}},    {L"BUTTON", 1, 4, {280, 80, 360, 104}},
        {L"BUTTON", 3, 5, {10, 115, 23, 128}},     {L"BUTTON", 3, 1, {30, 115, 43, 128}},
        {L"BUTTON", 2, 5, {50, 115, 63, 128}},     {L"BUTTON", 2, 1, {70, 115, 83, 128}},
        {L"SCROLLBAR", 1, 1, {10, 140, 26, 156}},  {L"SCROLLBAR", 6, 1, {10, 156, 26, 196}},
        {L"SCROLLBAR", 3, 1, {10, 196, 26, 226}},  {L"SCROLLBAR", 9, 1, {10, 196, 26, 226}},
        {L"SCROLLBAR", 1, 5, {10, 226, 26, 242}},  {L"EDIT", 1, 1, {40, 140, 200, 162}},
        {L"COMBOBOX", 0, 1, {40, 170, 200, 192}},  {L"COMBOBOX", 1, 1, {181, 171, 199, 191}},
        {L"HEADER", 1, 1, {220, 140, 300, 160}},   {L"HEADER", 1, 2, {300, 140, 380, 160}},
        {L"TAB", 5, 3, {220, 170, 280, 192}},      {L"TAB", 5, 1, {282, 172, 342, 192}},
        {L"PROGRESS", 1, 0, {40, 200, 200, 214}},  {L"PROGRESS", 3, 0, {43, 203, 80, 211}},
        {L"SPIN", 1, 1, {220, 200, 236, 211}},     {L"SPIN", 2, 1, {220, 211, 236, 222}},
        {L"TRACKBAR", 1, 1, {250, 205, 380, 209}}, {L"TRACKBAR", 4, 1, {300, 198, 311, 217}},
        {L"TOOLBAR", 1, 2, {40, 225, 70, 247}},    {L"STATUS", 3, 0, {390, 235, 406, 251}},
        {L"TREEVIEW", 2, 1, {100, 230, 109, 239}}, {L"LISTVIEW", 0, 0, {120, 225, 200, 250}},
    };
    for (const Item& item : items)
        EXPECT_TRUE(manager->GetSkinClass(item.cls)->DrawBackground(&dc, item.part, item.state, &item.rc))
            << item.cls << " " << item.part;
    CSFSkinClass* window = manager->GetSkinClass(L"WINDOW");
    RECT title = {10, 10, 170, 35};
    SelectObject(sheet.dc(), manager->GetMetrics()->GetCaptionFont());
    window->DrawText(&dc, 1, 1, L"Yeb 360", DT_SINGLELINE | DT_VCENTER, &title);
    dc.Detach();
    // The caption band is blue, its rounded corner left out, the client grey-blue.
    EXPECT_EQ(RGB(238, 245, 252), sheet.At(10, 10));
    COLORREF band = sheet.At(100, 30);
    EXPECT_GT(GetBValue(band), GetRValue(band) + 60);
    EXPECT_GT(sheet.Count(RGB(255, 255, 255), 10, 10, 170, 35), 5); // the title
    KeepPicture(sheet, L"normal-blue-parts");
}

TEST_F(ManagerTest, AFailedLoadLeavesTheProgramUnskinnedAndTellsItsWindows)
{
    static int sysColorChanges;
    sysColorChanges = 0;
    struct Counter
    {
        static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
        {
            if (m == WM_SYSCOLORCHANGE)
                sysColorChanges++;
            return DefWindowProcW(h, m, w, l);
        }
    };
    Keep(MakeTop(TestWindowClass(L"SkinTestCounter", Counter::Proc)));

    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    Pump();
    EXPECT_EQ(1, sysColorChanges);
    EXPECT_FALSE(manager->LoadSkin(BuiltStylePath().c_str(), L"NoSuch.ini"));
    Pump();
    EXPECT_EQ(2, sysColorChanges);
    EXPECT_FALSE(manager->IsEnabled());
    EXPECT_EQ(nullptr, manager->GetSchema());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), manager->GetMetrics()->GetColor(COLOR_BTNFACE));
    // Classes asked for without a skin answer with their defaults.
    CSFSkinClass* button = manager->GetSkinClass(L"BUTTON");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(RGB(1, 2, 3), button->GetColor(1, 1, SCHEMA_PROP_TEXTCOLOR, RGB(1, 2, 3)));
}

TEST_F(ManagerTest, TheClassMapSharesEntriesBetweenAliases)
{
    struct Case
    {
        const wchar_t *alias, *target;
    } aliases[] = {{L"ComboLBox", L"ListBox"}, {L"atl:scrollbar", L"ScrollBar"}, {L"TButton", L"BUTTON"},
                   {L"TMemo", L"Edit"},        {L"TRichEditViewer", L"Edit"},   {L"TNewProgressBar", L"msctls_progress32"},
                   {L"TListView", L"SysListView32"}};
    for (const Case& c : aliases)
    {
        ASSERT_NE(nullptr, manager->FindClassEntry(c.target)) << c.target;
        EXPECT_EQ(manager->FindClassEntry(c.target), manager->FindClassEntry(c.alias)) << c.alias;
    }
    ASSERT_NE(nullptr, manager->FindClassEntry(L"SysPager"));
    EXPECT_EQ(nullptr, manager->FindClassEntry(L"SysPager")->GetObjectClass());
    ASSERT_NE(nullptr, manager->FindClassEntry(L"#32768"));
    EXPECT_NE(nullptr, manager->FindClassEntry(L"#32768")->GetObjectClass()); // not NT 4.0 or 95
    EXPECT_EQ(nullptr, manager->FindClassEntry(L"Static"));
    EXPECT_NE(manager->FindClassEntry(L"Button"), manager->FindClassEntry(L"Edit"));
}

TEST_F(ManagerTest, SomeClassesAreNeverSkinnedAndWindowsFormsOnlyThroughTheHooks)
{
    HWND top = Keep(MakeTop());
    HWND tip = Keep(CreateWindowExW(0, L"tooltips_class32", NULL, WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL));
    EXPECT_EQ(nullptr, manager->CreateSkinObject(tip, L"tooltips_class32", NULL, FALSE));
    EXPECT_EQ(nullptr, manager->CreateSkinObject(top, L"ime", NULL, FALSE));
    EXPECT_EQ(nullptr, manager->CreateSkinObject(top, L"Internet Explorer_Server", NULL, FALSE));
    EXPECT_EQ(nullptr, manager->CreateSkinObject(top, L"SysPager", NULL, FALSE));
    EXPECT_EQ(0u, manager->GetWindowCount());

    WNDPROC before = ProcOf(top);
    CSFSkinObject* forms = manager->CreateSkinObject(top, L"WindowsForms10.BUTTON.app.0.1", NULL, FALSE);
    ASSERT_NE(nullptr, forms);
    EXPECT_TRUE(forms->IsHookOnly());
    EXPECT_EQ(before, ProcOf(top)); // its procedure stays
    manager->Remove(top, TRUE);
    forms = manager->CreateSkinObject(top, L"WindowsForms10.Window.8.app", NULL, FALSE);
    ASSERT_NE(nullptr, forms);
    EXPECT_TRUE(forms->IsHookOnly());
    manager->Remove(top, TRUE);
    EXPECT_EQ(0u, manager->GetWindowCount());
}

TEST_F(ManagerTest, AppliedWindowsKeepTheirProceduresAndGetThemBack)
{
    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    HWND top = Keep(MakeTop());
    HWND button = MakeChild(top, L"BUTTON", 1);
    HWND edit = MakeChild(top, L"EDIT", 2);
    HWND label = MakeChild(top, L"STATIC", 3);
    HWND pager = MakeChild(top, L"SysPager", 4);
    std::vector<HWND> skinned = {top, button, edit, label};
    std::vector<WNDPROC> original;
    for (HWND h : skinned)
        original.push_back(ProcOf(h));
    WNDPROC pagerProc = ProcOf(pager);

    manager->ApplyWindow(top);
    EXPECT_EQ(4u, manager->GetWindowCount());
    for (HWND h : skinned)
    {
        EXPECT_EQ((WNDPROC)SkinObjectWindowProc, ProcOf(h));
        ASSERT_NE(nullptr, manager->Lookup(h));
    }
    EXPECT_EQ(pagerProc, ProcOf(pager));
    // The window's own handling still answers through the skin's procedure.
    EXPECT_EQ(55, SendMessageW(top, WM_USER + 5, 0, 0));
    SetWindowTextW(edit, L"typed");
    wchar_t text[20] = L"";
    GetWindowTextW(edit, text, 20);
    EXPECT_STREQ(L"typed", text);
    // Procedures of system classes let the skin object go first.
    EXPECT_EQ(0u, manager->Lookup(button)->GetSystemProcThreshold());
    EXPECT_NE(0u, manager->Lookup(top)->GetSystemProcThreshold());
    EXPECT_TRUE(manager->Lookup(button)->IsSkinEnabled());

    // A skinned window is left as it is, children added later included.
    HWND late = MakeChild(top, L"BUTTON", 5);
    manager->ApplyWindow(top);
    EXPECT_EQ(nullptr, manager->Lookup(late));
    manager->ApplyWindow(late);
    EXPECT_NE(nullptr, manager->Lookup(late));

    manager->RemoveAll(TRUE);
    EXPECT_EQ(0u, manager->GetWindowCount());
    for (size_t i = 0; i < skinned.size(); i++)
        EXPECT_EQ(original[i], ProcOf(skinned[i]));
    EXPECT_EQ(55, SendMessageW(top, WM_USER + 5, 0, 0));
}

TEST_F(ManagerTest, TheCbtHookSkinsNewWindowsOnlyWhileSwitchedOn)
{
    manager->SetApplyToNewWindows(TRUE);
    HWND top = Keep(MakeTop());
    HWND child = MakeChild(top, L"BUTTON", 1);
    HWND tip = Keep(CreateWindowExW(0, L"tooltips_class32", NULL, WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL));
    EXPECT_NE(nullptr, manager->Lookup(top));
    EXPECT_NE(nullptr, manager->Lookup(child));
    EXPECT_EQ(nullptr, manager->Lookup(tip));
    // Without a loaded skin the objects pass everything on.
    EXPECT_EQ(55, SendMessageW(top, WM_USER + 5, 0, 0));
    SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);

    manager->SetApplyToNewWindows(FALSE);
    HWND other = Keep(MakeTop());
    EXPECT_EQ(nullptr, manager->Lookup(other));

    // A destroyed window leaves the map on its own.
    size_t before = manager->GetWindowCount();
    DestroyWindow(child);
    EXPECT_EQ(before - 1, manager->GetWindowCount());
    // Removing all leaves no window behind, and the hooked windows work on.
    manager->RemoveAll(TRUE);
    EXPECT_EQ(0u, manager->GetWindowCount());
    EXPECT_NE((WNDPROC)SkinObjectWindowProc, ProcOf(top));
    EXPECT_EQ(55, SendMessageW(top, WM_USER + 5, 0, 0));
}

TEST_F(ManagerTest, GoneWindowsAreDroppedWhenTheSkinChanges)
{
    HWND forms = MakeTop(TestWindowClass(L"WindowsForms10.Window.8.app.0.skin", DefWindowProcW));
    manager->ApplyWindow(forms);
    ASSERT_NE(nullptr, manager->Lookup(forms));
    // Hook-only: only the hooked default procedures would have seen it go.
    DestroyWindow(forms);
    EXPECT_EQ(1u, manager->GetWindowCount());
    manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini");
    EXPECT_EQ(0u, manager->GetWindowCount());
}

TEST_F(ManagerTest, RegisteredMessagesAndTheSystemProcedureTest)
{
    EXPECT_NE(0u, WM_SKINFRAMEWORK_UPDATESTATE);
    EXPECT_EQ(WM_SKINFRAMEWORK_UPDATESTATE, RegisterWindowMessageW(L"WM_SKINFRAMEWORK_UPDATESTATE"));
    EXPECT_EQ(WM_SKINFRAMEWORK_QUERYSTATE, RegisterWindowMessageW(L"WM_SKINFRAMEWORK_QUERYSTATE"));
    EXPECT_NE(WM_SKINFRAMEWORK_UPDATESTATE, WM_SKINFRAMEWORK_QUERYSTATE);

    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    EXPECT_TRUE(CSFSkinObject::IsSystemWindowProc((const void*)GetProcAddress(user32, "DefWindowProcW")));
    EXPECT_TRUE(CSFSkinObject::IsSystemWindowProc((const void*)(ULONG_PTR)0xFFFF0123u));
    EXPECT_FALSE(CSFSkinObject::IsSystemWindowProc((const void*)PlainProc));
    EXPECT_FALSE(CSFSkinObject::IsSystemWindowProc(NULL));
    EXPECT_FALSE(CSFSkinObject::IsSystemWindowProc((const void*)user32)); // the base itself is not inside
}

namespace
{
// A thread that makes one window, with or without its own creation hook,
// and answers whether the window got a skin object.
DWORD WINAPI MakeWindowOnThread(LPVOID param)
{
    BOOL hook = (BOOL)(INT_PTR)param;
    if (hook)
        GetSkinFramework()->EnableCurrentThread();
    HWND hwnd = MakeTop();
    BOOL skinned = GetSkinFramework()->Lookup(hwnd) != NULL;
    DestroyWindow(hwnd);
    return skinned;
}
} // namespace

TEST_F(ManagerTest, EachThreadGetsItsOwnCreationHook)
{
    manager->SetApplyToNewWindows(TRUE);
    for (INT_PTR hook : {0, 1})
    {
        HANDLE thread = CreateThread(NULL, 0, MakeWindowOnThread, (LPVOID)hook, 0, NULL);
        ASSERT_NE(nullptr, thread);
        WaitForSingleObject(thread, 10000);
        DWORD skinned = 2;
        GetExitCodeThread(thread, &skinned);
        CloseHandle(thread);
        EXPECT_EQ((DWORD)hook, skinned);
    }
    EXPECT_EQ(0u, manager->GetWindowCount());
}

TEST_F(ManagerTest, DamagedPicturesOfAStyleDrawNothing)
{
    std::wstring folder = FreshFolder(L"damaged-style");
    WriteText(folder + L"\\Bad.ini", "[Button.PushButton]\r\nImageFile = bad.png\r\n"
                                     "[Button.CheckBox]\r\nImageFile = cut.bmp\r\n"
                                     "[Button.RadioButton]\r\nImageFile = empty.bmp\r\n");
    WriteText(folder + L"\\bad.png", "\x89PNG\r\n\x1a\nnot really");
    std::string bmp = "BM";
    bmp.append(12, '\0');
    BITMAPINFOHEADER header = {sizeof(header), 4000, 4000, 1, 24, BI_RGB};
    bmp.append((const char*)&header, sizeof(header));
    bmp.append(16, '\x7f');
    WriteBytes(folder + L"\\cut.bmp", bmp.data(), bmp.size());
    WriteText(folder + L"\\empty.bmp", "");
    ASSERT_TRUE(manager->LoadSkin(folder.c_str(), L"Bad.ini"));
    CSFSkinClass* button = manager->GetSkinClass(L"BUTTON");
    Canvas canvas(20, 20, RGB(255, 255, 255));
    CDC dc;
    dc.Attach(canvas.dc());
    RECT rc = {0, 0, 20, 20};
    for (int part : {1, 2, 3})
        EXPECT_FALSE(button->DrawBackground(&dc, part, 1, &rc)) << part;
    dc.Detach();
    EXPECT_EQ(400, canvas.Count(RGB(255, 255, 255)));
    SIZE size = {};
    EXPECT_FALSE(button->GetPartSize(1, 1, NULL, 1, &size));
}

namespace
{
// A property sheet as the manager sees one: it names its current page and
// keeps its record (window first, header flags third) as its dialog value.
struct SheetRecord
{
    LONG_PTR window, pages, flags;
};
HWND g_sheetAnswer;
LRESULT CALLBACK SheetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == PSM_GETCURRENTPAGEHWND)
        return (LRESULT)g_sheetAnswer;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
const wchar_t* SheetClass()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = SheetProc;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"SkinTestSheet";
        registered = RegisterClassW(&wc) != 0;
    }
    return L"SkinTestSheet";
}
} // namespace

TEST_F(ManagerTest, DialogsAreMarkedAsPagesOnlyInsideSheetsThatAreNotWizards)
{
    HWND sheet = Keep(CreateWindowExW(0, SheetClass(), L"sheet", WS_OVERLAPPEDWINDOW, 900, 700, 200, 150, NULL, NULL,
                                      GetModuleHandleW(NULL), NULL));
    HWND other = Keep(MakeTop());
    HWND dialog = Keep(CreateWindowExW(0, WC_DIALOG, L"page", WS_POPUP, 0, 0, 50, 50, NULL, NULL, NULL, NULL));
    SheetRecord record = {};
    SetWindowLongPtrW(sheet, DWLP_USER, (LONG_PTR)&record);
    const LONG pageStyle = WS_CHILD | DS_CONTROL;

    struct Case
    {
        const char* what;
        LONG style;
        bool withParent;
        HWND answer, recordWindow;
        LONG_PTR flags;
        int kind;
    } cases[] = {
        {"a page of a plain sheet", pageStyle, true, dialog, sheet, 0, SF_WINDOW_KIND_PROPERTY_PAGE},
        {"a page of a wizard", pageStyle, true, dialog, sheet, 0x20, SF_WINDOW_KIND_DIALOG},
        {"a page of a newer wizard", pageStyle, true, dialog, sheet, 0x1000000, SF_WINDOW_KIND_DIALOG},
        {"a record of another window", pageStyle, true, dialog, other, 0, SF_WINDOW_KIND_DIALOG},
        {"a parent naming no page", pageStyle, true, NULL, sheet, 0, SF_WINDOW_KIND_DIALOG},
        {"a parent naming a dead page", pageStyle, true, (HWND)(LONG_PTR)0x7ff0, sheet, 0, SF_WINDOW_KIND_DIALOG},
        {"a child without DS_CONTROL", WS_CHILD, true, dialog, sheet, 0, SF_WINDOW_KIND_DIALOG},
        {"a control dialog that is not a child", DS_CONTROL, true, dialog, sheet, 0, SF_WINDOW_KIND_DIALOG},
        {"no parent", pageStyle, false, dialog, sheet, 0, SF_WINDOW_KIND_DIALOG},
    };
    for (const Case& c : cases)
    {
        g_sheetAnswer = c.answer;
        record = {(LONG_PTR)c.recordWindow, 1, c.flags};
        CREATESTRUCTW cs = {};
        cs.style = c.style;
        cs.hwndParent = c.withParent ? sheet : NULL;
        CSFSkinObject* object = manager->CreateSkinObject(dialog, L"#32770", &cs, FALSE);
        ASSERT_NE(nullptr, object) << c.what;
        EXPECT_EQ(c.kind, object->GetWindowKind()) << c.what;
        manager->Remove(dialog, TRUE);
    }

    // A sheet whose own object is a page makes its dialogs pages without
    // being asked; other classes keep the frame kind.
    g_sheetAnswer = NULL;
    CREATESTRUCTW cs = {};
    cs.style = pageStyle;
    cs.hwndParent = sheet;
    CSFSkinObject* outer = manager->CreateSkinObject(sheet, L"SkinTestSheet", NULL, FALSE);
    ASSERT_NE(nullptr, outer);
    EXPECT_EQ(SF_WINDOW_KIND_FRAME, outer->GetWindowKind());
    outer->SetWindowKind(SF_WINDOW_KIND_PROPERTY_PAGE);
    CSFSkinObject* inner = manager->CreateSkinObject(dialog, L"#32770", &cs, FALSE);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(SF_WINDOW_KIND_PROPERTY_PAGE, inner->GetWindowKind());
    // A sheet record that cannot be read is refused, not followed.
    manager->Remove(dialog, TRUE);
    manager->Remove(sheet, TRUE);
    g_sheetAnswer = dialog;
    SetWindowLongPtrW(sheet, DWLP_USER, (LONG_PTR)0x10);
    EXPECT_EQ(SF_WINDOW_KIND_DIALOG, manager->CreateSkinObject(dialog, L"#32770", &cs, FALSE)->GetWindowKind());
    manager->Remove(dialog, TRUE);
    SetWindowLongPtrW(sheet, DWLP_USER, 0);
    EXPECT_EQ(0u, manager->GetWindowCount());
}

TEST_F(ManagerTest, ReorderedWindowsWithFramesGetTheLayoutTimerWhileFramesAreSkinned)
{
    HWND framed = Keep(CreateWindowExW(0, PlainClass(), L"framed", WS_OVERLAPPED | WS_VSCROLL, 900, 700, 100, 100,
                                       NULL, NULL, GetModuleHandleW(NULL), NULL));
    HWND bare = Keep(CreateWindowExW(0, PlainClass(), L"bare", WS_POPUP, 900, 700, 100, 100, NULL, NULL,
                                     GetModuleHandleW(NULL), NULL));
    HWND unskinned = Keep(MakeTop());
    const UINT_PTR kLayoutTimer = 2765;
    auto timerSet = [](HWND hwnd) { return KillTimer(hwnd, kLayoutTimer) != FALSE; };

    // Without a skin nothing is scheduled.
    manager->ApplyWindow(framed);
    manager->ApplyWindow(bare);
    SkinWinEventProc(NULL, EVENT_OBJECT_REORDER, framed, OBJID_WINDOW, 0, 0, 0);
    EXPECT_FALSE(timerSet(framed));

    ASSERT_TRUE(manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"));
    struct Case
    {
        const char* what;
        HWND hwnd;
        DWORD event;
        LONG object;
        int options;
        bool timer;
    } cases[] = {
        {"a skinned window with a scroll bar", framed, EVENT_OBJECT_REORDER, OBJID_WINDOW, 7, true},
        {"frames applied without colours", framed, EVENT_OBJECT_REORDER, OBJID_WINDOW, 2, true},
        {"frames not applied", framed, EVENT_OBJECT_REORDER, OBJID_WINDOW, 5, false},
        {"another object of the window", framed, EVENT_OBJECT_REORDER, OBJID_CLIENT, 7, false},
        {"another event", framed, EVENT_OBJECT_SHOW, OBJID_WINDOW, 7, false},
        {"a window without frame or scroll bars", bare, EVENT_OBJECT_REORDER, OBJID_WINDOW, 7, false},
        {"a window without skin object", unskinned, EVENT_OBJECT_REORDER, OBJID_WINDOW, 7, false},
    };
    for (const Case& c : cases)
    {
        manager->SetApplyOptions(c.options);
        SkinWinEventProc(NULL, c.event, c.hwnd, c.object, 0, 0, 0);
        EXPECT_EQ(c.timer, timerSet(c.hwnd)) << c.what;
    }
    manager->SetApplyOptions(7);
}

namespace
{
// API hooks that only remember whether they are in place and how often
// they were put there.
bool g_hooksIn;
int g_hookInstalls;
void InstallCountingHooks()
{
    g_hooksIn = true;
    g_hookInstalls++;
}
void RemoveCountingHooks() { g_hooksIn = false; }
const SFApiHookControl kCountingHooks = {InstallCountingHooks, RemoveCountingHooks};
} // namespace

TEST_F(ManagerTest, ApiHooksAreInPlaceOnlyWhileASkinIsLoaded)
{
    g_hooksIn = false;
    g_hookInstalls = 0;
    CSFSkinFramework::SetApiHookControl(&kCountingHooks);
    struct Step
    {
        const char* what;
        std::function<void()> act;
        bool hooksIn;
        int installs;
    } steps[] = {
        {"options without a skin", [&] { manager->SetApplyOptions(3); }, false, 0},
        {"a loaded skin", [&] { manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"); }, true, 1},
        {"new options with a skin", [&] { manager->SetApplyOptions(7); }, true, 2},
        {"loading the same skin again", [&] { manager->LoadSkin(BuiltStylePath().c_str(), L"NormalBlue.ini"); },
         true, 3},
        {"a failed load", [&] { manager->LoadSkin(BuiltStylePath().c_str(), L"NoSuch.ini"); }, false, 3},
        {"options after the failure", [&] { manager->SetApplyOptions(3); }, false, 3},
    };
    for (const Step& step : steps)
    {
        step.act();
        EXPECT_EQ(step.hooksIn, g_hooksIn) << step.what;
        EXPECT_EQ(step.installs, g_hookInstalls) << step.what;
    }
    manager->SetApplyOptions(7);
    CSFSkinFramework::SetApiHookControl(NULL);
}
