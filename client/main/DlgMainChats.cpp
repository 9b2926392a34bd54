// The main window's chat windows: the chat map, opening a chat for a buddy
// or for a received line, and the requests that chat windows and pop-ups
// send back.
#include "DlgMain.h"

#include "AppSetting.h"
#include "DlgAddFriend.h"
#include "DlgAddFriendFinal.h"
#include "DlgBuddyInfo.h"
#include "DlgConfirmListen.h"
#include "DlgMessage.h"
#include "FriendListNotify.h"
#include "LanguageTable.h"
#include "PlayNotifySound.h"
#include "NotifyWndThread.h"
#include "SkinFrame.h"
#include "resource.h"

#include <algorithm>
#include <memory>

void (*CDlgMain::s_runSongChooser)(CDlgMain*, const CString&, const CString&, HBITMAP) = NULL;

void CDlgMain::OpenChatWindow(const CString& id, const CString& text)
{
    if (id.IsEmpty())
        return;
    if (!m_chatScrollBitmap.GetSafeHandle())
        SkinFrame::LoadBitmapResource(m_chatScrollBitmap, IDB_SCROLLBAR_SKIN);
    HBITMAP scrollBitmap = (HBITMAP)m_chatScrollBitmap.GetSafeHandle();

    CDlgInstantMessaging* chat = NULL;
    auto found = m_chatWindows.find(id);
    if (found == m_chatWindows.end())
    {
        CFriendItem* row = LeftBar().GetItem(LeftBar().FindItem(id));
        if (!row)
            return; // a line from somebody who is not a buddy opens nothing
        chat = new CDlgInstantMessaging(&m_chatWindows, NULL);
        chat->SetScrollBarBitmap(scrollBitmap);
        chat->SetFriendItem(*row, FALSE);
        if (!chat->Create(CDlgInstantMessaging::IDD, CWnd::GetDesktopWindow()))
        {
            delete chat;
            return;
        }
        m_chatWindows[id] = chat;
        if (text.IsEmpty())
        {
            if (!m_bBossKeyHidden)
            {
                chat->ShowWindow(SW_SHOWNORMAL);
                chat->GetInputBox().SetFocus();
            }
            return;
        }
        if (!m_bBossKeyHidden)
            chat->ShowWindow(SW_SHOWMINNOACTIVE);
        chat->AddIncomingMessage(text);
        chat->FlashWindow(TRUE);
        return;
    }

    chat = found->second;
    if (!chat->GetSafeHwnd())
    {
        CFriendItem* row = LeftBar().GetItem(LeftBar().FindItem(id));
        if (row)
            chat->SetFriendItem(*row, FALSE);
        if (!chat->Create(CDlgInstantMessaging::IDD, CWnd::GetDesktopWindow()))
            return;
    }
    if (text.IsEmpty())
    {
        if (!m_bBossKeyHidden)
        {
            chat->ShowWindow(chat->IsIconic() ? SW_RESTORE : SW_SHOWNORMAL);
            chat->GetInputBox().SetFocus();
        }
        return;
    }
    if (!chat->IsWindowVisible() && !m_bBossKeyHidden)
        chat->ShowWindow(SW_SHOWMINNOACTIVE);
    chat->AddIncomingMessage(text);
    if (::GetForegroundWindow() != chat->GetSafeHwnd())
        chat->FlashWindow(TRUE);
}

void CDlgMain::CloseChatWindows()
{
    // Each window takes itself out of the map as it goes.
    while (!m_chatWindows.empty())
    {
        CDlgInstantMessaging* chat = m_chatWindows.begin()->second;
        m_chatWindows.erase(m_chatWindows.begin());
        if (chat->GetSafeHwnd())
            chat->DestroyWindow(); // frees the object
        else
            delete chat;
    }
}

void CDlgMain::UpdateChatFromRow(const CString& id)
{
    auto found = m_chatWindows.find(id);
    if (found == m_chatWindows.end() || !found->second->GetSafeHwnd())
        return;
    CFriendItem* row = LeftBar().GetItem(LeftBar().FindItem(id));
    if (!row)
        return;
    CDlgInstantMessaging* chat = found->second;
    const CFriendItem& shown = chat->GetFriendItem();
    if (shown.presence != row->presence || shown.avatarPath != row->avatarPath)
    {
        chat->SetFriendItem(*row, TRUE);
        return;
    }
    chat->SetNickAndSignature(row->nick, row->signature, TRUE);
    chat->SetListening(row->listen2, row->listen4, row->listen6, TRUE);
}

