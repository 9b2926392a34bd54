#include "UpdateMessageBox.h"

#include "MarkupDrawer.h"
#include "UpdateButtonStyle.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CUpdateMessageBox, CSkinDialog)

BEGIN_MESSAGE_MAP(CUpdateMessageBox, CSkinDialog)
    ON_BN_CLICKED(IDC_UPDATE_CLOSE, &CUpdateMessageBox::OnCloseButton)
END_MESSAGE_MAP()

namespace
{
const int kButtonTop = 95;
const int kButtonWidth = 74;
const int kOkLeftOfTwo = 203;
const int kRightButtonLeft = 280;
} // namespace

CUpdateMessageBox::CUpdateMessageBox(LPCWSTR text, int style, CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_bOkOnly(style == 0), m_bOkCancel(style == 1), m_strText(text ? text : L""),
      m_strCaption(L"升级提示")
{
    m_hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
}

CUpdateMessageBox::~CUpdateMessageBox() = default;

void CUpdateMessageBox::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_CLOSE, m_btnClose);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_MESSAGE_TEXT, m_text);
    DDX_Text(pDX, IDC_MESSAGE_TEXT, m_strText);
}

BOOL CUpdateMessageBox::OnInitDialog()
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
    StyleCaptionButton(m_btnClose, IDB_BTN_CLOSE_SMALL);
    m_btnClose.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    StyleUpdateButton(m_btnOK, IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT);
    StyleUpdateButton(m_btnCancel, IDB_PAGE_BTN_LEFT, IDB_PAGE_BTN_MIDDLE, IDB_PAGE_BTN_RIGHT);
    m_text.m_textColour = RGB(0, 0, 0);

    CRect ok, cancel;
    m_btnOK.GetWindowRect(&ok);
    m_btnCancel.GetWindowRect(&cancel);
    if (m_bOkOnly)
    {
        m_btnCancel.ShowWindow(SW_HIDE);
        m_btnOK.SetWindowPos(NULL, kRightButtonLeft, kButtonTop, kButtonWidth, ok.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    else
    {
        m_btnOK.SetWindowPos(NULL, kOkLeftOfTwo, kButtonTop, kButtonWidth, ok.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        m_btnCancel.SetWindowPos(NULL, kRightButtonLeft, kButtonTop, kButtonWidth, cancel.Height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowText(m_strCaption);
    CenterWindow();
    m_btnOK.SetFocus();
    // A text longer than the box can show is read in full from its tip. The
    // tip draws mark-up, and module names come from the network: they are
    // shown as plain text, never as tags or links.
    m_tooltip.AddTool(&m_text, MarkupDrawer::EscapeText((LPCWSTR)m_strText).c_str());
    return FALSE; // the focus was set here
}

void CUpdateMessageBox::OnCloseButton()
{
    OnCancel();
}
