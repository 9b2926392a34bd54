// Song boards as the main window sees them, buddy recommendations pushed
// from a page, and the header of the list of song lists.
#include "DlgMain.h"

#include "ClientApp.h"
#include "CommandTexts.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "ReservedNames.h"
#include "SongLibrary.h"

#include <algorithm>

void CDlgMain::PushBuddyRecommendation(const CString& text)
{
    std::vector<CString> tokens;
    int start = 0;
    for (;;)
    {
        int amp = text.Find(L'&', start);
        CString token = text.Mid(start, amp < 0 ? -1 : amp - start);
        if (!token.IsEmpty())
            tokens.push_back(token);
        if (amp < 0)
            break;
        start = amp + 1;
    }
    if (tokens.empty())
        return;
    CString list, base = AvatarBaseAddress();
    int number = 0;
    for (size_t i = 1; i < tokens.size(); ++i)
    {
        CFriendItem* row = LeftBar().GetItem(LeftBar().FindItem(tokens[i]));
        if (row)
            list += BuddyListEntry(++number, row->nick, AvatarAddressOfEmail(base, row->id), row->presence, row->id,
                                   row->totalSongs, row->signature);
    }
    CBuddyCommands::PushRecommendation(tokens[0], list);
    Ask(Lang(L"INFO_URL_RECOMMEND_BUDDY_TIP"), CDlgMessage::BUTTONS_OK);
}

void CDlgMain::OnBoardNotice(const CString& buddy, const CString& songKey, const CString& boardText)
{
    if (songKey.IsEmpty() || songKey.GetLength() > MaxIdLength)
        return;
    std::vector<CString>& unread = m_unreadBoards[buddy];
    if (std::find(unread.begin(), unread.end(), songKey) == unread.end())
        unread.push_back(songKey);
    int row = LeftBar().FindItem(buddy);
    if (CFriendItem* item = LeftBar().GetItem(row))
    {
        item->flags |= FRIEND_FLAG_BOARD_UNREAD;
        LeftBar().RedrawItem(row);
    }
    if (buddy == m_strShownOwner)
        return; // the shown library's rows take the notice when they are shown
    // The buddy's library copy on disk keeps the board text of the song.
    CClientApp* app = GetClientApp();
    if (!app)
        return;
    CString path = app->GetFriendPlaylistPath(buddy);
    CSongLibrary library;
    CString current;
    if (FAILED(library.LoadFromFile(path)))
        return;
    if (SUCCEEDED(library.GetBoardValueByHash(songKey, current)) && current.IsEmpty() &&
        SUCCEEDED(library.SetBoardValueByHash(songKey, boardText)))
        library.SaveToFile(path);
}

CString CDlgMain::SongListsHeaderText(const CString& owner, const CString& ownId, const CFriendItem* ownerRow,
                                      int progress)
{
    CString text;
    if (!owner.IsEmpty() && owner.CompareNoCase(ownId) == 0)
        text = Lang(L"STR_MAIN_MY_PLAYLIST_NAME");
    else if (!owner.IsEmpty() && IsRobotAccount(owner) && ownerRow)
        text = ownerRow->nick;
    else if (owner.IsEmpty() || !ownerRow || owner.Find(L'@') < 0)
        text = Lang(L"INFO_LIST_CD_COLUMN_DEFAULT");
    else
    {
        text.Format(Lang(L"INFO_LIST_CD_COLUMN_0"), ownerRow->nick);
        if (progress < 100)
        {
            CString loading;
            loading.Format(L"%s (%d%%)", text, progress);
            text = loading;
        }
    }
    return LimitHeaderText(text);
}

void CDlgMain::UpdateSongListsHeader()
{
    auto progress = m_libraryProgress.find(m_strShownOwner);
    CString text = SongListsHeaderText(m_strShownOwner, m_strUserEmail,
                                       LeftBar().GetItem(LeftBar().FindItem(m_strShownOwner)),
                                       progress == m_libraryProgress.end() ? 100 : progress->second);
    HWND header = m_listSongLists.GetSafeHwnd() ? ListView_GetHeader(m_listSongLists.GetSafeHwnd()) : NULL;
    if (!header)
        return;
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = const_cast<LPWSTR>((LPCWSTR)text);
    Header_SetItem(header, 0, &item);
}
