#include "DlgInstantMessaging.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "FriendListNotify.h"
#include "HttpFetcher.h"
#include "LanguageTable.h"
#include "RichEdit20Ctrl.h"
#include "ServiceAddresses.h"
#include "SkinFrame.h"
#include "StripButton.h"
#include "Vossel.h"
#include "AdvertisementList.h"
#include "Xml.h"
#include "resource.h"

#include <cstdlib>
#include <ctime>
#include <mutex>

namespace
{
const wchar_t LanguageMissing[] = L"Load language file fails!";
const wchar_t DefaultSpeakFormat[] = L"%s :";
const wchar_t NickSignatureSeparator[] = L" \x2014 ";

void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceAt(CWnd& wnd, int x, int y)
{
    wnd.SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CHARFORMAT2W TextFormat(COLORREF colour)
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_COLOR | CFM_SIZE;
    format.dwEffects = 0;
    format.yHeight = 200; // 10 points
    format.crTextColor = colour;
    return format;
}

CString LocalTime()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CString text;
    text.Format(L"%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    return text;
}

CString DefaultAdAddress()
{
    return CServiceAddresses::Get().WebUrl(L"/inset/ad.xml");
}
} // namespace

// What the ad loader's thread and its window share. The thread never
// touches the window object: it fills this record and posts to the window
// handle while the window has not given up on it.
struct ChatAdLoad
{
    std::mutex lock;
    HWND window = NULL;
    bool cancelled = false;
    std::vector<CString> names;
    std::map<CString, CString> links;
    CString address;
};

IMPLEMENT_DYNAMIC(CDlgInstantMessaging, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgInstantMessaging, CSkinDialog)
    ON_BN_CLICKED(IDC_CHAT_SEND, &CDlgInstantMessaging::OnSendButton)
    ON_BN_CLICKED(IDC_CHAT_MINIMISE, &CDlgInstantMessaging::OnMinimiseButton)
    ON_BN_CLICKED(IDC_CHAT_CLOSE, &CDlgInstantMessaging::OnCloseButton)
    ON_BN_CLICKED(IDC_CHAT_PUSH_SONG, &CDlgInstantMessaging::OnPushSongButton)
    ON_STN_CLICKED(IDC_CHAT_LISTENING, &CDlgInstantMessaging::OnListenClicked)
    ON_MESSAGE(WM_INPUT_SEND, &CDlgInstantMessaging::OnInputSend)
    ON_MESSAGE(WM_INPUT_EMPTY, &CDlgInstantMessaging::OnInputEmpty)
    ON_MESSAGE(WM_CHAT_ADS_LOADED, &CDlgInstantMessaging::OnAdsLoaded)
    ON_WM_SYSCOMMAND()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

int (*CDlgInstantMessaging::s_sendMessage)(const wchar_t*, const wchar_t*) = &yebJinMessage;
CString (*CDlgInstantMessaging::s_clock)() = &LocalTime;
CString (*CDlgInstantMessaging::s_adAddress)() = &DefaultAdAddress;

CDlgInstantMessaging::CDlgInstantMessaging(ChatWindowMap* chatMap, CWnd* parent)
    : CSkinDialog(IDD, parent), m_pChatMap(chatMap), m_hScrollBitmap(NULL), m_textFormat(TextFormat(0x333333)),
      m_ownHeaderFormat(TextFormat(0x008000)), m_buddyHeaderFormat(TextFormat(0xCC6600)), m_hAdThread(NULL)
{
    // The template's boxes are rich edits: the library must be in before the window is made.
    CRichEdit20Ctrl::LoadLibrary();
    HINSTANCE module = AfxGetResourceHandle();
    m_hSmallIcon = (HICON)::LoadImageW(module, MAKEINTRESOURCEW(IDI_CHAT), IMAGE_ICON, 16, 16, 0);
    m_hBigIcon = (HICON)::LoadImageW(module, MAKEINTRESOURCEW(IDI_CHAT_BIG), IMAGE_ICON, 32, 32, 0);
}

