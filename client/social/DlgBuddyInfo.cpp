#include "DlgBuddyInfo.h"

#include "ClientApp.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "SkinFrame.h"
#include "StripButton.h"
#include "resource.h"

#include <set>

namespace
{
const wchar_t LanguageMissing[] = L"Load language file fails!";
const COLORREF NickColour = RGB(63, 88, 106);
const COLORREF InfoColour = RGB(125, 146, 172);
const COLORREF CountColour = RGB(51, 153, 204);

void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* DefaultMainWindow()
{
    return CDlgMain::Instance();
}

int DefaultPaneWidth()
{
    CDlgMain* main = CDlgMain::Instance();
    if (!main || !main->m_paneFriend.GetSafeHwnd())
        return 0;
    CRect pane;
    main->m_paneFriend.GetWindowRect(&pane);
    return pane.Width();
}
} // namespace

CDlgBuddyInfo* CDlgBuddyInfo::s_instance = NULL;
CWnd* (*CDlgBuddyInfo::s_mainWindow)() = &DefaultMainWindow;
int (*CDlgBuddyInfo::s_paneWidth)() = &DefaultPaneWidth;
void (*CDlgBuddyInfo::s_runSongChooser)(const CString&, const CString&) = NULL;
void (*CDlgBuddyInfo::s_runAvatarChooser)(HBITMAP) = NULL;
void (*CDlgBuddyInfo::s_runSettings)() = NULL;

IMPLEMENT_DYNAMIC(CDlgBuddyInfo, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgBuddyInfo, CSkinDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_CARD_CLOSE, &CDlgBuddyInfo::OnClose)
    ON_BN_CLICKED(IDC_CARD_ACTION_1, &CDlgBuddyInfo::OnAction1)
    ON_BN_CLICKED(IDC_CARD_ACTION_2, &CDlgBuddyInfo::OnAction2)
    ON_BN_CLICKED(IDC_CARD_ACTION_3, &CDlgBuddyInfo::OnAction3)
END_MESSAGE_MAP()

CDlgBuddyInfo::CDlgBuddyInfo()
    : CSkinDialog(IDD, NULL), m_bPendingNotShown(FALSE), m_bBuddyCard(FALSE), m_nAlpha(0)
{
}

CDlgBuddyInfo::~CDlgBuddyInfo()
{
}

CDlgBuddyInfo* CDlgBuddyInfo::GetInstance()
{
    if (!s_instance)
        s_instance = new CDlgBuddyInfo();
    return s_instance;
}

BOOL CDlgBuddyInfo::IsInstanceWindow()
{
    return s_instance && ::IsWindow(s_instance->GetSafeHwnd());
}

void CDlgBuddyInfo::DestroyInstance()
{
    if (!s_instance)
        return;
    if (::IsWindow(s_instance->GetSafeHwnd()))
        s_instance->DestroyWindow();
    delete s_instance;
    s_instance = NULL;
}

int CDlgBuddyInfo::SetFriendItem(const CFriendItem& item, BOOL show)
{
    m_pendingItem = item;
    m_bPendingNotShown = !show;
    if (show)
        RefreshInfo();
    return 1;
}

BOOL CDlgBuddyInfo::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetTopLeftBitmap(IDB_CARD_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_CARD_FRAME_TOP);
    SetTopRightBitmap(IDB_CARD_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_CARD_FRAME_LEFT);
    SetRightBitmap(IDB_CARD_FRAME_RIGHT);
    SetBottomLeftBitmap(IDB_CARD_FRAME_BOTTOM_LEFT);
    SetBottomBitmap(IDB_CARD_FRAME_BOTTOM);
    SetBottomRightBitmap(IDB_CARD_FRAME_BOTTOM_RIGHT);
    SkinFrame::LoadBitmapResource(m_chooserBitmap, IDB_SCROLLBAR_SKIN);
    SetWindowPos(NULL, 0, 0, WIDTH, HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    SetUpControls();
    return TRUE;
}

