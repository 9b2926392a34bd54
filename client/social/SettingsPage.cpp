#include "SettingsPage.h"

#include "DlgMain.h"
#include "LanguageTable.h"
#include "resource.h"

#include <string>

namespace
{
const COLORREF kSwitchKey = RGB(0, 255, 0);
const COLORREF kRadioKey = 0xD8E9EC;

// A picture button shows no caption, so the template's caption of a switch
// or radio moves, once, to a plain label to the right of its picture; the
// button keeps the picture's width. The label is a child of the page and
// goes with it.
void MoveCaptionToLabel(CImageButton& button, int pictureId)
{
    HWND hButton = button.GetSafeHwnd();
    HWND hParent = hButton ? ::GetParent(hButton) : NULL;
    int length = hButton ? ::GetWindowTextLengthW(hButton) : 0;
    if (!hParent || length <= 0)
        return;
    std::wstring text((size_t)length + 1, L'\0');
    ::GetWindowTextW(hButton, &text[0], length + 1);
    text.resize((size_t)length);
    int pictureWidth = 16;
    if (HBITMAP picture = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(pictureId)))
    {
        BITMAP bm{};
        if (::GetObjectW(picture, sizeof(bm), &bm))
            pictureWidth = bm.bmWidth;
        ::DeleteObject(picture);
    }
    RECT r;
    ::GetWindowRect(hButton, &r);
    ::MapWindowPoints(NULL, hParent, reinterpret_cast<POINT*>(&r), 2);
    const int gap = 4;
    // A button the page keeps hidden keeps its label hidden too.
    DWORD shown = (DWORD)::GetWindowLongPtrW(hButton, GWL_STYLE) & WS_VISIBLE;
    HWND label = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | shown | SS_LEFT | SS_CENTERIMAGE,
                                   r.left + pictureWidth + gap, r.top, (r.right - r.left) - pictureWidth - gap,
                                   r.bottom - r.top, hParent, NULL, AfxGetInstanceHandle(), NULL);
    if (label)
        ::SendMessageW(label, WM_SETFONT, ::SendMessageW(hButton, WM_GETFONT, 0, 0), FALSE);
    ::SetWindowPos(hButton, NULL, 0, 0, pictureWidth, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

CSettingsPage::CSettingsPage(UINT nIDTemplate, CWnd* pParent) : CSkinDialog(nIDTemplate, pParent)
{
    SetTopLeftBitmap(IDB_PAGE_FRAME);
    SetTopBitmap(IDB_PAGE_FRAME);
    SetTopRightBitmap(IDB_PAGE_FRAME);
    SetLeftBitmap(IDB_PAGE_FRAME);
    SetRightBitmap(IDB_PAGE_FRAME);
    SetBottomLeftBitmap(IDB_PAGE_FRAME);
    SetBottomBitmap(IDB_PAGE_FRAME);
    SetBottomRightBitmap(IDB_PAGE_FRAME);
    EnableDrag(FALSE);
}

void CSettingsPage::ShowSwitch(CImageButton& button, BOOL on)
{
    MoveCaptionToLabel(button, IDB_SWITCH_ON);
    if (on)
        button.SetBitmaps(IDB_SWITCH_ON_HOVER, kSwitchKey, IDB_SWITCH_ON, kSwitchKey, IDB_SWITCH_ON_PRESSED, kSwitchKey);
    else
        button.SetBitmaps(IDB_SWITCH_OFF_HOVER, kSwitchKey, IDB_SWITCH_OFF, kSwitchKey, IDB_SWITCH_OFF_PRESSED,
                          kSwitchKey);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

void CSettingsPage::ShowRadio(CImageButton& button, BOOL chosen)
{
    MoveCaptionToLabel(button, IDB_RADIO_ON);
    if (chosen)
        button.SetBitmaps(IDB_RADIO_ON_HOVER, kRadioKey, IDB_RADIO_ON, kRadioKey, IDB_RADIO_OFF, kRadioKey);
    else
        button.SetBitmaps(IDB_RADIO_OFF_HOVER, kRadioKey, IDB_RADIO_OFF, kRadioKey, IDB_RADIO_OFF_PRESSED, kRadioKey);
    if (button.GetSafeHwnd())
        button.Invalidate();
}

int CSettingsPage::Ask(LPCWSTR key, int buttons, LPCWSTR secondKey)
{
    CString second = secondKey ? Lang(secondKey) : CString();
    return CDlgMain::s_askUser(Lang(key), buttons, second, 0, GetParent() ? GetParent() : this);
}

BOOL CSettingsPage::OnInitDialog()
{
    ++m_nQuiet;
    BOOL result = CSkinDialog::OnInitDialog();
    --m_nQuiet;
    return result;
}

void CSettingsPage::ShowValues()
{
    ++m_nQuiet;
    UpdateData(FALSE);
    --m_nQuiet;
}

void CSettingsPage::EnableApply()
{
    if (m_nQuiet)
        return;
    CWnd* parent = GetParent();
    if (CWnd* apply = parent ? parent->GetDlgItem(IDC_CONFIG_APPLY) : NULL)
        apply->EnableWindow(TRUE);
}

BOOL CSettingsPage::IsApplyEnabled()
{
    CWnd* parent = GetParent();
    CWnd* apply = parent ? parent->GetDlgItem(IDC_CONFIG_APPLY) : NULL;
    return apply && apply->IsWindowEnabled();
}
