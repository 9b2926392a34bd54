#include "BuddyRowUpdates.h"
#include "CommandTexts.h"
#include "ListFriendCtrl.h"

#include <climits>

namespace
{
CFriendItem* RowOf(CListFriendCtrl& list, const CString& id, int* index = NULL)
{
    int row = list.FindItem(id);
    if (index)
        *index = row;
    return row < 0 ? NULL : list.GetItem(row);
}
} // namespace

CFriendItem NewBuddyRow(LPCWSTR email, LPCWSTR avatarPath)
{
    CFriendItem row;
    row.id = email;
    row.nick = email;
    row.kind = FRIEND_KIND_OFFLINE;
    row.subOrder = 1;
    row.presence = PRESENCE_INVISIBLE;
    row.flags = FRIEND_FLAG_VISIBLE | FRIEND_FLAG_PRESENCE;
    row.avatarPath = avatarPath;
    return row;
}

bool AddBuddyRow(CListFriendCtrl& list, LPCWSTR email, LPCWSTR avatarPath)
{
    if (list.FindItem(email) >= 0)
        return false;
    list.AddItem(NewBuddyRow(email, avatarPath), TRUE);
    list.SortItems();
    return true;
}

PresenceChange ApplyPresence(CListFriendCtrl& list, const CString& id, int extra)
{
    PresenceChange change;
    CFriendItem* row = RowOf(list, id);
    if (!row)
        return change;
    change.found = true;
    change.old = row->presence;
    change.now = PresenceOfExtra(extra);
    if (change.now == change.old)
        return change;
    change.changed = true;
    row->presence = change.now;
    if (change.WentOffline())
    {
        row->state = -1;
        row->totalSongs = 0;
        row->newSongs = 0;
        row->listening = 0;
        for (CString* text : {&row->listen2, &row->listen3, &row->listen4, &row->listen5, &row->listen6, &row->listen7,
                              &row->listen8})
            text->Empty();
    }
    list.SortItems();
    return change;
}

bool ApplyProfile(CListFriendCtrl& list, const CString& id, const CString& nick, const CString& signature,
                  const CString& flags)
{
    int index;
    CFriendItem* row = RowOf(list, id, &index);
    if (!row)
        return false;
    row->nick = nick.IsEmpty() ? id : nick.Left(MaxNameLength);
    row->signature = signature.Left(MaxNameLength);
    int number = SlotNumberOrZero(flags);
    row->profileFlags = flags == L"0" || number != 0 ? number & ~4 : 3;
    list.RedrawItem(index);
    return true;
}

bool ApplyLibraryUpdate(CListFriendCtrl& list, const CString& id, const CString& count, const CString& newSongs)
{
    int index;
    CFriendItem* row = RowOf(list, id, &index);
    if (!row)
        return false;
    int total = SlotNumberOrZero(count);
    row->totalSongs = total > 0 ? total : 0;
    int n = SlotNumberOrZero(newSongs);
    if (n > 0)
        row->newSongs = row->newSongs > INT_MAX - n ? INT_MAX : row->newSongs + n;
    else if (n == -1)
        row->newSongs = 0;
    if (n != 0)
        row->state = 1;
    list.RedrawItem(index);
    return true;
}

bool ApplyNowPlaying(CListFriendCtrl& list, const CString& id, const CString (&texts)[7])
{
    int index;
    CFriendItem* row = RowOf(list, id, &index);
    if (!row || index == 0)
        return false;
    CString* fields[7] = {&row->listen2, &row->listen3, &row->listen4, &row->listen5,
                          &row->listen6, &row->listen7, &row->listen8};
    for (int i = 0; i < 7; ++i)
        *fields[i] = texts[i].Left(MaxNameLength);
    row->listening = texts[0].IsEmpty() ? 0 : 1;
    list.RedrawItem(index);
    return true;
}
