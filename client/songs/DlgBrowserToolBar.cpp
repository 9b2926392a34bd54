#include "DlgBrowserToolBar.h"

#include "ToolbarFace.h"
#include "WebSongBrowserCtrl.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDlgBrowserToolBar, CSkinDialog)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, &CDlgBrowserToolBar::OnPrintClient)
END_MESSAGE_MAP()

CDlgBrowserToolBar::CDlgBrowserToolBar() : CSkinDialog(IDD_BROWSER_TOOLBAR, NULL)
{
    m_bDrag = FALSE;
}

void CDlgBrowserToolBar::SetUpSiteButton(ThemeButton& button, UINT id)
{
    if (!button.SubclassDlgItem(id, this))
        return;
    button.SetImages(IDB_TOOLBAR_BTN_LEFT, IDB_TOOLBAR_BTN_MIDDLE, IDB_TOOLBAR_BTN_RIGHT, 4);
    button.m_clrNormal = 0x624C40;
    button.m_clrHover = 0x7E6F27;
    button.m_clrPressed = 0x333333;
    button.m_clrDisabled = 0xCC9933;
}

BOOL CDlgBrowserToolBar::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    LoadBitmapResource(m_background, IDB_BROWSER_BAND);
    SetUpSiteButton(m_btnSite1, IDC_TOOLBAR_SEARCH_1);
    SetUpSiteButton(m_btnSite2, IDC_TOOLBAR_SEARCH_2);
    // Two places kept for more sites: no picture yet, only the strip shows.
    for (CImageButton* button : {&m_btnImage1, &m_btnImage2})
    {
        if (!button->SubclassDlgItem(button == &m_btnImage1 ? IDC_TOOLBAR_IMAGE_1 : IDC_TOOLBAR_IMAGE_2, this))
            continue;
        button->m_bParentBackground = TRUE;
        button->m_bDrawFrame = FALSE;
    }
    return TRUE;
}

BOOL CDlgBrowserToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id == IDC_TOOLBAR_SEARCH_1 || id == IDC_TOOLBAR_SEARCH_2)
    {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_BROWSER_EVENT, BROWSER_EVENT_OPEN_SITE, id == IDC_TOOLBAR_SEARCH_1 ? 1 : 2);
        return TRUE;
    }
    if (id == IDC_TOOLBAR_IMAGE_1 || id == IDC_TOOLBAR_IMAGE_2)
        return TRUE; // placeholders for more sites
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CDlgBrowserToolBar::OnPaint()
{
    CPaintDC dc(this);
    ToolbarFace::Paint(this, &dc, m_hIcon, m_background, RGB(232, 232, 232));
}

void CDlgBrowserToolBar::PaintBackground(CDC* pDC)
{
    ToolbarFace::PaintBackground(this, pDC, m_background, RGB(232, 232, 232));
}

LRESULT CDlgBrowserToolBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    // The buttons take their background from here.
    PaintBackground(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return TRUE;
}