CDlgInstantMessaging::~CDlgInstantMessaging()
{
    if (m_hSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
    if (m_hBigIcon)
        ::DestroyIcon(m_hBigIcon);
}

void CDlgInstantMessaging::SetScrollBarBitmap(HBITMAP bitmap)
{
    m_hScrollBitmap = bitmap;
    m_input.m_hScrollBitmap = bitmap;
    m_history.m_hScrollBitmap = bitmap;
}

BOOL CDlgInstantMessaging::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hBigIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hSmallIcon);
    srand((unsigned)time(NULL));

    SetTopLeftBitmap(IDB_CHAT_FRAME_TOP_LEFT);
    SetTopBitmap(IDB_CHAT_FRAME_TOP);
    SetTopRightBitmap(IDB_CHAT_FRAME_TOP_RIGHT);
    SetLeftBitmap(IDB_MAIN_LEFT);
    SetGripBitmap(IDB_MAIN_LEFT);
    SetRightBitmap(IDB_MAIN_RIGHT);
    SetBottomLeftBitmap(IDB_CHAT_FRAME_BOTTOM_LEFT);
    SetBottomBitmap(IDB_CHAT_FRAME_BOTTOM);
    SetBottomRightBitmap(IDB_CHAT_FRAME_BOTTOM_RIGHT);

    SetWindowPos(NULL, 0, 0, WIDTH, HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    if (CMenu* menu = GetSystemMenu(FALSE))
    {
        menu->RemoveMenu(SC_MAXIMIZE, MF_BYCOMMAND);
        menu->RemoveMenu(SC_SIZE, MF_BYCOMMAND);
    }

    SetUpControls();

    SetCaptionFromNick();
    m_strSpeakFormat = Lang(L"INFO_IM_DLG_SPEAK_STRING");
    if (m_strSpeakFormat.IsEmpty())
        m_strSpeakFormat = DefaultSpeakFormat;
    AddCaptionText(Lang(L"INFO_IM_DLG_WINDOW_TEXT"), CRect(95, 4, 200, 28), 0xD2CECE);

    SetUpBoxes();
    SetUpTooltips();
    UpdateListeningLine(TRUE);

    CenterWindow(CWnd::GetDesktopWindow());
    m_adLink.m_normalColour = m_adLink.m_colour = 0xE6E6E6;
    m_adLink.m_hoverColour = 0x9EFFD3;
    StartAdLoader();
    return TRUE;
}

void CDlgInstantMessaging::SetUpControls()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();

    struct Strip
    {
        CImageButton* button;
        UINT id, bitmap;
        int x, y;
    } strips[] = {
        {&m_btnClose, IDC_CHAT_CLOSE, IDB_BTN_MAIN_CLOSE, w - 34, 0},
        {&m_btnMinimise, IDC_CHAT_MINIMISE, IDB_BTN_MINIMISE_DARK, w - 61, 0},
        {&m_btnPushSong, IDC_CHAT_PUSH_SONG, IDB_BTN_CHAT_PUSH_SONG, w - 45, 35},
        {&m_btnSend, IDC_CHAT_SEND, IDB_BTN_CHAT_SEND, w - 61, 445},
    };
    for (Strip& strip : strips)
    {
        strip.button->SubclassDlgItem(strip.id, this);
        ShowAsStripButton(*strip.button, strip.bitmap);
        PlaceAt(*strip.button, strip.x, strip.y);
    }
    m_btnSend.EnableWindow(FALSE);

    m_portrait.SubclassDlgItem(IDC_CHAT_PORTRAIT, this);
    SkinFrame::LoadBitmapResource(m_portrait.m_defaultBitmap, IDB_DEFAULT_AVATAR);
    Place(m_portrait, 10, 37, 42, 42);
    m_portrait.m_nState = m_item.presence;
    m_portrait.SetImage(m_item.avatarPath);

    m_presence.SubclassDlgItem(IDC_CHAT_PRESENCE, this);
    const UINT icons[] = {IDI_PRESENCE_ONLINE, IDI_PRESENCE_AWAY, IDI_PRESENCE_BUSY, IDI_PRESENCE_INVISIBLE};
    for (int presence = 0; presence < 4; ++presence)
        m_presence.AddStatusIcon(presence, icons[presence]);
    m_presence.m_nStatus = m_item.presence;
    Place(m_presence, 63, 39, 16, 16);

    m_nickLine.SubclassDlgItem(IDC_CHAT_NICK, this);
    m_nickLine.m_textColour = 0x333333;
    Place(m_nickLine, 84, 40, 166, 20);
    ShowNickLine();

    m_listening.SubclassDlgItem(IDC_CHAT_LISTENING, this);
    SkinFrame::LoadBitmapResource(m_listening.m_background, IDB_CHAT_LISTENING_BACK);
    m_listening.m_icons.push_back(
        (HICON)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_LISTENING), IMAGE_ICON, 16, 16, LR_SHARED));
    Place(m_listening, 61, 61, 189, 24);

    m_history.SubclassDlgItem(IDC_CHAT_HISTORY, this);
    Place(m_history, 4, 88, 292, 287);
    m_input.SubclassDlgItem(IDC_CHAT_INPUT, this);
    Place(m_input, 4, 380, 292, 60);

    m_adLink.SubclassDlgItem(IDC_CHAT_AD_LINK, this);
    Place(m_adLink, 8, 448, 200, 16);
    m_adLink.SetWindowText(L"");
}

