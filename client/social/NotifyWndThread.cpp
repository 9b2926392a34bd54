#include "NotifyWndThread.h"

#include "TaskBarNotiferWnd.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CNotifyWndThread, CWinThread)

CNotifyWndThread::CNotifyWndThread() : m_pPopup(NULL), m_hMainWnd(NULL)
{
}

void CNotifyWndThread::SetTexts(const CString& text, const CString& second, const CString& third)
{
    m_strText = text;
    m_strSecond = second;
    m_strThird = third;
}

BOOL CNotifyWndThread::InitInstance()
{
    m_bAutoDelete = TRUE;
    CRichEdit20Ctrl::LoadLibrary();
    CTaskBarNotiferWnd* popup = new CTaskBarNotiferWnd(NULL, this);
    popup->SetMainWindow(m_hMainWnd);
    if (!popup->Create(CTaskBarNotiferWnd::IDD, NULL))
    {
        delete popup;
        if (m_hMainWnd)
            ::SendMessageW(m_hMainWnd, WM_NOTIFY_THREAD_ENDED, (WPARAM)this, 0);
        return FALSE;
    }
    m_pPopup = popup;
    popup->SetSkinBitmaps(IDB_POPUP_SKIN, IDB_POPUP_SKIN_HOT);
    const int w = popup->BitmapWidth(), h = popup->BitmapHeight();
    popup->SetTextRect(10, 30, w - 5, h - 10);
    popup->SetCloseRect(w - 24, 2, w - 2, 23);
    popup->SetWindowPos(NULL, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!popup->Show(m_strText, m_strSecond, m_strThird))
    {
        // No place on the screen: the pop-up is dropped and its thread ends.
        m_pPopup = NULL;
        popup->DestroyWindow();
        if (m_hMainWnd)
            ::SendMessageW(m_hMainWnd, WM_NOTIFY_THREAD_ENDED, (WPARAM)this, 0);
        return FALSE;
    }
    return TRUE;
}

int CNotifyWndThread::ExitInstance()
{
    if (m_pPopup && m_pPopup->GetSafeHwnd())
        m_pPopup->DestroyWindow(); // a WM_QUIT from the main window ends a pop-up still shown
    m_pPopup = NULL;
    return CWinThread::ExitInstance();
}