void CDlgMain::RunSongChooser(const CString& id, const CString& nick, HBITMAP scrollBitmap)
{
    if (s_runSongChooser)
        s_runSongChooser(this, id, nick, scrollBitmap);
}

LRESULT CDlgMain::OnChatListenNotify(LPARAM record)
{
    std::unique_ptr<FriendListNotify> note(reinterpret_cast<FriendListNotify*>(record));
    if (!note || note->hdr.code != FLN_LISTENCLICK || !m_bControlsReady)
        return 0;
    // Found again by id: the row the record was made from may have moved or gone.
    int row = LeftBar().FindItem(note->rowId);
    if (row >= 0 && ConfirmFollow())
        FollowBuddy(row);
    return 0;
}

LRESULT CDlgMain::OnChatRequest(WPARAM which, LPARAM text)
{
    if (which == 1)
    {
        std::unique_ptr<CString> id(reinterpret_cast<CString*>(text));
        if (id)
            OpenChatWindow(*id, CString());
        return 0;
    }
    if (which == 0)
        RunSettingsOnSoundPage();
    return 0;
}

void (*CDlgMain::s_runSettings)(CDlgMain*, int) = [](CDlgMain* main, int page) { main->OpenSettings(page); };

namespace
{
// The own card's avatar and settings actions reach the main window of the
// process.
struct CardActions
{
    CardActions()
    {
        CDlgBuddyInfo::s_runAvatarChooser = [](HBITMAP) {
            if (CDlgMain* main = CDlgMain::Instance())
                main->OpenAvatarChooser();
        };
        CDlgBuddyInfo::s_runSettings = [] {
            if (CDlgMain* main = CDlgMain::Instance())
                main->OpenSettings(0);
        };
    }
} s_cardActions;
} // namespace

void CDlgMain::RunSettingsOnSoundPage()
{
    if (s_runSettings)
        s_runSettings(this, 2);
}

void CDlgMain::StartNotifyThread(const CString& text, const CString& second, const CString& third)
{
    CNotifyWndThread* thread = new CNotifyWndThread();
    thread->SetTexts(text, second, third);
    thread->SetMainWindow(m_hWnd);
    m_notifyThreads.push_back(thread);
    if (!thread->CreateThread())
    {
        m_notifyThreads.pop_back();
        delete thread;
    }
}

LRESULT CDlgMain::OnNotifyThreadEnded(WPARAM thread, LPARAM)
{
    auto found = std::find(m_notifyThreads.begin(), m_notifyThreads.end(), reinterpret_cast<CNotifyWndThread*>(thread));
    if (found != m_notifyThreads.end())
        m_notifyThreads.erase(found);
    return 0;
}

void CDlgMain::EndNotifyThreads()
{
    for (CNotifyWndThread* thread : m_notifyThreads)
        thread->PostThreadMessage(WM_QUIT, 0, 0);
    m_notifyThreads.clear();
}

namespace
{
const UINT_PTR TimerCardShow = 1043;
const UINT_PTR TimerCardHide = 1044;
} // namespace

void CDlgMain::HandItemToCard(const CFriendItem& item)
{
    KillTimer(TimerCardShow);
    KillTimer(TimerCardHide);
    CDlgBuddyInfo* card = CDlgBuddyInfo::GetInstance();
    if (CDlgBuddyInfo::IsInstanceWindow() && card->IsWindowVisible())
        card->SetFriendItem(item, TRUE);
    else
    {
        card->SetFriendItem(item, FALSE);
        SetTimer(TimerCardShow, 1000, NULL);
    }
}

LRESULT CDlgMain::OnAvatarHover(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1 && lParam)
    {
        // The row is copied at once: the list sent it and may change it later.
        CFriendItem item(*reinterpret_cast<const CFriendItem*>(lParam));
        if (m_paneFriend.GetSafeHwnd())
        {
            CRect pane;
            m_paneFriend.GetWindowRect(&pane);
            item.rect.OffsetRect(0, pane.top);
        }
        HandItemToCard(item);
        return 0;
    }
    KillTimer(TimerCardShow);
    SetTimer(TimerCardHide, 1000, NULL);
    return 0;
}

