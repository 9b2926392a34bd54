// AvatarListEntry: one entry of the avatar chooser's picture list: a text,
// the picture file and a value, with the 30 x 30 thumbnail once loaded.
#pragma once

#include "Framework.h"

class CPixImage;

class AvatarListEntry
{
  public:
    AvatarListEntry();
    AvatarListEntry(LPCWSTR text, LPCWSTR picturePath, int value);
    // A copy has no thumbnail of its own until it loads one.
    AvatarListEntry(const AvatarListEntry& other);
    AvatarListEntry& operator=(const AvatarListEntry& other);
    ~AvatarListEntry();

    // Loads the picture (any type) and shrinks it to 30 x 30; false, with no
    // thumbnail, when the file cannot be read.
    bool LoadThumbnail();

    CString text;
    CString picturePath;
    int value;
    CPixImage* thumbnail;
};
