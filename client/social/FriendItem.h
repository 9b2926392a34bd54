// CFriendItem: one row of the buddy list (the left bar of the main window):
// the own library, a channel group header or channel, a buddy group header,
// or a buddy. The image base holds the row's avatar picture, which the list
// loads when it paints the row; everything else is the row's data. Copies of
// rows go to the buddy card and the chat window.
#pragma once

#include "Framework.h"
#include "PixImage.h"

// Bits of CFriendItem::flags.
#define FRIEND_FLAG_HEADER 0x01      // a group header row (28 pixels high)
#define FRIEND_FLAG_VISIBLE 0x02     // an ordinary row (50 pixels high)
#define FRIEND_FLAG_PRESENCE 0x04    // the presence icon is drawn beside the avatar
#define FRIEND_FLAG_BOARD_UNREAD 0x10 // the buddy wrote on boards the user has not read

// Kinds of rows, in the order the list shows them.
#define FRIEND_KIND_OWN 0
#define FRIEND_KIND_CHANNEL 1
#define FRIEND_KIND_ONLINE 2
#define FRIEND_KIND_OFFLINE 3

// Presence values; anything above 2 counts as offline.
#define PRESENCE_ONLINE 0
#define PRESENCE_AWAY 1
#define PRESENCE_BUSY 2
#define PRESENCE_INVISIBLE 3

class CFriendItem : public CPixImage
{
  public:
    CFriendItem();
    CFriendItem(const CFriendItem& other);
    CFriendItem& operator=(const CFriendItem& other);
    ~CFriendItem() override;

    bool IsHeader() const { return (flags & FRIEND_FLAG_HEADER) != 0; }
    bool IsOffline() const { return presence > 2; }
    // A row of a buddy (not a group header) with an id: the rows that
    // commands to buddies go to.
    bool IsConfirmedBuddy() const { return kind > 1 && subOrder > 0 && !id.IsEmpty(); }

    int key;
    int height;
    int flags;
    // Set by the list when it stores the item; a row whose self does not
    // point at itself is skipped.
    CFriendItem* self;
    CRect rect;
    CString avatarPath;
    int presence;
    int kind;
    int subOrder; // 0 for a group header; above 0 for a confirmed buddy
    CString id;
    CString nick;
    CString signature;
    int totalSongs;
    int newSongs;
    // The buddy's library: -1 not asked for, 0 arrived, 1 new songs reported
    // (which also draws the state icon).
    int state;
    int marked;
    // What the buddy listens to: the flag and the texts of its last
    // now-playing report, by their place in the report.
    int listening;
    CString listen3;
    CString listen4;
    CString listen2;
    CString listen5;
    CString listen6; // "radio" for a web radio station
    CString listen7;
    CString listen8;
    CString nickColor;
    CString greyColor;
    CString linkColor;
    // The buddy's numeric user id at the service ("" or "0" while unknown).
    CString extra;
    int buttons;
    // The buddy's profile flags as its profile reports them (bit 0: the buddy
    // may be listed in the buddy list that other users ask for). Kept apart
    // from the row's drawing flags, which a profile must not change.
    int profileFlags;

  private:
    void CopyFields(const CFriendItem& other);
};
