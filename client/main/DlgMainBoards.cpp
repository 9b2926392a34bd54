// Song boards as the main window sees them, buddy recommendations pushed
// from a page, and the header of the list of song lists.
#include "DlgMain.h"

#include "Board.h"
#include "ClientApp.h"
#include "CommandTexts.h"
#include "DlgMessage.h"
#include "LanguageTable.h"
#include "ReservedNames.h"
#include "SongLibrary.h"
#include "Xml.h"

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

CBoard* CDlgMain::FindOpenBoard(const CString& key) const
{
    auto open = m_openBoards.find(key);
    return open == m_openBoards.end() ? NULL : open->second;
}

void CDlgMain::OpenSongBoard(const CString& key, const CString& title, const CString& songOwner)
{
    if (key.IsEmpty())
        return;
    CString shown = songOwner.IsEmpty() ? m_strShownOwner : songOwner;
    BOOL own = shown.IsEmpty() || shown.CompareNoCase(m_strUserEmail) == 0;
    CString owner = own ? m_strUserEmail : shown;
    if (CBoard* open = FindOpenBoard(key))
        open->m_input.SetFocus();
    else
    {
        CBoard* board = new CBoard(key, owner, title, &m_boardStore, own, NULL);
        if (!board->Create(CBoard::IDD, this))
        {
            delete board;
            return;
        }
        board->m_bAutoDelete = TRUE;
        m_openBoards[key] = board;
    }
    if (!own)
    {
        auto unread = m_unreadBoards.find(owner);
        if (unread != m_unreadBoards.end())
        {
            unread->second.erase(std::remove(unread->second.begin(), unread->second.end(), key),
                                 unread->second.end());
            if (unread->second.empty())
            {
                m_unreadBoards.erase(unread);
                int row = LeftBar().FindItem(owner);
                if (CFriendItem* item = LeftBar().GetItem(row))
                {
                    item->flags &= ~FRIEND_FLAG_BOARD_UNREAD;
                    LeftBar().RedrawItem(row);
                }
            }
        }
        PushBoardCommand(owner, key);
    }
    else
    {
        m_boardStore.ClearNew(key);
        if (LeftBar().GetSafeHwnd())
            LeftBar().RedrawItem(0);
    }
}

void CDlgMain::CloseSongBoard(const CString& key)
{
    auto open = m_openBoards.find(key);
    if (open == m_openBoards.end())
        return;
    CBoard* board = open->second;
    m_openBoards.erase(open);
    if (board && board->GetSafeHwnd())
        board->DestroyWindow(); // the board frees itself with its window
    else
        delete board;
}

void CDlgMain::CloseBoardsOfViewer(const CString& id)
{
    std::map<CString, CBoard*> copy = m_openBoards;
    for (const auto& open : copy)
        if (open.second && open.second->GetOwnerId().CompareNoCase(id) == 0)
            CloseSongBoard(open.first);
}

void CDlgMain::SyncSongBoardValue(const CString& key)
{
    CString headline;
    if (key.IsEmpty() || FAILED(m_boardStore.GetHeadline(key, headline)))
        return;
    CClientApp* app = GetClientApp();
    if (!app)
        return;
    CString path = app->GetMyPlaylistPath(), stored;
    CSongLibrary library;
    if (path.IsEmpty() || FAILED(library.LoadFromFile(path)))
        return;
    if (SUCCEEDED(library.GetBoardValueByHash(key, stored)) && stored != headline &&
        SUCCEEDED(library.SetBoardValueByHash(key, headline)))
        library.SaveToFile(path);
}

void CDlgMain::PushBoardEntry(const CString& key, const CString& owner, const CString& sender, const CString& time,
                              const CString& text, BOOL pinned)
{
    if (CClientApp* app = GetClientApp())
    {
        CString path = app->GetFriendPlaylistPath(owner), stored;
        CSongLibrary library;
        if (!path.IsEmpty() && SUCCEEDED(library.LoadFromFile(path)) &&
            SUCCEEDED(library.GetBoardValueByHash(key, stored)) && stored.IsEmpty() &&
            SUCCEEDED(library.SetBoardValueByHash(key, text)))
            library.SaveToFile(path);
    }
    CString number;
    number.Format(L"%d", pinned ? 1 : 0);
    CBuddyCommands::PushBoardEntry(owner, sender, key, text, time, number);
}

void CDlgMain::OnBoardArrived(const CString& key, const CString& boardText)
{
    CBoard* board = FindOpenBoard(key);
    if (!board)
        return;
    if (boardText.IsEmpty())
    {
        board->EndDownload();
        return;
    }
    // A text that does not parse leaves the window waiting: its timer then
    // offers the retry.
    if (CXmlElement* root = XmlParseString(boardText))
    {
        board->GetView().SetBoardData(root);
        board->EndDownload();
        delete root;
    }
}

void CDlgMain::OnBoardEntry(const CString& key, const CString& sender, const CString& time, const CString& text,
                            const CString& flags)
{
    if (key.IsEmpty() || key.GetLength() > MaxIdLength || text.IsEmpty())
        return;
    CBoardEntry board;
    if (FAILED(m_boardStore.FindBoard(key, board)))
    {
        board.SetId(key);
        m_boardStore.AddBoard(board);
    }
    CBoardItem item;
    CString id;
    id.Format(L"%d", board.AssignNextId());
    item.SetIdText(id);
    item.SetAuthor(sender);
    item.SetTime(time);
    item.SetText(text);
    item.SetFlags(BOARD_ITEM_NEW | (_wtoi(flags) & BOARD_ITEM_PINNED));
    board.InsertUnique(item);
    m_boardStore.UpdateBoard(board);
    if (CBoard* open = FindOpenBoard(key))
        open->GetView().Rebuild();
    SyncSongBoardValue(key);
}
