#include "AvatarListEntry.h"
#include "PixImage.h"

AvatarListEntry::AvatarListEntry() : value(0), thumbnail(NULL) {}

AvatarListEntry::AvatarListEntry(LPCWSTR text, LPCWSTR picturePath, int value)
    : text(text), picturePath(picturePath), value(value), thumbnail(NULL)
{
}

AvatarListEntry::AvatarListEntry(const AvatarListEntry& other)
    : text(other.text), picturePath(other.picturePath), value(other.value), thumbnail(NULL)
{
}

AvatarListEntry& AvatarListEntry::operator=(const AvatarListEntry& other)
{
    if (this != &other)
    {
        text = other.text;
        picturePath = other.picturePath;
        value = other.value;
        delete thumbnail;
        thumbnail = NULL;
    }
    return *this;
}

AvatarListEntry::~AvatarListEntry()
{
    delete thumbnail;
}

bool AvatarListEntry::LoadThumbnail()
{
    CPixImage* image = new CPixImage;
    if (!image->Load(picturePath, 0))
    {
        delete image;
        return false;
    }
    image->Resample(30, 30, 4, 5);
    delete thumbnail;
    thumbnail = image;
    return true;
}