void CDlgInstantMessaging::SetUpBoxes()
{
    m_input.SetDefaultCharFormat(m_textFormat);
    m_history.SetTextFormat(m_textFormat);
    m_history.SetOwnHeaderFormat(m_ownHeaderFormat);
    m_history.SetBuddyHeaderFormat(m_buddyHeaderFormat);

    for (CRichEditCtrl* box : {(CRichEditCtrl*)&m_input, (CRichEditCtrl*)&m_history})
    {
        CRect area;
        box->GetClientRect(&area);
        area.DeflateRect(5, 5, 5, 2);
        box->SetRect(&area);
    }
    m_input.SetEventMask(m_input.GetEventMask() | ENM_CHANGE);

    // Filling and emptying the boxes once settles their scroll bars before
    // the first real line.
    for (CRichEditCtrl* box : {(CRichEditCtrl*)&m_input, (CRichEditCtrl*)&m_history})
    {
        for (int i = 0; i < 20; ++i)
            box->ReplaceSel(L"\n\n");
        box->SetSel(0, -1);
        box->ReplaceSel(L"");
    }
    m_input.SetOwner(this);
    m_history.SetEventMask(ENM_LINK);
    m_history.SetAutoURLDetect(TRUE);
}

void CDlgInstantMessaging::SetUpTooltips()
{
    struct Tip
    {
        CWnd* control;
        LPCWSTR key;
    } tips[] = {
        {&m_input, L"INFO_IM_DLG_INPUT_MSG"},
        {&m_history, L"INFO_IM_DLG_MSG_HISTORY"},
        {&m_btnPushSong, L"STR_PUSH_SONG_TITLE"},
        {&m_btnSend, L"INFO_IM_DLG_SEND_MSG"},
        {&m_listening, m_item.listen6 == L"radio" ? L"INFO_LIST_FRIEND_FOLLOW_BUDDY_RADIO"
                                                   : L"INFO_LIST_FRIEND_FOLLOW_BUDDY_SONG"},
    };
    for (Tip& tip : tips)
    {
        CString text = Lang(tip.key);
        if (!text.IsEmpty())
            m_tooltip.AddTool(tip.control, text);
    }
}

void CDlgInstantMessaging::SetCaptionFromNick()
{
    CString format = Lang(L"INFO_IM_DLG_WINDOW_CAPTAIN");
    CString caption;
    if (format.IsEmpty())
        CDlgMessage::ShowMessage(LanguageMissing, CDlgMessage::BUTTONS_OK, L"", CString(), 0, 0, NULL);
    else
        caption = FormatHeader(format, m_item.nick, CString());
    m_strCaption = caption;
    if (GetSafeHwnd())
    {
        SetWindowText(caption);
        Invalidate(FALSE);
    }
}

