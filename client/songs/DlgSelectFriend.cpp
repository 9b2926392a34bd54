#include "DlgSelectFriend.h"

#include "DlgMain.h"
#include "FriendItem.h"
#include "LanguageTable.h"
#include "ListFriendCtrl.h"
#include "MessagingLink.h"
#include "SongInfo.h"
#include "SongLibrary.h"
#include "resource.h"

CDlgSelectFriend::CDlgSelectFriend(CWnd* parent, CListFriendCtrl* buddies)
    : CDlgPushSong(IDD,
                   {IDC_FRIEND_LIST, IDC_SELECT_FRIEND_PROMPT, IDC_SELECT_HINT, IDC_SELECT_FRIEND_MINIMISE,
                    IDC_SELECT_FRIEND_CLOSE, L"INFO_LIST_SELECTFRIEND_COLUMN_0", L"INFO_LIST_SELECTFRIEND_COLUMN_1"},
                   parent),
      m_pBuddies(buddies)
{
}

void CDlgSelectFriend::FillList()
{
    CListFriendCtrl* buddies = m_pBuddies;
    if (!buddies)
    {
        CDlgMain* main = CDlgMain::Instance();
        if (!main || !main->GetSafeHwnd())
            return;
        buddies = &main->LeftBar();
    }
    if (!buddies->GetSafeHwnd())
        return;
    // Only a buddy who is there (kind 2) and online can take a song.
    for (int i = 0; i < buddies->GetItemCount(); ++i)
    {
        CFriendItem* item = buddies->GetItem(i);
        if (item && item->kind == 2 && item->subOrder > 0)
            m_list.AddRow(SendSongItem::Buddy(item->id, item->nick));
    }
}

void CDlgSelectFriend::OnOK()
{
    SendSongItem* chosen = ChosenRow();
    if (!chosen)
        return;
    if (m_target.songId.IsEmpty() && m_target.hash.IsEmpty())
    {
        CommandData command;
        command.code = 12;
        command.s1 = chosen->buddyId;
        command.s2 = m_strPageUrl;
        command.s3 = L"WebBrowser_Push_URL";
        Messaging().pushCommand(command);
        EndDialog(IDOK);
        return;
    }
    SendSongItem record = *chosen;
    record.CopySongFrom(m_target);
    CString localPath;
    if (m_target.fileSize.IsEmpty())
    {
        CSongLibrary library;
        if (!LoadOwnLibrary(library))
            return;
        CSongInfo song;
        if (SUCCEEDED(library.GetSongById(m_target.songId, song)))
        {
            record.fileSize = song.GetFileSize();
            localPath = song.GetPath();
        }
    }
    SendToBuddy(record, localPath);
    if (m_strResult.IsEmpty())
    {
        // The command is out already; only the text to show is missing.
        s_showMessage(L"Load language file fails!", this);
        return;
    }
    EndDialog(IDOK);
}
