// Where the parts of one buddy-list row lie, from the row's rectangle and
// its item. Painting, hit tests and the tooltip all read the same places.
#pragma once

#include "Framework.h"

class CFriendItem;

struct FriendRowLayout
{
    // How the row's picture is drawn.
    enum Picture
    {
        OWN_ICON,    // the own library: icon 0, 30 x 30
        HEADER_ICON, // a group header: icon 1, 16 x 16
        AVATAR       // a buddy or channel: the avatar picture, 30 x 30
    };

    FriendRowLayout(const CRect& row, const CFriendItem& item);

    Picture picture;
    CRect selectionBar;
    CRect pictureBox;  // icon or avatar
    CRect presenceIcon; // empty unless the presence icon is drawn
    CRect stateIcon;    // icon 3 or icon 10 (flags bit 2)
    CRect markerIcon;   // icon 4 of a marked row
    CRect textBox;      // the box the two text lines share (before the 4-pixel gap)
    CRect text;         // the first line's rectangle; the second line shares its bottom
    CRect secondLine;   // the own row's second line, below its first
    CRect avatarHover;  // the 3-D frame of a hovered avatar
    CRect linkBar;      // the highlight behind a hovered listening line
    CRect avatarHit;
    CRect listenHit;
};
