#include "DlgMessage.h"
#include "LanguageTable.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CDlgMessage, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgMessage, CSkinDialog)
    ON_BN_CLICKED(IDC_MESSAGE_CLOSE, &CDlgMessage::OnCloseButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgMessage::CDlgMessage(LPCTSTR text, int buttons, LPCTSTR secondLine, const CString& caption, int autoClose,
                         int flash, CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_bOkOnly(buttons == BUTTONS_OK), m_bOkCancel(buttons == BUTTONS_OK_CANCEL),
      m_strText(text ? text : L""), m_strSecondLine(secondLine ? secondLine : L""), m_nFlashTimer(0),
      m_nAutoCloseTimer(0), m_nFirstTick(1), m_bAutoClose(autoClose), m_bFlash(flash), m_strCaption(caption)
{
    m_bHasSecondLine = m_strSecondLine.GetLength() > 0;
}

CDlgMessage::~CDlgMessage() = default;

int CDlgMessage::ShowMessage(LPCTSTR text, int buttons, LPCTSTR secondLine, CString caption, int autoClose, int flash,
                             CWnd* pParent)
{
    CDlgMessage box(text, buttons, secondLine, caption, autoClose, flash, pParent);
    return (int)box.DoModal();
}

void CDlgMessage::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MESSAGE_CLOSE, m_btnClose);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_MESSAGE_TEXT, m_text);
    DDX_Control(pDX, IDC_MESSAGE_SECOND_LINE, m_secondText);
    DDX_Text(pDX, IDC_MESSAGE_TEXT, m_strText);
    DDX_Text(pDX, IDC_MESSAGE_SECOND_LINE, m_strSecondLine);
}

BOOL CDlgMessage::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetTopLeftBitmap(IDB_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_FRAME_TOP);
    SetTopRightBitmap(IDB_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_FRAME_SIDE);
    SetRightBitmap(IDB_FRAME_SIDE);
    SetBottomLeftBitmap(IDB_FRAME_BOTTOM_LEFT);
    SetBottomBitmap(IDB_FRAME_BOTTOM);
    SetBottomRightBitmap(IDB_FRAME_BOTTOM_RIGHT);
    MoveWindow(0, 0, WIDTH, HEIGHT);

    CRect client;
    GetClientRect(&client);
    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE_SMALL, RGB(255, 0, 255));
    CRect close;
    m_btnClose.GetWindowRect(&close);
    m_btnClose.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (ThemeButton* button : {&m_btnOK, &m_btnCancel})
    {
        button->SetImages(IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT, 4);
        button->m_bSplitCaption = FALSE;
        button->m_clrNormal = RGB(0x40, 0x4C, 0x62);
        button->m_clrHover = RGB(0x27, 0x6F, 0x7E);
        button->m_clrPressed = RGB(0x33, 0x33, 0x33);
        button->m_clrDisabled = RGB(0x40, 0x4C, 0x62);
        button->m_bMiddleColour = FALSE;
        button->m_clrMiddle = RGB(0x33, 0x99, 0xCC);
    }
    UpdateData(TRUE);

    CRect ok;
    m_btnOK.GetWindowRect(&ok);
    if (m_bOkOnly)
    {
        m_btnCancel.ShowWindow(SW_HIDE);
        m_btnOK.SetWindowPos(NULL, 280, 95, 74, ok.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    else
    {
        m_btnOK.SetWindowPos(NULL, 203, 95, 74, ok.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        CRect cancel;
        m_btnCancel.GetWindowRect(&cancel);
        m_btnCancel.SetWindowPos(NULL, 280, 95, 74, cancel.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_bHasSecondLine)
    {
        m_text.SetWindowPos(NULL, 13, 43, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_secondText.SetWindowPos(NULL, 13, 67, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    else
    {
        m_text.SetWindowPos(NULL, 13, 52, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_secondText.ShowWindow(SW_HIDE);
    }
    SetWindowText(m_strCaption.IsEmpty() ? Lang(L"INFO_COMMON_MSG_TITLE") : m_strCaption);
    if (m_bFlash)
    {
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, WS_EX_APPWINDOW);
        m_nFlashTimer = SetTimer(TIMER_FLASH, 800);
    }
    if (m_bAutoClose)
        m_nAutoCloseTimer = SetTimer(TIMER_AUTO_CLOSE, 10000);
    CenterWindow();
    m_btnOK.SetFocus();
    CString tip;
    m_text.GetWindowText(tip);
    m_tooltip.AddTool(&m_text, tip);
    m_secondText.GetWindowText(tip);
    m_tooltip.AddTool(&m_secondText, tip);
    return FALSE; // the focus was set here
}

void CDlgMessage::OnCloseButton()
{
    OnCancel();
}

void CDlgMessage::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_nFlashTimer)
    {
        KillTimer(m_nFlashTimer);
        m_nFlashTimer = 0;
    }
    CSkinDialog::OnLButtonDown(nFlags, point);
}

void CDlgMessage::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_FLASH)
    {
        FLASHWINFO info{sizeof(info), m_hWnd, FLASHW_TRAY, 2, 800};
        ::FlashWindowEx(&info);
    }
    else if (nIDEvent == TIMER_AUTO_CLOSE)
    {
        if (m_nFirstTick)
            m_nFirstTick = 0;
        else
        {
            m_bAutoClose = FALSE;
            OnOK();
        }
    }
}

void CDlgMessage::OnDestroy()
{
    if (m_nFlashTimer)
        KillTimer(m_nFlashTimer);
    if (m_nAutoCloseTimer)
        KillTimer(m_nAutoCloseTimer);
    m_nFlashTimer = m_nAutoCloseTimer = 0;
    Default();
}
