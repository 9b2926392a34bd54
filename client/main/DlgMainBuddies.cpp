// The main window's buddies: the left bar's rows and notifications, adding
// and removing buddies, their numeric user ids, recommendations and the own
// status line.
#include "DlgMain.h"

#include "AvatarTransfer.h"

#include "AppSetting.h"
#include "BuddyRowUpdates.h"
#include "ClientApp.h"
#include "CommandTexts.h"
#include "DlgMessage.h"
#include "FormPost.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "ServiceAddresses.h"
#include "DataFolder.h"
#include "UserLookup.h"
#include "resource.h"

#include <memory>
#include <process.h>

namespace
{
const DWORD kPageFlags = 14; // no history, no cache read, no cache write
const wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";

CString ProgramFile(LPCWSTR relative)
{
    CString folder;
    if (g_pAppSetting)
        folder = g_pAppSetting->GetProgramFolder();
    if (!folder.IsEmpty() && folder.Right(1) != L"\\")
        folder += L"\\";
    return folder + relative;
}

// The buddy's avatar file below the data folder, when it is there.
CString BuddyAvatarFile(const CString& email)
{
    CString myMusic = GetMyMusicFolder(FALSE);
    if (myMusic.IsEmpty() || !IsUsableBuddyId(email))
        return CString();
    CString path = myMusic + L"\\yeb360\\lib\\friend\\" + email + L"\\avatar\\" + email + L".jpg";
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? path : CString();
}

CFriendItem FixedRow(LPCWSTR nickKey, LPCWSTR id, int kind, int subOrder, int flags, LPCWSTR picture = NULL)
{
    CFriendItem row;
    row.nick = Lang(nickKey);
    row.id = id;
    row.kind = kind;
    row.subOrder = subOrder;
    row.flags = flags;
    if (picture)
        row.avatarPath = ProgramFile(picture);
    return row;
}

bool IsDecimalId(const CString& text)
{
    if (text.IsEmpty() || text.GetLength() > 10)
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

// The buddy-id worker's argument and answer (heap records; the receiver frees them).
struct BuddyIdQuery
{
    HWND window;
    std::vector<CString> emails;
};
struct BuddyIdAnswer
{
    std::vector<std::pair<CString, CString>> ids; // e-mail, uid
};

unsigned __stdcall BuddyUserIdThread(void* argument)
{
    std::unique_ptr<BuddyIdQuery> query(static_cast<BuddyIdQuery*>(argument));
    ::PostMessageW(query->window, WM_MAIN_PLAYLIST_CHECK, 0, 0);
    CStringA bytes;
    if (!PostUserIdQuery(query->emails, bytes))
        return 0;
    std::unique_ptr<BuddyIdAnswer> answer(new BuddyIdAnswer);
    if (!ParseUserIds(CString(FwMultiByteToWide(bytes, bytes.GetLength(), CP_UTF8).c_str()), answer->ids))
        return 0;
    // WM_MAIN_BUDDY_IDS carries the answer; the window writes the rows and
    // frees it. A window that is gone cannot take it, so it is freed here.
    if (::PostMessageW(query->window, WM_MAIN_BUDDY_IDS, 0, (LPARAM)answer.get()))
        answer.release();
    return 1;
}
} // namespace

void CDlgMain::CreateLeftBar()
{
    CRect client;
    m_paneFriend.GetClientRect(&client);
    CListFriendCtrl& bar = LeftBar();
    if (!bar.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, client, &m_paneFriend, IDC_FRIEND_LIST))
        return;
    bar.SetNotifyOwner(m_hWnd);
    bar.LoadStandardIcons(AfxGetResourceHandle());
    bar.SetDefaultAvatar(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(CListFriendCtrl::DefaultAvatarId)));
    bar.SetBoardStore(&m_boardStore);
}