void CDlgBuddyInfo::SetUpControls()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();

    m_avatar.SubclassDlgItem(IDC_CARD_AVATAR, this);
    SkinFrame::LoadBitmapResource(m_avatar.m_defaultBitmap, IDB_DEFAULT_AVATAR);
    Place(m_avatar, 13, 11, 42, 42);
    m_avatar.SetImage(L"");

    m_presence.SubclassDlgItem(IDC_CARD_STATUS, this);
    const UINT icons[] = {IDI_PRESENCE_ONLINE, IDI_PRESENCE_AWAY, IDI_PRESENCE_BUSY, IDI_PRESENCE_INVISIBLE};
    for (int presence = 0; presence < 4; ++presence)
        m_presence.AddStatusIcon(presence, icons[presence]);
    Place(m_presence, 68, 10, 16, 16);

    m_btnClose.SubclassDlgItem(IDC_CARD_CLOSE, this);
    ShowAsStripButton(m_btnClose, IDB_BTN_CLOSE_TINY);
    CRect closeRect;
    m_btnClose.GetWindowRect(&closeRect);
    const int closeWidth = closeRect.Width();
    m_btnClose.SetWindowPos(NULL, w - closeWidth - 5, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    struct Label
    {
        CTransparentStatic* control;
        UINT id;
        COLORREF colour;
        int x, y, cx;
        BOOL visible;
    } labels[] = {
        {&m_nick, IDC_CARD_NICK, NickColour, 92, 10, w - closeWidth - 100, TRUE},
        {&m_signature, IDC_CARD_SIGNATURE, InfoColour, 92, 27, w - 96, TRUE},
        {&m_address, IDC_CARD_ADDRESS, InfoColour, 92, 44, w - 96, TRUE},
        {&m_label1, IDC_CARD_LABEL_1, InfoColour, 10, 66, 60, FALSE},
        {&m_totalSongs, IDC_CARD_TOTAL_SONGS, CountColour, 92, 66, 56, TRUE},
        {&m_label2, IDC_CARD_LABEL_2, InfoColour, 140, 66, 10, FALSE},
        {&m_newSongs, IDC_CARD_NEW_SONGS, CountColour, 150, 66, w - 154, TRUE},
    };
    for (Label& label : labels)
    {
        label.control->SubclassDlgItem(label.id, this);
        label.control->m_textColour = label.colour;
        Place(*label.control, label.x, label.y, label.cx, 16);
        label.control->ShowWindow(label.visible ? SW_SHOW : SW_HIDE);
    }

    ThemeButton* actions[] = {&m_btnAction1, &m_btnAction2, &m_btnAction3};
    const UINT ids[] = {IDC_CARD_ACTION_1, IDC_CARD_ACTION_2, IDC_CARD_ACTION_3};
    for (int i = 0; i < 3; ++i)
    {
        actions[i]->SubclassDlgItem(ids[i], this);
        actions[i]->SetImages(IDB_CARD_BTN_LEFT, IDB_CARD_BTN_MIDDLE, IDB_CARD_BTN_RIGHT, 4);
        actions[i]->m_clrNormal = actions[i]->m_clrPressed = actions[i]->m_clrDisabled = NickColour;
        actions[i]->m_clrHover = CountColour;
        actions[i]->m_bSplitCaption = FALSE; // a caption is one line of text, left to right
    }
    int h = m_btnAction1.m_images.SizeOf(ThreePieceImages::NORMAL, ThreePieceImages::LEFT).cy;
    if (h <= 0)
        h = 22;
    // From the top: 939, 940, 938, stacked on the bottom edge.
    Place(m_btnAction1, 1, client.bottom - 3 * h - 4, w - 2, h);
    Place(m_btnAction2, 1, client.bottom - 2 * h - 4, w - 2, h);
    Place(m_btnAction3, 1, client.bottom - h - 4, w - 2, h);
}

CString CDlgBuddyInfo::OwnId() const
{
    CString email;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(email);
    return email;
}

BOOL CDlgBuddyInfo::LangText(LPCWSTR key, const CString& value, CString& text)
{
    CString format = Lang(key);
    if (format.IsEmpty())
    {
        // Said once per text: the card is refreshed at every hover.
        static std::set<CString, CStringLess> reported;
        if (reported.insert(key).second)
            CDlgMessage::ShowMessage(LanguageMissing, CDlgMessage::BUTTONS_OK, L"", CString(), 0, 0, NULL);
        return FALSE;
    }
    text = format;
    text.Replace(L"%s", value);
    return TRUE;
}

BOOL CDlgBuddyInfo::LangCount(LPCWSTR key, int value, CString& text)
{
    CString number;
    number.Format(L"%d", value);
    if (!LangText(key, number, text))
        return FALSE;
    text.Replace(L"%d", number);
    return TRUE;
}

