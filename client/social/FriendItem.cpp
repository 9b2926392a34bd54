#include "FriendItem.h"

CFriendItem::CFriendItem()
    : key(-1), height(0), flags(FRIEND_FLAG_HEADER), self(NULL), rect(0, 0, 0, 0), presence(0), kind(0),
      subOrder(0), totalSongs(0), newSongs(0), state(-1), marked(0), listening(0), nickColor(L"#000000"),
      greyColor(L"#666666"), linkColor(L"#0066cc"), buttons(3), profileFlags(0)
{
}

CFriendItem::CFriendItem(const CFriendItem& other) : CPixImage(other), self(NULL)
{
    CopyFields(other);
}

CFriendItem& CFriendItem::operator=(const CFriendItem& other)
{
    if (this == &other)
        return *this;
    CPixImage::operator=(other);
    CopyFields(other);
    return *this;
}

CFriendItem::~CFriendItem() {}

void CFriendItem::CopyFields(const CFriendItem& other)
{
    key = other.key;
    height = other.height;
    flags = other.flags;
    // self is the destination's own business: the list sets it when it stores the item.
    rect = other.rect;
    avatarPath = other.avatarPath;
    presence = other.presence;
    kind = other.kind;
    subOrder = other.subOrder;
    id = other.id;
    nick = other.nick;
    signature = other.signature;
    totalSongs = other.totalSongs;
    newSongs = other.newSongs;
    state = other.state;
    marked = other.marked;
    listening = other.listening;
    listen3 = other.listen3;
    listen4 = other.listen4;
    listen2 = other.listen2;
    listen5 = other.listen5;
    listen6 = other.listen6;
    listen7 = other.listen7;
    listen8 = other.listen8;
    nickColor = other.nickColor;
    greyColor = other.greyColor;
    linkColor = other.linkColor;
    extra = other.extra;
    buttons = other.buttons;
    profileFlags = other.profileFlags;
}