void CDlgMain::BuildLeftBar()
{
    CListFriendCtrl& bar = LeftBar();
    bar.DeleteAllItems();
    CFriendItem own = FixedRow(L"STR_MAIN_MY_PLAYLIST_NAME", m_strUserEmail, 0, 0, FRIEND_FLAG_HEADER);
    own.totalSongs = CountOwnSongs();
    bar.AddItem(own, FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_RANKING_TITLE_1", L"channel", 1, 0, FRIEND_FLAG_HEADER), FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_HOMEPAGE_NAME", L"home", 1, 1, FRIEND_FLAG_VISIBLE, L"list\\Chn.bmp"), FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_RANKING_TAVRIN", L"tavrin", 1, 2, FRIEND_FLAG_VISIBLE, L"list\\radio.bmp"), FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_RANKING_GOOGLE_MUSIC", L"google_music", 1, 3, FRIEND_FLAG_VISIBLE,
                         L"list\\gm.bmp"),
                FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_ONLINE_BUDDY_PLAYLIST_NAME", L"online buddy", 2, 0, FRIEND_FLAG_HEADER), FALSE);
    bar.AddItem(FixedRow(L"STR_MAIN_OFFLINE_BUDDY_PLAYLIST_NAME", L"offline buddy", 3, 0, FRIEND_FLAG_HEADER), FALSE);
    for (int i = 0; i < m_buddyStore.GetCount(); ++i)
    {
        CBuddyRecord buddy;
        if (FAILED(m_buddyStore.GetAt(i, buddy)) || !IsUsableBuddyId(buddy.GetEmail()) ||
            bar.FindItem(buddy.GetEmail()) >= 0)
            continue;
        bar.AddItem(NewBuddyRow(buddy.GetEmail(), BuddyAvatarFile(buddy.GetEmail())), FALSE);
    }
    bar.SortItems();
    bar.SetCurSel(1);
    bar.Invalidate(FALSE);
    // The buddies' pictures come while the window is already usable.
    AvatarTransfer::StartAvatarLoaderThread(CString());
}

BOOL CDlgMain::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = (NMHDR*)lParam;
    if (!header || header->idFrom != IDC_FRIEND_LIST || header->hwndFrom != LeftBar().GetSafeHwnd())
        return CSkinResizableDialog::OnNotify(wParam, lParam, pResult);
    FriendListNotify* note = (FriendListNotify*)lParam;
    UINT code = note->hdr.code;
    if (code == FLN_BUTTONDOWN || code == FLN_MOUSEMOVE)
        return TRUE; // the list's own records
    // The row may have moved since the record was made: it is found again by its id.
    std::unique_ptr<FriendListNotify> owned(note);
    int row = LeftBar().FindItem(note->rowId);
    CFriendItem* item = LeftBar().GetItem(row);
    if (!item)
        return TRUE;
    switch (code)
    {
    case FLN_CLICK:
    case FLN_AVATARCLICK:
    case FLN_RCLICK:
    case FLN_DBLCLK:
    {
        CString id = item->id;
        SelectLeftItem(row);
        m_strShownOwner = id;
        if (code == FLN_RCLICK)
            ShowLeftBarRowMenu(LeftBar().FindItem(id));
        break;
    }
    case FLN_LISTENCLICK:
        if (ConfirmFollow())
            FollowBuddy(row);
        break;
    default:
        break;
    }
    return TRUE;
}

void CDlgMain::AddBuddyAfterRequest(const CString& email, LPCWSTR avatarPath)
{
    CBuddyRecord buddy;
    if (FAILED(buddy.SetEmail(email)))
        return;
    m_buddyStore.AddOrUpdate(buddy);
    AddBuddyRow(LeftBar(), email, avatarPath);
    AvatarTransfer::StartAvatarLoaderThread(email);
    ReopenShownLibrary(email == m_strShownOwner);
    CBuddyCommands::RequestProfile(email);
}

