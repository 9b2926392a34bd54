#include "AdvertiseStaticLink.h"

#include <string.h>

CAdvertiseStaticLink::CAdvertiseStaticLink() : CStaticLink(NULL, FALSE) {}

UINT CAdvertiseStaticLink::ParseWindowLink(const CString& link, CString& rest)
{
    static const wchar_t kWindow[] = L"yeb360://openwindow/";
    static const wchar_t kWindowAd[] = L"yeb360://openwindow_ad/";
    if (link.Find(kWindow) == 0)
    {
        rest = link.Mid((int)wcslen(kWindow));
        return ID_OPEN_WINDOW;
    }
    if (link.Find(kWindowAd) == 0)
    {
        rest = link.Mid((int)wcslen(kWindowAd));
        return ID_OPEN_WINDOW_AD;
    }
    rest.Empty();
    return 0;
}

void CAdvertiseStaticLink::OnClick()
{
    if (!m_bOpenTarget)
    {
        SendClickToParent();
        return;
    }
    CString rest;
    UINT command = ParseWindowLink(m_link.m_strTarget, rest);
    if (!command)
    {
        m_link.Navigate();
        return;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->GetSafeHwnd())
        return;
    // The main window owns and frees the copy (WM_COMMAND lParam).
    wchar_t* copy = new wchar_t[rest.GetLength() + 1];
    wcscpy(copy, rest);
    if (!main->PostMessage(WM_COMMAND, command, (LPARAM)copy))
        delete[] copy;
}
