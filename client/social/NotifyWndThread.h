// CNotifyWndThread: the user-interface thread of one notification pop-up.
// It makes the pop-up window at its start, shows the three texts it was
// given and runs until the pop-up has ended; the object frees itself then.
#pragma once
#include "Framework.h"

class CTaskBarNotiferWnd;

class CNotifyWndThread : public CWinThread
{
    DECLARE_DYNCREATE(CNotifyWndThread)
  public:
    CNotifyWndThread();

    // Called before the thread starts: its start-up reads them.
    void SetTexts(const CString& text, const CString& second, const CString& third);
    void SetMainWindow(HWND main) { m_hMainWnd = main; }

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The pop-up (null until start-up and after it ended); its thread only.
    CTaskBarNotiferWnd* GetPopup() const { return m_pPopup; }
    void ForgetPopup() { m_pPopup = NULL; }

  private:
    CString m_strThird;
    CString m_strSecond;
    CString m_strText;
    CTaskBarNotiferWnd* m_pPopup;
    HWND m_hMainWnd;
};
