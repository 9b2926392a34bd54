// What received commands change in the buddy list's rows: a buddy's
// presence (6), profile (21), song counts (23 "UpdatePlaylist") and
// now-playing report (11), and the rows of buddies that are added. The main
// window runs the rest of each command (boards, chats, the shown library).
#pragma once

#include "Framework.h"

class CListFriendCtrl;
class CFriendItem;

// A new buddy's row: nick and id the e-mail, offline, confirmed, no songs.
CFriendItem NewBuddyRow(LPCWSTR email, LPCWSTR avatarPath);
// Adds the row unless one has that id; the list is sorted. False when a row
// was there already.
bool AddBuddyRow(CListFriendCtrl& list, LPCWSTR email, LPCWSTR avatarPath);

struct PresenceChange
{
    bool found = false;   // the buddy has a row
    bool changed = false; // the presence differs from the row's
    int old = 0;
    int now = 0;
    bool WentOffline() const { return changed && old < 3 && now > 2; }
    bool CameOnline() const { return changed && old > 2 && now < 3; }
};
// Stores the presence carried in extra; a buddy that goes offline loses its
// library state, song counts and now-playing report. The list is sorted
// after a change.
PresenceChange ApplyPresence(CListFriendCtrl& list, const CString& id, int extra);

// Nick (the id when empty), signature and profile flags: the number in the
// flags text with bit 2 cleared, or 3 when the text holds no number. False
// when the buddy has no row.
bool ApplyProfile(CListFriendCtrl& list, const CString& id, const CString& nick, const CString& signature,
                  const CString& flags);

// Song count, and new songs: n > 0 adds n, -1 resets the count; any n but 0
// marks the library as having new songs. False when the buddy has no row.
bool ApplyLibraryUpdate(CListFriendCtrl& list, const CString& id, const CString& count, const CString& newSongs);

// The texts of a now-playing report, in the order the row keeps them: title,
// address, detail, owner, kind, and two further fields. The row is listening
// while the title is not empty. False when the buddy has no row, or for the
// first row (the own library).
bool ApplyNowPlaying(CListFriendCtrl& list, const CString& id, const CString (&texts)[7]);