void CDlgBuddyInfo::VisibleActions(const CFriendItem& item, BOOL buddyCard, BOOL (&shown)[3])
{
    shown[0] = TRUE;
    if (!buddyCard)
    {
        shown[1] = shown[2] = TRUE;
        return;
    }
    if (item.presence == PRESENCE_INVISIBLE)
    {
        shown[1] = shown[2] = FALSE;
        return;
    }
    shown[1] = TRUE;
    shown[2] = (item.buttons & 2) != 0;
}

CPoint CDlgBuddyInfo::CardPosition(const CRect& mainWindow, int paneWidth, int itemTop)
{
    int x = mainWindow.left - 232;
    if (x < 0)
        x = mainWindow.left + paneWidth + 13;
    return CPoint(x, itemTop + 2);
}

void CDlgBuddyInfo::FillButtons()
{
    ThemeButton* actions[] = {&m_btnAction1, &m_btnAction2, &m_btnAction3};
    static const LPCWSTR buddyKeys[] = {L"INFO_BUDDYINFO_DLG_SHOWPRIVATEINFO", L"INFO_BUDDYINFO_DLG_SENDSONG_TO",
                                        L"INFO_BUDDYINFO_DLG_SHOW_BUDDY"};
    static const LPCWSTR ownKeys[] = {L"INFO_BUDDYINFO_DLG_SHOWINFOMATION", L"INFO_BUDDYINFO_DLG_MODIFY_AVATAR",
                                      L"INFO_BUDDYINFO_DLG_MODIFY_NICKNAME"};
    BOOL shown[3];
    VisibleActions(m_shownItem, m_bBuddyCard, shown);
    for (int i = 0; i < 3; ++i)
    {
        CString text;
        if (LangText(m_bBuddyCard ? buddyKeys[i] : ownKeys[i], m_shownItem.nick, text))
            actions[i]->SetWindowText(text);
        // The own card reads as plain buttons, a buddy's as links.
        actions[i]->m_bSizeToCaption = FALSE;
        actions[i]->m_clrNormal = m_bBuddyCard ? CountColour : NickColour;
        actions[i]->ShowWindow(shown[i] ? SW_SHOW : SW_HIDE);
        actions[i]->Invalidate();
    }
}

void CDlgBuddyInfo::FillSongCounts()
{
    CString text;
    if (m_shownItem.totalSongs != 0 && LangCount(L"INFO_LIST_FRIEND_TOTAL_SONG", m_shownItem.totalSongs, text))
    {
        m_totalSongs.SetWindowText(text);
        m_totalSongs.ShowWindow(SW_SHOW);
    }
    else
        m_totalSongs.ShowWindow(SW_HIDE);
    if (m_shownItem.newSongs != 0 && LangCount(L"INFO_LIST_FRIEND_NEW_SONG", m_shownItem.newSongs, text))
    {
        m_newSongs.SetWindowText(text);
        m_newSongs.ShowWindow(SW_SHOW);
    }
    else
        m_newSongs.ShowWindow(SW_HIDE);
}

void CDlgBuddyInfo::SetUpTips()
{
    LPCWSTR presenceKey = m_shownItem.presence == 1   ? L"CONST_MAIN_AWAY"
                          : m_shownItem.presence == 2 ? L"CONST_MAIN_BUSY"
                          : m_shownItem.presence == 3 ? L"CONST_MAIN_HIDE"
                                                      : L"CONST_MAIN_ONLINE";
    m_tooltip.AddTool(&m_presence, Lang(presenceKey));
    m_tooltip.AddTool(&m_nick, m_shownItem.nick);
    m_tooltip.AddTool(&m_signature, m_shownItem.signature);
    m_tooltip.AddTool(&m_address, m_shownItem.id);
}

void CDlgBuddyInfo::RefreshInfo()
{
    if (!GetSafeHwnd())
    {
        CWnd* parent = s_mainWindow ? s_mainWindow() : NULL;
        if (!Create(IDD, parent))
            return;
    }
    m_bPendingNotShown = FALSE;
    m_shownItem = m_pendingItem;
    m_bBuddyCard = m_shownItem.id != OwnId();
    FillButtons();

    m_nick.SetWindowText(m_shownItem.nick);
    m_address.SetWindowText(m_shownItem.id);
    m_signature.SetWindowText(m_shownItem.signature);
    m_presence.m_nStatus = m_shownItem.presence;
    m_presence.Invalidate();
    m_avatar.m_nState = m_shownItem.presence;
    if (m_shownItem.avatarPath.IsEmpty() || !m_avatar.SetImage(m_shownItem.avatarPath))
        m_avatar.SetImage(L"");
    m_avatar.Invalidate();
    FillSongCounts();
    SetUpTips();
    PlaceAndFadeIn();
}