void CDlgInstantMessaging::ShowNickLine()
{
    if (!m_nickLine.GetSafeHwnd())
        return;
    CString line = m_item.nick;
    if (!m_item.signature.IsEmpty())
        line += NickSignatureSeparator + m_item.signature;
    m_nickLine.SetWindowText(line);
}

CString CDlgInstantMessaging::BuildListeningText(const CString& song, const CString& singer, const CString& colour)
{
    if (song.IsEmpty())
        return CString();
    CString text = L"<font color=" + colour + L">" + song;
    if (!singer.IsEmpty())
        text += NickSignatureSeparator + singer;
    return text + L"</font>";
}

CString CDlgInstantMessaging::FormatHeader(const CString& format, const CString& speaker, const CString& time)
{
    // The format comes from the language file: only "%s" (at most two) and
    // "%%" are let through, so that a wrong text cannot read past the two
    // values.
    CString chosen = format.IsEmpty() ? CString(DefaultSpeakFormat) : format;
    int placeholders = 0;
    for (int i = 0; i < chosen.GetLength(); ++i)
    {
        if (chosen[i] != L'%')
            continue;
        wchar_t next = i + 1 < chosen.GetLength() ? chosen[i + 1] : 0;
        if (next == L's')
            ++placeholders;
        else if (next != L'%')
        {
            placeholders = 3;
            break;
        }
        ++i;
    }
    if (placeholders > 2)
        chosen = DefaultSpeakFormat;
    CString header;
    header.Format(chosen, (LPCWSTR)speaker, (LPCWSTR)time);
    return header;
}

void CDlgInstantMessaging::UpdateListeningLine(BOOL redraw)
{
    m_listening.m_strText = BuildListeningText(m_item.listen2, m_item.listen4, m_item.linkColor);
    if (!redraw || !m_listening.GetSafeHwnd())
        return;
    m_listening.ShowWindow(m_listening.m_strText.IsEmpty() ? SW_HIDE : SW_SHOW);
    m_listening.Invalidate();
}

void CDlgInstantMessaging::SetFriendItem(const CFriendItem& item, BOOL redraw)
{
    m_item = item;
    m_listening.m_strText = BuildListeningText(m_item.listen2, m_item.listen4, m_item.linkColor);
    if (!redraw || !GetSafeHwnd())
        return;
    m_presence.m_nStatus = m_item.presence;
    m_presence.Invalidate();
    m_portrait.m_nState = m_item.presence;
    m_portrait.SetImage(m_item.avatarPath);
    m_portrait.Invalidate();
    UpdateListeningLine(TRUE);
    ShowNickLine();
    SetCaptionFromNick();
    m_btnSend.EnableWindow(m_item.presence != PRESENCE_INVISIBLE && m_input.GetTextLength() > 0);
}

void CDlgInstantMessaging::SetAvatarFile(const CString& path, BOOL redraw)
{
    m_item.avatarPath = path;
    if (redraw && m_portrait.GetSafeHwnd())
    {
        m_portrait.SetImage(path, 0, 0);
        m_portrait.Invalidate();
    }
}

BOOL CDlgInstantMessaging::SetNickAndSignature(const CString& nick, const CString& signature, BOOL update)
{
    if (nick == m_item.nick && signature == m_item.signature)
        return FALSE;
    m_item.nick = nick;
    m_item.signature = signature;
    ShowNickLine();
    if (update && GetSafeHwnd())
        SetCaptionFromNick();
    return TRUE;
}

void CDlgInstantMessaging::SetListening(const CString& song, const CString& singer, const CString& type,
                                        BOOL redraw)
{
    if (song == m_item.listen2 && singer == m_item.listen4)
        return;
    m_item.listen2 = song;
    m_item.listen4 = singer;
    m_item.listen6 = type;
    if (!Lang(L"INFO_LIST_FRIEND_FOLLOW_BUDDY_SONG").IsEmpty() && m_listening.GetSafeHwnd())
        m_tooltip.AddTool(&m_listening, Lang(type == L"radio" ? L"INFO_LIST_FRIEND_FOLLOW_BUDDY_RADIO"
                                                              : L"INFO_LIST_FRIEND_FOLLOW_BUDDY_SONG"));
    UpdateListeningLine(redraw);
}