void CDlgMain::AddBuddyByAddress(const CString& argument)
{
    int amp = argument.Find(L'&');
    if (amp < 0)
    {
        Ask(Lang(L"INFO_ADDFRIEND_ERROR"), CDlgMessage::BUTTONS_OK);
        return;
    }
    CString email = argument.Mid(amp + 1);
    int more = email.Find(L'&');
    if (more >= 0)
        email = email.Left(more);
    if (email.CompareNoCase(m_strUserEmail) == 0)
        Ask(Lang(L"INFO_ADDFRIEND_MYSELF"), CDlgMessage::BUTTONS_OK);
    else if (LeftBar().FindItem(email) >= 0)
        Ask(Lang(L"INFO_ADDFRIEND_EXIST"), CDlgMessage::BUTTONS_OK);
    else if (!IsUsableBuddyId(email))
        Ask(Lang(L"INFO_ADDFRIEND_ERROR"), CDlgMessage::BUTTONS_OK); // a page cannot name files or rows of its choice
    else
    {
        Messaging().addFriend(email, L"");
        AddBuddyAfterRequest(email, ProgramFile(L"list\\portrait1.bmp"));
    }
}

void CDlgMain::AddBuddyByUserId(const CString& uid)
{
    if (!IsDecimalId(uid))
        return;
    CString email, nick;
    if (!ParseUserInfo(FetchUserInfo(uid), email, nick) || !IsUsableBuddyId(email) ||
        email.CompareNoCase(m_strUserEmail) == 0 || LeftBar().FindItem(email) >= 0)
        return;
    Messaging().addFriend(email, L"");
    AddBuddyAfterRequest(email, ProgramFile(L"list\\portrait1.bmp"));
}

void CDlgMain::RemoveSelectedBuddy()
{
    // The buddy whose song plays stays.
    if (m_strShownOwner.IsEmpty() || m_strShownOwner == m_strPlayingOwner)
        return;
    int row = LeftBar().FindItem(m_strShownOwner);
    CFriendItem* item = LeftBar().GetItem(row);
    if (!item || !item->IsConfirmedBuddy())
        return;
    if (Ask(Lang(L"INFO_MAIN_DLG_DEL_BUDDY_TIP"), CDlgMessage::BUTTONS_OK_CANCEL) != IDOK)
        return;
    CString email = item->id;
    Messaging().delFriend(email);
    m_buddyStore.Remove(email);
    LeftBar().DeleteItem(row);
    LeftBar().SortItems();
    int count = LeftBar().GetItemCount();
    int next = row < count ? row : count - 1;
    LeftBar().SetCurSel(next);
    CFriendItem* shown = LeftBar().GetItem(next);
    m_strShownOwner = shown ? shown->id : CString();
}

CString CDlgMain::GetBuddyUserId(const CString& email)
{
    int row = LeftBar().FindItem(email);
    CFriendItem* item = LeftBar().GetItem(row);
    if (item && SlotNumberOrZero(item->extra) != 0)
        return item->extra;
    CString uid = QueryUserId(email);
    if (item && !uid.IsEmpty())
        item->extra = uid;
    return uid;
}

void CDlgMain::StartBuddyUserIdThread()
{
    BuddyIdQuery* query = new BuddyIdQuery{m_hWnd, {}};
    for (int i = 0; i < m_buddyStore.GetCount(); ++i)
    {
        CBuddyRecord buddy;
        if (SUCCEEDED(m_buddyStore.GetAt(i, buddy)))
            query->emails.push_back(buddy.GetEmail());
    }
    // The worker owns the query; its handle is not kept.
    uintptr_t thread = _beginthreadex(NULL, 0, &BuddyUserIdThread, query, 0, NULL);
    if (thread)
        ::CloseHandle((HANDLE)thread);
    else
        delete query;
}

LRESULT CDlgMain::OnBuddyIds(WPARAM, LPARAM lParam)
{
    std::unique_ptr<BuddyIdAnswer> answer((BuddyIdAnswer*)lParam);
    if (!answer)
        return 0;
    for (const auto& id : answer->ids)
    {
        CFriendItem* item = LeftBar().GetItem(LeftBar().FindItem(id.first));
        if (item && IsDecimalId(id.second))
            item->extra = id.second;
    }
    return 0;
}

