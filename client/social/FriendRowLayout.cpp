#include "FriendRowLayout.h"
#include "FriendItem.h"

FriendRowLayout::FriendRowLayout(const CRect& row, const CFriendItem& item)
{
    const int L = row.left, T = row.top, R = row.right, B = row.bottom;
    selectionBar.SetRect(L + 1, T + 2, R - 1, B - 1);
    int boxRight, boxTop, boxBottom;
    if (item.kind == FRIEND_KIND_OWN)
    {
        picture = OWN_ICON;
        pictureBox.SetRect(L + 22, T + 6, L + 52, T + 36);
        boxRight = L + 60, boxTop = T + 6, boxBottom = T + 22;
    }
    else if (item.IsHeader())
    {
        picture = HEADER_ICON;
        pictureBox.SetRect(L + 22, T + 6, L + 38, T + 22);
        boxRight = L + 46, boxTop = T + 6, boxBottom = T + 22;
    }
    else
    {
        picture = AVATAR;
        pictureBox.SetRect(L + 26, T + 10, L + 56, T + 40);
        boxRight = L + 64, boxTop = T + 10, boxBottom = T + 40;
    }
    presenceIcon.SetRectEmpty();
    stateIcon.SetRectEmpty();
    if (picture == AVATAR && (item.flags & FRIEND_FLAG_PRESENCE))
    {
        presenceIcon.SetRect(L + 62, T + 8, L + 78, T + 24);
        stateIcon.SetRect(L + 62, T + 25, L + 78, T + 41);
        boxRight = L + 78;
    }
    int markerTop = T + (B - T - 18) / 2 + 1;
    markerIcon.SetRect(L, markerTop, L + 25, markerTop + 18);
    textBox.SetRect(boxRight, boxTop, boxRight, boxBottom);
    text.SetRect(boxRight + 4, boxTop, R - 3, boxBottom);
    secondLine.SetRect(text.left, boxBottom, R - 3, B - 10);
    avatarHover.SetRect(L + 25, T + 9, L + 57, T + 40);
    linkBar.SetRect(text.left - 2, T + 25, R - 5, T + 42);
    avatarHit.SetRect(L + 26, T + 10, L + 56, T + 40);
    listenHit.SetRect(L + 80, T + (B - T) / 2, R - 7, T + 40);
}