void CDlgBuddyInfo::PlaceAndFadeIn()
{
    CRect mainRect(0, 0, 0, 0);
    if (CWnd* main = s_mainWindow ? s_mainWindow() : NULL)
        if (main->GetSafeHwnd())
            main->GetWindowRect(&mainRect);
    CPoint at = CardPosition(mainRect, s_paneWidth ? s_paneWidth() : 0, m_shownItem.rect.top);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, WIDTH, HEIGHT, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (m_nAlpha > 254)
        return;
    KillTimer(TIMER_FADE_OUT);
    SetLayeredAlpha(m_nAlpha);
    SetTimer(TIMER_FADE_IN, FADE_MS, NULL);
}

void CDlgBuddyInfo::SetLayeredAlpha(int alpha)
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED))
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWnd, 0, (BYTE)alpha, LWA_ALPHA);
}

void CDlgBuddyInfo::StopLayered()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (style & WS_EX_LAYERED)
        ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style & ~(LONG_PTR)WS_EX_LAYERED);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CDlgBuddyInfo::FadeOut(BOOL animate)
{
    if (!GetSafeHwnd())
    {
        m_nAlpha = 0;
        return;
    }
    if (animate)
    {
        if (m_nAlpha <= 0)
            return;
        SetLayeredAlpha(m_nAlpha);
        KillTimer(TIMER_FADE_IN);
        SetTimer(TIMER_FADE_OUT, FADE_MS, NULL);
        return;
    }
    m_nAlpha = 0;
    DestroyWindow();
}

BOOL CDlgBuddyInfo::IsCursorInside() const
{
    if (!GetSafeHwnd())
        return FALSE;
    CRect rect;
    GetWindowRect(&rect);
    POINT cursor;
    ::GetCursorPos(&cursor);
    return rect.PtInRect(cursor);
}

void CDlgBuddyInfo::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_FADE_OUT)
    {
        m_nAlpha -= FADE_STEP;
        if (m_nAlpha <= 0)
        {
            KillTimer(TIMER_FADE_OUT);
            m_nAlpha = 0;
            DestroyWindow();
            return;
        }
        SetLayeredAlpha(m_nAlpha);
        return;
    }
    if (nIDEvent == TIMER_FADE_IN)
    {
        m_nAlpha += FADE_STEP;
        if (m_nAlpha > 254)
        {
            KillTimer(TIMER_FADE_IN);
            m_nAlpha = 255;
            ShowWindow(SW_SHOWNOACTIVATE);
            StopLayered();
            return;
        }
        SetLayeredAlpha(m_nAlpha);
        return;
    }
    Default();
}

void CDlgBuddyInfo::OnDestroy()
{
    KillTimer(TIMER_FADE_IN);
    KillTimer(TIMER_FADE_OUT);
    m_nAlpha = 0;
    m_chooserBitmap.DeleteObject();
    CSkinDialog::OnDestroy();
}

void CDlgBuddyInfo::HideAtOnce()
{
    KillTimer(TIMER_FADE_IN);
    m_nAlpha = 0;
    SetLayeredAlpha(0);
    ShowWindow(SW_HIDE);
}

void CDlgBuddyInfo::OnClose()
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_CARD_ACTION, 0, 1);
    else
        FadeOut(FALSE);
}

void CDlgBuddyInfo::OnAction1()
{
    HideAtOnce();
    CDlgMain* main = CDlgMain::Instance();
    if (main)
        main->ShowUserPage(m_bBuddyCard ? m_shownItem.id : OwnId());
}

void CDlgBuddyInfo::OnAction2()
{
    HideAtOnce();
    if (m_bBuddyCard)
    {
        if (s_runSongChooser)
            s_runSongChooser(m_shownItem.id, m_shownItem.nick);
    }
    else if (s_runAvatarChooser)
        s_runAvatarChooser((HBITMAP)m_chooserBitmap.GetSafeHandle());
}

void CDlgBuddyInfo::OnAction3()
{
    HideAtOnce();
    if (m_bBuddyCard)
    {
        if (CDlgMain* main = CDlgMain::Instance())
            main->RequestBuddyCard(m_shownItem.id);
    }
    else if (s_runSettings)
        s_runSettings();
}
