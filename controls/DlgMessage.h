// CDlgMessage: the client's skinned message box, shown through ShowMessage:
// one or two lines of text, OK or OK and Cancel, a close button, and two
// options: closing itself after about twenty seconds and flashing its
// taskbar button until the user clicks it.
#pragma once
#include "ImageButton.h"
#include "SkinDialog.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CDlgMessage : public CSkinDialog
{
    DECLARE_DYNAMIC(CDlgMessage)
public:
    enum { IDD = 133, BUTTONS_OK = 0, BUTTONS_OK_CANCEL = 1 };
    enum { TIMER_FLASH = 1027, TIMER_AUTO_CLOSE = 1028 };
    enum { WIDTH = 384, HEIGHT = 142 };

    CDlgMessage(LPCTSTR text, int buttons, LPCTSTR secondLine, const CString& caption, int autoClose, int flash,
                CWnd* pParent = NULL);
    ~CDlgMessage() override;

    // Runs the box modally: IDOK after OK, Enter or the auto-close; IDCANCEL
    // after Cancel, the close button or Esc.
    static int ShowMessage(LPCTSTR text, int buttons, LPCTSTR secondLine, CString caption, int autoClose, int flash,
                           CWnd* pParent);

    CImageButton m_btnClose;
    ThemeButton m_btnOK;
    ThemeButton m_btnCancel;
    CTransparentStatic m_text;
    CTransparentStatic m_secondText;
    BOOL m_bOkOnly;
    BOOL m_bOkCancel;
    BOOL m_bHasSecondLine;
    CString m_strText;
    CString m_strSecondLine;
    UINT_PTR m_nFlashTimer;
    UINT_PTR m_nAutoCloseTimer;
    int m_nFirstTick;
    BOOL m_bAutoClose;
    BOOL m_bFlash;
    CString m_strCaption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCloseButton();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
