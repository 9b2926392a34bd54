// The buddy list's notification record: sent to its owner as WM_NOTIFY with
// wParam the list's control id. The list allocates it with new; the
// receiver frees the records of codes 1, 3, 4, 5 and 6, the list those of
// codes 2 and 7 after SendMessage returns.
#pragma once

#include "Framework.h"

class CFriendItem;

// Notification codes.
#define FLN_CLICK 1        // a row was chosen (left button or keyboard)
#define FLN_BUTTONDOWN 2   // the left button went down, before any hit test
#define FLN_RCLICK 3       // right button on a buddy row
#define FLN_DBLCLK 4       // double click on an online buddy
#define FLN_AVATARCLICK 5  // left button on a buddy's avatar
#define FLN_LISTENCLICK 6  // left button on a buddy's listening line
#define FLN_MOUSEMOVE 7

// The list tells the application's main window with this message when the
// mouse enters a buddy's avatar (wParam 1, lParam the row's CFriendItem) and
// when it leaves it or the list (0, 0).
#define WM_FRIEND_AVATAR_HOVER (WM_USER + 32)

struct FriendListNotify
{
    NMHDR hdr; // the list window, its control id, the code
    int key;   // the row's key (its index), or -1
    CFriendItem* item; // the row, or null; valid while the row lives
    // The row's id when the record was made. A posted record is handled
    // later, when the row may have moved or gone: the receiver finds the row
    // again by this id rather than trusting the pointer.
    CString rowId;
};
