// The HTML control: it takes its placeholder's place, turns page-command links
// into WM_COMMAND messages for its parent, and keeps the last navigation
// asked for behind its placeholder page. There is no browser engine here, so
// the navigation events are raised on the control's event sink as the
// browser raises them.
#include <gtest/gtest.h>

#include "HtmlCtrl.h"

#include <exdispid.h>

#include <string>

namespace
{
const UINT kPlaceholderId = 1153;

struct HostWindow
{
    HWND parent = NULL;
    CHtmlCtrl control;

    HostWindow()
    {
        parent = CreateWindowExW(0, L"STATIC", L"html host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL,
                                 GetModuleHandleW(NULL), NULL);
        CreateWindowExW(0, L"STATIC", L"HTML", WS_CHILD | WS_VISIBLE, 10, 20, 200, 100, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlaceholderId)), GetModuleHandleW(NULL),
                        NULL);
    }
    ~HostWindow()
    {
        if (control.GetSafeHwnd())
            control.DestroyWindow();
        DestroyWindow(parent);
    }
};

// Raises BeforeNavigate2 on the control's sink; returns the cancel flag.
bool BeforeNavigate(CHtmlCtrl& control, const wchar_t* url)
{
    VARIANT urlValue, flags, target, post, headers;
    VariantInit(&urlValue);
    VariantInit(&flags);
    VariantInit(&target);
    VariantInit(&post);
    VariantInit(&headers);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = SysAllocString(url);
    flags.vt = VT_I4;
    target.vt = VT_BSTR;
    target.bstrVal = SysAllocString(L"");
    headers.vt = VT_BSTR;
    headers.bstrVal = SysAllocString(L"");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[7];
    for (VARIANTARG& a : args)
        VariantInit(&a);
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = NULL;
    VARIANT* byRef[] = {&headers, &post, &target, &flags, &urlValue};
    for (int i = 1; i <= 5; ++i)
    {
        args[i].vt = VT_VARIANT | VT_BYREF;
        args[i].pvarVal = byRef[i - 1];
    }
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS params = {args, NULL, 7, 0};
    control.GetEventSink()->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
    VariantClear(&urlValue);
    VariantClear(&target);
    VariantClear(&headers);
    return cancel != VARIANT_FALSE;
}

void RaiseUrlEvent(CHtmlCtrl& control, DISPID id, const wchar_t* url)
{
    VARIANT urlValue;
    VariantInit(&urlValue);
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = SysAllocString(url);
    VARIANTARG args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[1].vt = VT_DISPATCH;
    args[0].vt = VT_VARIANT | VT_BYREF;
    args[0].pvarVal = &urlValue;
    DISPPARAMS params = {args, NULL, 2, 0};
    control.GetEventSink()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL);
    VariantClear(&urlValue);
}

struct Posted
{
    UINT id;
    std::wstring argument;
    bool hasArgument;
};

// The WM_COMMAND messages waiting for the parent; their arguments are freed.
std::vector<Posted> TakeCommands(HWND parent)
{
    std::vector<Posted> found;
    MSG msg;
    while (PeekMessageW(&msg, parent, WM_COMMAND, WM_COMMAND, PM_REMOVE))
    {
        wchar_t* argument = reinterpret_cast<wchar_t*>(msg.lParam);
        found.push_back({LOWORD(msg.wParam), argument ? argument : L"", argument != NULL});
        delete[] argument;
    }
    return found;
}
} // namespace