void CDlgInstantMessaging::AddIncomingMessage(const CString& text)
{
    CString speaker = m_item.nick.IsEmpty() ? m_item.id : m_item.nick;
    if (m_history.GetSafeHwnd())
        m_history.AppendMessage(FormatHeader(m_strSpeakFormat, speaker, s_clock()), text, FALSE);
}

void CDlgInstantMessaging::AddOwnMessage(const CString& text)
{
    CString speaker = g_pAppSetting ? g_pAppSetting->strNick : CString();
    if (speaker.IsEmpty())
    {
        if (CClientApp* app = GetClientApp())
            app->GetUserEmail(speaker);
    }
    if (m_history.GetSafeHwnd())
        m_history.AppendMessage(FormatHeader(m_strSpeakFormat, speaker, s_clock()), text, TRUE);
}

void CDlgInstantMessaging::SendInput()
{
    if (m_item.presence == PRESENCE_INVISIBLE)
    {
        m_input.SetFocus();
        return;
    }
    CString text;
    m_input.GetWindowText(text);
    // A rich edit ends its lines with "\r"; the buddy reads them as line feeds.
    text.Replace(L"\r\n", L"\n");
    text.Replace(L"\r", L"\n");
    m_input.SetSel(0, -1);
    m_input.ReplaceSel(L"");
    if (!text.IsEmpty())
    {
        if (s_sendMessage)
            s_sendMessage(m_item.id, text);
        AddOwnMessage(text);
        m_btnSend.EnableWindow(FALSE);
    }
    m_input.SetFocus();
}

void CDlgInstantMessaging::OnSendButton()
{
    SendInput();
}

LRESULT CDlgInstantMessaging::OnInputSend(WPARAM, LPARAM)
{
    SendInput();
    return 0;
}

LRESULT CDlgInstantMessaging::OnInputEmpty(WPARAM wParam, LPARAM)
{
    if (wParam == 1)
    {
        m_btnSend.EnableWindow(FALSE);
        m_input.SetFocus();
    }
    else
        m_btnSend.EnableWindow(TRUE);
    return 0;
}

void CDlgInstantMessaging::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}

void CDlgInstantMessaging::OnCloseButton()
{
    Close();
}

void CDlgInstantMessaging::OnCancel()
{
    // Esc does not close a chat; only the close button and the system menu do.
}

void CDlgInstantMessaging::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_CLOSE)
    {
        Close();
        return;
    }
    CSkinDialog::OnSysCommand(nID, lParam);
}

void CDlgInstantMessaging::Close()
{
    if (m_pChatMap)
    {
        auto found = m_pChatMap->find(m_item.id);
        if (found != m_pChatMap->end() && found->second == this)
            m_pChatMap->erase(found);
        m_pChatMap = NULL;
    }
    DestroyWindow();
}

void CDlgInstantMessaging::OnPushSongButton()
{
    if (CDlgMain* main = CDlgMain::Instance())
        main->RunSongChooser(m_item.id, m_item.nick, m_hScrollBitmap);
}

void CDlgInstantMessaging::OnListenClicked()
{
    CDlgMain* main = CDlgMain::Instance();
    if (!main || !main->GetSafeHwnd())
        return;
    CFriendItem* row = main->LeftBar().GetItemById(m_item.id);
    if (!row || row->listen2.IsEmpty())
        return;
    // The main window takes the record and frees it; it finds the row again
    // by the id, since the row may be gone by the time the record arrives.
    FriendListNotify* note = new FriendListNotify();
    note->hdr.hwndFrom = m_hWnd;
    note->hdr.idFrom = CHAT_NOTIFY_ID;
    note->hdr.code = FLN_LISTENCLICK;
    note->key = row->key;
    note->item = NULL;
    note->rowId = m_item.id;
    if (!main->PostMessage(WM_NOTIFY, CHAT_NOTIFY_ID, (LPARAM)note))
        delete note;
}

