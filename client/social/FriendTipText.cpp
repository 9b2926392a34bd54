#include "FriendTipText.h"
#include "FriendItem.h"
#include "FriendRowLayout.h"
#include "LanguageTable.h"
#include "MarkupDrawer.h"

namespace
{
// Name, signature and id, then a ruler and the song counts in the link colour.
const wchar_t TipHead[] = L"<font color=%s>%s</font> \xFF0D <font color=%s>%s</font><br><<%s><br>"
                          L"<hr color=green><br><font color=%s>";

// A text that came from the network, shown as it stands: a buddy's nick or
// signature must not bring tags of its own (a picture tag would make the
// tooltip open a file that the text names).
CString Plain(const CString& text)
{
    return CString(MarkupDrawer::EscapeText((LPCWSTR)text).c_str());
}
} // namespace

CString BuildFriendTipText(const CFriendItem& source, POINT cursor)
{
    CFriendItem item;
    item.rect = source.rect;
    item.flags = source.flags;
    item.kind = source.kind;
    item.nickColor = source.nickColor;
    item.greyColor = source.greyColor;
    item.linkColor = source.linkColor;
    item.totalSongs = source.totalSongs;
    item.newSongs = source.newSongs;
    item.listening = source.listening;
    item.listen6 = source.listen6;
    item.nick = Plain(source.nick);
    item.signature = Plain(source.signature);
    item.id = Plain(source.id);
    item.listen2 = Plain(source.listen2);
    item.listen4 = Plain(source.listen4);
    CString tip;
    FriendRowLayout layout(item.rect, item);
    if (item.IsHeader())
    {
        if (item.kind != FRIEND_KIND_OWN)
            tip.Format(L"<font color=%s>%s</font>", item.nickColor, item.nick);
        else
            tip.Format(L"<font color=%s>%s</font><br><<%s>", item.nickColor, item.nick, item.id);
        return tip;
    }
    if (item.kind > FRIEND_KIND_CHANNEL && layout.avatarHit.PtInRect(cursor))
        return Lang(L"INFO_LIST_FRIEND_VIEW_BUDDY_INFO");
    bool radio = item.listen6 == L"radio";
    if (item.listening && layout.listenHit.PtInRect(cursor))
        return Lang(radio ? L"INFO_LIST_FRIEND_FOLLOW_BUDDY_RADIO" : L"INFO_LIST_FRIEND_FOLLOW_BUDDY_SONG");

    CString total = Lang(L"INFO_LIST_FRIEND_TOTAL_SONG");
    CString fresh = Lang(L"INFO_LIST_FRIEND_NEW_SONG");
    CString tail = CString(L"</font><br><font color=%s>") +
                   Lang(radio ? L"INFO_LIST_FRIEND_LISTENING_RADIO" : L"INFO_LIST_FRIEND_LISTENING_SONG") +
                   L"%s\xFF0D%s</font><br>";
    if (!item.listening && item.newSongs != 0)
        tip.Format(CString(TipHead) + total + L" " + fresh + L"</font>", item.nickColor, item.nick, item.greyColor,
                   item.signature, item.id, item.linkColor, item.totalSongs, item.newSongs);
    else if (item.listening && item.newSongs != 0)
        tip.Format(CString(TipHead) + total + L" " + fresh + tail, item.nickColor, item.nick, item.greyColor,
                   item.signature, item.id, item.linkColor, item.totalSongs, item.newSongs, item.linkColor,
                   item.listen4, item.listen2);
    else if (item.listening && item.totalSongs != 0)
        tip.Format(CString(TipHead) + total + tail, item.nickColor, item.nick, item.greyColor, item.signature, item.id,
                   item.linkColor, item.totalSongs, item.linkColor, item.listen4, item.listen2);
    else if (item.kind > FRIEND_KIND_CHANNEL)
        tip.Format(L"<font color=%s>%s</font> \xFF0D <font color=%s>%s</font><br><<%s>", item.nickColor, item.nick,
                   item.greyColor, item.signature, item.id);
    else if (!item.listening && item.totalSongs != 0)
        tip.Format(CString(L"<font color=%s>%s</font><br><hr color=green><br><font color=%s>") + total + L"</font>",
                   item.nickColor, item.nick, item.linkColor, item.totalSongs);
    return tip;
}