TEST(HtmlCtrl, TakesThePlaceOfItsStatic)
{
    HostWindow host;
    ASSERT_TRUE(host.control.CreateFromStatic(kPlaceholderId, CWnd::FromHandle(host.parent)));
    EXPECT_EQ(host.control.GetSafeHwnd(), GetDlgItem(host.parent, kPlaceholderId));
    RECT r;
    GetWindowRect(host.control.GetSafeHwnd(), &r);
    MapWindowPoints(NULL, host.parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(200, r.right - r.left);
    EXPECT_FALSE(GetWindowLongPtrW(host.control.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    CHtmlCtrl other;
    EXPECT_FALSE(other.CreateFromStatic(999, CWnd::FromHandle(host.parent)));
}

TEST(HtmlCtrl, PageCommandsBecomeMessagesWithHeapArguments)
{
    HostWindow host;
    ASSERT_TRUE(host.control.CreateFromStatic(kPlaceholderId, CWnd::FromHandle(host.parent)));
    host.control.SetCommandPrefix(L"yeb360://");
    host.control.AddPageCommand(L"addsong/", 32849);
    host.control.AddPageCommand(L"openwindow/", 32858);
    host.control.AddPageCommand(L"openwindow_ad/", 32859);
    host.control.AddPageCommand(L"close/", 32852);
    host.control.AddPageCommand(L"modifynick", 32874);

    struct Case
    {
        const wchar_t* url;
        bool cancelled;
        std::vector<Posted> posted;
    } cases[] = {
        {L"yeb360://addsong/a%20b&c", true, {{32849, L"a%20b&c", true}}},
        {L"yeb360://close/", true, {{32852, L"", false}}},
        {L"YEB360://Close/now", true, {{32852, L"now", true}}},
        {L"yeb360://openwindow_ad/http://x/", true, {{32859, L"http://x/", true}}},
        {L"yeb360://openwindow/page", true, {{32858, L"page", true}}},
        {L"yeb360://modifynick", true, {{32874, L"", false}}},
        {L"yeb360://unknown/x", true, {}},
        {L"yeb360:/", false, {}},
        {L"http://www.example.com/yeb360://close/", false, {}},
        {L"app:close/", false, {}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.cancelled, BeforeNavigate(host.control, c.url)) << c.url;
        std::vector<Posted> posted = TakeCommands(host.parent);
        ASSERT_EQ(c.posted.size(), posted.size()) << c.url;
        for (size_t i = 0; i < posted.size(); ++i)
        {
            EXPECT_EQ(c.posted[i].id, posted[i].id) << c.url;
            EXPECT_EQ(c.posted[i].hasArgument, posted[i].hasArgument) << c.url;
            EXPECT_EQ(c.posted[i].argument, posted[i].argument) << c.url;
        }
    }
}

TEST(HtmlCtrl, WithoutAPrefixAppLinksAreCommands)
{
    HostWindow host;
    ASSERT_TRUE(host.control.CreateFromStatic(kPlaceholderId, CWnd::FromHandle(host.parent)));
    host.control.AddPageCommand(L"loginclient/", 32853);
    EXPECT_TRUE(BeforeNavigate(host.control, L"app:loginclient/ann@yeb360.com&secret1"));
    std::vector<Posted> posted = TakeCommands(host.parent);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(32853u, posted[0].id);
    EXPECT_EQ(L"ann@yeb360.com&secret1", posted[0].argument);
    EXPECT_STREQ(L"app:", host.control.m_prefix);
    EXPECT_FALSE(BeforeNavigate(host.control, L"yeb360://loginclient/x"));
}

TEST(HtmlCtrl, OnlyTheLastWaitingNavigationRunsAfterThePlaceholder)
{
    HostWindow host;
    ASSERT_TRUE(host.control.CreateFromStatic(kPlaceholderId, CWnd::FromHandle(host.parent)));
    const char body[] = "username=a&password=480357";
    host.control.SafeNavigate(L"http://first/", 14);
    host.control.SafeNavigate(L"http://second/", 14, NULL, L"Content-Type: application/x-www-form-urlencoded", body,
                              sizeof(body) - 1);
    ASSERT_NE(nullptr, host.control.m_pPending);
    EXPECT_STREQ(L"http://second/", host.control.m_pPending->url);
    EXPECT_EQ(14u, host.control.m_pPending->flags);
    EXPECT_EQ(std::string(body), std::string(host.control.m_pPending->postData.begin(),
                                             host.control.m_pPending->postData.end()));
    RaiseUrlEvent(host.control, DISPID_NAVIGATECOMPLETE2, L"res://loading.htm");
    EXPECT_EQ(nullptr, host.control.m_pPending) << "run once the placeholder page is there";

    // A failed placeholder still lets the waiting request go.
    host.control.SafeNavigate(L"http://third/");
    ASSERT_NE(nullptr, host.control.m_pPending);
    VARIANT url, frame, status;
    VariantInit(&url);
    VariantInit(&frame);
    VariantInit(&status);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(L"res://loading.htm");
    status.vt = VT_I4;
    status.lVal = 404;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG args[5];
    for (VARIANTARG& a : args)
        VariantInit(&a);
    args[4].vt = VT_DISPATCH;
    args[3].vt = args[2].vt = args[1].vt = VT_VARIANT | VT_BYREF;
    args[3].pvarVal = &url;
    args[2].pvarVal = &frame;
    args[1].pvarVal = &status;
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS params = {args, NULL, 5, 0};
    host.control.GetEventSink()->Invoke(DISPID_NAVIGATEERROR, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL,
                                        NULL);
    VariantClear(&url);
    EXPECT_EQ(nullptr, host.control.m_pPending);

    // Without the placeholder the navigation goes at once.
    host.control.m_bShowPlaceholder = FALSE;
    host.control.SafeNavigate(L"http://fourth/");
    EXPECT_EQ(nullptr, host.control.m_pPending);
}

TEST(HtmlCtrl, MediaLinks)
{
    struct Case
    {
        const wchar_t* url;
        BOOL media;
    } cases[] = {
        {L"http://host/song.mp3", TRUE},         {L"HTTP://host/Song.WMA", TRUE},
        {L"http://host/song.mp3?x=1.html", TRUE}, {L"http://host/song.mp3.html", FALSE},
        {L"https://host/song.mp3", FALSE},        {L"http://host/mp3", FALSE},
        {L"http://host/a.wmv", FALSE},            {L"", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.media, CHtmlCtrl::IsMediaLink(c.url)) << c.url;
}