void CDlgInstantMessaging::OnSetFocus(CWnd*)
{
    if (m_input.GetSafeHwnd())
        m_input.SetFocus();
}

BOOL CDlgInstantMessaging::ParseAdList(const CString& xml, std::vector<CString>& names,
                                      std::map<CString, CString>& links)

{
    AdvertisementList list;
    BOOL parsed = list.Parse(xml);
    names.insert(names.end(), list.names.begin(), list.names.end());
    links.insert(list.links.begin(), list.links.end());
    return parsed;
}

namespace
{
DWORD WINAPI LoadAds(LPVOID param)
{
    std::shared_ptr<ChatAdLoad> load(*static_cast<std::shared_ptr<ChatAdLoad>*>(param));
    delete static_cast<std::shared_ptr<ChatAdLoad>*>(param);

    std::vector<CString> names;
    std::map<CString, CString> links;
    if (!load->address.IsEmpty())
    {
        CHttpFetcher fetcher;
        if (fetcher.SetUrl(load->address) && fetcher.Start(FALSE))
        {
            if (!CDlgInstantMessaging::ParseAdList(fetcher.GetResponseText(CP_UTF8), names, links))
                names.clear(), links.clear();
        }
    }
    std::lock_guard<std::mutex> hold(load->lock);
    if (load->cancelled)
        return 0;
    load->names.swap(names);
    load->links.swap(links);
    if (::IsWindow(load->window))
        ::PostMessageW(load->window, WM_CHAT_ADS_LOADED, 0, 0);
    return 0;
}
} // namespace

void CDlgInstantMessaging::StartAdLoader()
{
    m_adLoad = std::make_shared<ChatAdLoad>();
    m_adLoad->window = m_hWnd;
    m_adLoad->address = s_adAddress ? s_adAddress() : CString();
    auto* handOver = new std::shared_ptr<ChatAdLoad>(m_adLoad);
    m_hAdThread = ::CreateThread(NULL, 0, &LoadAds, handOver, 0, NULL);
    if (!m_hAdThread)
        delete handOver;
}

LRESULT CDlgInstantMessaging::OnAdsLoaded(WPARAM, LPARAM)
{
    if (m_adLoad)
    {
        std::lock_guard<std::mutex> hold(m_adLoad->lock);
        m_adNames = m_adLoad->names;
        m_adLinks = m_adLoad->links;
    }
    if (m_adNames.empty())
        return -1;
    const CString& name = m_adNames[rand() % m_adNames.size()];
    auto found = m_adLinks.find(name);
    CString link = found != m_adLinks.end() ? found->second : CString();
    m_adLink.SetWindowText(name);
    m_adLink.m_link.m_strTarget = link;
    m_adLink.ShowWindow(name.IsEmpty() || link.IsEmpty() ? SW_HIDE : SW_SHOW);
    return 0;
}

void CDlgInstantMessaging::OnDestroy()
{
    // The loader is told to give up and left to end by itself: it holds its
    // own share of the record, never the window, and posts nothing once told.
    if (m_adLoad)
    {
        std::lock_guard<std::mutex> hold(m_adLoad->lock);
        m_adLoad->cancelled = true;
        m_adLoad->window = NULL;
    }
    if (m_hAdThread)
    {
        ::CloseHandle(m_hAdThread);
        m_hAdThread = NULL;
    }
    m_adNames.clear();
    m_adLinks.clear();
    if (m_pChatMap)
    {
        auto found = m_pChatMap->find(m_item.id);
        if (found != m_pChatMap->end() && found->second == this)
            m_pChatMap->erase(found);
        m_pChatMap = NULL;
    }
    CSkinDialog::OnDestroy();
}

void CDlgInstantMessaging::PostNcDestroy()
{
    delete this;
}
