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

CString BuildFriendTipText(const CFriendItem& item, POINT cursor)
{
    const CString nick = Plain(item.nick), signature = Plain(item.signature), id = Plain(item.id);
    const CString title = Plain(item.listen2), detail = Plain(item.listen4);
    CString tip;
    FriendRowLayout layout(item.rect, item);
    if (item.IsHeader())
    {
        if (item.kind != FRIEND_KIND_OWN)
            tip.Format(L"<font color=%s>%s</font>", item.nickColor, nick);
        else
            tip.Format(L"<font color=%s>%s</font><br><<%s>", item.nickColor, nick, id);
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
        tip.Format(CString(TipHead) + total + L" " + fresh + L"</font>", item.nickColor, nick, item.greyColor,
                   signature, id, item.linkColor, item.totalSongs, item.newSongs);
    else if (item.listening && item.newSongs != 0)
        tip.Format(CString(TipHead) + total + L" " + fresh + tail, item.nickColor, nick, item.greyColor,
                   signature, id, item.linkColor, item.totalSongs, item.newSongs, item.linkColor,
                   detail, title);
    else if (item.listening && item.totalSongs != 0)
        tip.Format(CString(TipHead) + total + tail, item.nickColor, nick, item.greyColor, signature, id,
                   item.linkColor, item.totalSongs, item.linkColor, detail, title);
    else if (item.kind > FRIEND_KIND_CHANNEL)
        tip.Format(L"<font color=%s>%s</font> \xFF0D <font color=%s>%s</font><br><<%s>", item.nickColor, nick,
                   item.greyColor, signature, id);
    else if (!item.listening && item.totalSongs != 0)
        tip.Format(CString(L"<font color=%s>%s</font><br><hr color=green><br><font color=%s>") + total + L"</font>",
                   item.nickColor, nick, item.linkColor, item.totalSongs);
    return tip;
}