LRESULT CDlgMain::OnOwnAvatarOrCard(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1)
    {
        CFriendItem own;
        int row = LeftBar().FindItem(m_strUserEmail);
        if (CFriendItem* found = LeftBar().GetItem(row))
            own = *found;
        own.id = m_strUserEmail;
        if (g_pAppSetting)
        {
            own.nick = g_pAppSetting->strNick;
            own.signature = g_pAppSetting->strSignature;
        }
        own.presence = m_nPresence;
        if (m_picAvatar.GetSafeHwnd())
        {
            m_picAvatar.GetWindowRect(&own.rect);
            own.avatarPath = m_picAvatar.m_strPath;
        }
        HandItemToCard(own);
        return 0;
    }
    if (lParam == 1)
    {
        KillTimer(TimerCardShow);
        KillTimer(TimerCardHide);
        CDlgBuddyInfo::GetInstance()->FadeOut(FALSE);
        return 0;
    }
    KillTimer(TimerCardShow);
    SetTimer(TimerCardHide, 1000, NULL);
    return 0;
}

BOOL CDlgMain::OnCardTimer(UINT_PTR id)
{
    if (id == TimerCardShow)
    {
        KillTimer(TimerCardShow);
        CDlgBuddyInfo* card = CDlgBuddyInfo::GetInstance();
        if (card->IsPendingNotShown())
            card->RefreshInfo();
        return TRUE;
    }
    if (id == TimerCardHide)
    {
        CDlgBuddyInfo* card = CDlgBuddyInfo::GetInstance();
        if (card->IsCursorInside())
            return TRUE;
        KillTimer(TimerCardHide);
        card->FadeOut(TRUE);
        return TRUE;
    }
    return FALSE;
}

INT_PTR (*CDlgMain::s_runFollowConfirm)(CDlgMain*) = [](CDlgMain* main) -> INT_PTR {
    CDlgConfirmListen confirm(main);
    return confirm.DoModal();
};

BOOL CDlgMain::ConfirmFollow()
{
    if (!g_pAppSetting || !g_pAppSetting->bShowFollowSong)
        return TRUE;
    return s_runFollowConfirm(this) == IDOK;
}

void CDlgMain::RunAddFriend()
{
    for (;;)
    {
        CString address;
        {
            CDlgAddFriend dialog(this);
            if (dialog.DoModal() != IDOK)
                return;
            address = dialog.GetFriendAddress();
        }
        if (address.IsEmpty())
            return;
        // The new row shows the program's first portrait until the buddy's own arrives.
        CString portrait = g_pAppSetting ? g_pAppSetting->GetProgramFolder() : CString();
        if (!portrait.IsEmpty() && portrait.Right(1) != L"\\")
            portrait += L"\\";
        AddBuddyAfterRequest(address, portrait + L"list\\portrait1.bmp");
        LeftBar().SortItems();
        ReopenShownLibrary(FALSE);
        CDlgAddFriendFinal result(1, this);
        if (result.DoModal() != IDOK)
            return;
    }
}

void CDlgMain::OnFavoriteNotice(const CString& buddy, const CString& song)
{
    if (!g_pAppSetting)
        return;
    if (g_pAppSetting->bNotifyGet)
    {
        CString format = Lang(L"INFO_LIST_FRIEND_FAVORITE");
        if (format.IsEmpty())
            Ask(CString(), CDlgMessage::BUTTONS_OK);
        else
        {
            CString text = format;
            // Two text values at most, whatever the language file holds.
            int first = text.Find(L"%s");
            if (first >= 0)
                text = text.Left(first) + buddy + text.Mid(first + 2);
            int second = text.Find(L"%s", first >= 0 ? first + buddy.GetLength() : 0);
            if (second >= 0)
                text = text.Left(second) + song + text.Mid(second + 2);
            ShowNotification(text, CString(), buddy);
        }
    }
    if (g_pAppSetting->bSoundGet)
        PlayNotifySound(3);
}