void CDlgMain::RecommendBuddiesTo(const CString& buddy)
{
    if (!m_browser.GetSafeHwnd() || LeftBar().FindItem(buddy) < 0)
        return;
    CString form = BuddyCommands().RecommendationForm(buddy);
    if (form.IsEmpty())
    {
        Ask(Lang(L"INFO_URL_RECOMMEND_NO_BUDDY"), CDlgMessage::BUTTONS_OK);
        return;
    }
    SetLibraryToolbar(FALSE);
    ShowBrowserPane(TRUE);
    CStringA body = Base64FieldBody("a=", form);
    m_browser.SafeNavigate(CServiceAddresses::Get().WebUrl(L"/inset/commend/commend.php"), kPageFlags, NULL,
                           kFormHeader, (LPCSTR)body, body.GetLength());
}

void CDlgMain::ShowRecommendedBuddies(const CString& payload, const CString& buddy, const CString& mode)
{
    std::vector<RecommendedBuddy> entries = ParseBuddyListPayload(payload);
    for (RecommendedBuddy& entry : entries)
        entry.isfriend = entry.email.CompareNoCase(m_strUserEmail) == 0 ? L"2"
                         : LeftBar().FindItem(entry.email) >= 0    ? L"1"
                                                                   : L"0";
    CFriendItem* from = LeftBar().GetItem(LeftBar().FindItem(buddy));
    if (!from)
        return;
    CString format = Lang(L"INFO_URL_RECEIVE_RECOMMEND_BUDDY_MSG_TIP");
    if (format.IsEmpty())
    {
        Ask(CString(), CDlgMessage::BUTTONS_OK);
        return;
    }
    CString question;
    question.Format(format, from->nick, (long)entries.size());
    if (mode != L"1" &&
        Ask(question, CDlgMessage::BUTTONS_OK_CANCEL, Lang(L"INFO_URL_RECEIVE_RECOMMEND_BUDDY_MSG_TIP2")) != IDOK)
        return;
    if (!IsWindowVisible())
        ShowWindow(SW_SHOWNORMAL);
    CStringA body = Base64FieldBody("a=", RecommendationViewForm(from->nick, buddy, entries));
    // The page opens where the browser pane is; a window of its own needs the
    // web song browser.
    if (!m_browser.GetSafeHwnd())
        return;
    ShowBrowserPane(TRUE);
    m_browser.SafeNavigate(CServiceAddresses::Get().WebUrl(mode != L"1" ? L"/inset/commend/view_commend.php"
                                                                        : L"/inset/commend/friends3.php"),
                           kPageFlags, NULL, kFormHeader, (LPCSTR)body, body.GetLength());
}

void CDlgMain::UpdateMyStatusText()
{
    CString nick = g_pAppSetting ? g_pAppSetting->strNick : CString();
    CString signature = g_pAppSetting ? g_pAppSetting->strSignature : CString();
    static const wchar_t* const words[] = {L"CONST_MAIN_ONLINE", L"CONST_MAIN_AWAY", L"CONST_MAIN_BUSY",
                                           L"CONST_MAIN_HIDE"};
    int presence = m_nPresence >= 0 && m_nPresence <= 3 ? m_nPresence : 0;
    CString word = Lang(words[presence]);
    CString status = (nick.IsEmpty() ? m_strUserEmail : nick) + word;
    if (m_btnNick.GetSafeHwnd())
    {
        m_btnNick.m_nSuffixLength = word.GetLength();
        m_btnNick.SetWindowText(status);
        m_tooltip.RemoveTool(&m_btnNick);
        m_tooltip.AddTool(&m_btnNick, status);
        m_btnNick.Invalidate();
    }
    if (m_btnSignature.GetSafeHwnd())
    {
        m_btnSignature.SetText(signature);
        m_tooltip.RemoveTool(&m_btnSignature);
        m_tooltip.AddTool(&m_btnSignature, Lang(L"CONST_MAIN_MY_SIGN_TIP") + L"\n" + signature);
    }
}

void CDlgMain::ClearBuddyMark(const CString& email)
{
    int row = LeftBar().FindItem(email);
    if (CFriendItem* item = LeftBar().GetItem(row))
    {
        item->buttons &= ~4;
        LeftBar().RedrawItem(row);
    }
}
