#include "MainWindowLink.h"
#include "LinkPolicy.h"

#include <string.h>

namespace
{
IMainWindowLink* g_link = nullptr;
}

void SetMainWindowLink(IMainWindowLink* link)
{
    g_link = link;
    CLinkPolicy::SetPageCommandTarget(link);
}

IMainWindowLink* GetMainWindowLink()
{
    return g_link;
}

UINT IMainWindowLink::ParsePageCommand(const CString& link, CString& rest)
{
    // "openwindow_ad/" is not a longer "openwindow/": each prefix is compared
    // over its full length.
    static const struct
    {
        const wchar_t* prefix;
        UINT command;
    } commands[] = {{L"yeb360://openwindow/", ID_OPEN_WINDOW}, {L"yeb360://openwindow_ad/", ID_OPEN_WINDOW_AD}};
    for (const auto& c : commands)
        if (link.Find(c.prefix) == 0)
        {
            rest = link.Mid((int)wcslen(c.prefix));
            return c.command;
        }
    rest.Empty();
    return 0;
}

BOOL IMainWindowLink::RunPageCommand(const wchar_t* link)
{
    CString rest;
    UINT command = ParsePageCommand(link, rest);
    if (!command)
        return FALSE;
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd())
        return FALSE;
    // The main window owns and frees the copy (WM_COMMAND lParam).
    wchar_t* copy = new wchar_t[rest.GetLength() + 1];
    wcscpy(copy, rest);
    if (main->PostMessage(WM_COMMAND, command, (LPARAM)copy))
        return TRUE;
    delete[] copy;
    return FALSE;
}
