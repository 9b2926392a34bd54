#include "BuddyCommands.h"
#include "CommandTexts.h"
#include "ListFriendCtrl.h"
#include "MessagingLink.h"

#include <initializer_list>

namespace
{
// Pushes one record: the code, its slots from s1 on (the others stay empty,
// an allocated empty text each) and extra.
void PushRecord(int code, std::initializer_list<LPCWSTR> slots, int extra = 0)
{
    CommandData record;
    record.code = code;
    record.extra = extra;
    CommandText* targets[8] = {&record.s1, &record.s2, &record.s3, &record.s4,
                               &record.s5, &record.s6, &record.s7, &record.s8};
    int i = 0;
    for (LPCWSTR text : slots)
        *targets[i++] = text;
    Messaging().pushCommand(record);
}

CString Decimal(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}
} // namespace

// The first row is the own library, never a buddy: the walk starts at the second.
template <typename Fn> void CBuddyCommands::ForEachConfirmedBuddy(Fn fn)
{
    for (int i = 1; i < m_buddies.GetItemCount(); ++i)
    {
        CFriendItem* row = m_buddies.GetItem(i);
        if (row && row->IsConfirmedBuddy())
            fn(*row);
    }
}

void CBuddyCommands::PushNowPlaying(const CString (&texts)[7])
{
    ForEachConfirmedBuddy([&](CFriendItem& row) {
        if (row.presence >= 3)
            return;
        PushRecord(11, {row.id, texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6]});
    });
}

void CBuddyCommands::RequestProfiles()
{
    ForEachConfirmedBuddy([](CFriendItem& row) { RequestProfile(row.id); });
}

void CBuddyCommands::RequestProfile(LPCWSTR id)
{
    PushRecord(21, {id});
}

void CBuddyCommands::SendBuddyList(LPCWSTR requester)
{
    CString list, base = AvatarBaseAddress();
    int number = 0;
    ForEachConfirmedBuddy([&](CFriendItem& row) {
        if (row.profileFlags & 1)
            list += BuddyListEntry(++number, row.nick, AvatarAddressOfUser(base, SlotNumberOrZero(row.extra)),
                                   row.presence, row.id, row.totalSongs, row.signature);
    });
    PushRecord(32, {requester, L"", L"", L"1", list});
}

void CBuddyCommands::PushSongCount(int count, int newSongs, int ownPresence)
{
    if (ownPresence == 3)
        return;
    ForEachConfirmedBuddy([&](CFriendItem& row) { PushSongCountTo(row.id, count, newSongs, ownPresence); });
}

void CBuddyCommands::PushSongCountTo(LPCWSTR id, int count, int newSongs, int ownPresence)
{
    if (ownPresence == 3)
        return;
    PushRecord(38, {id, L"", Decimal(count), L"", Decimal(newSongs)}, ownPresence);
}

void CBuddyCommands::PushBoardToBuddies(LPCWSTR songKey, LPCWSTR boardText)
{
    ForEachConfirmedBuddy([&](CFriendItem& row) {
        if (row.kind != 2)
            return;
        PushRecord(43, {row.id, L"", songKey, boardText});
    });
}

void CBuddyCommands::PushPresenceNotice(int presence)
{
    PushRecord(15, {}, presence);
}

void CBuddyCommands::PushProfile(LPCWSTR first, LPCWSTR nick, LPCWSTR number, LPCWSTR signature, LPCWSTR second,
                                 LPCWSTR userId, LPCWSTR flags, int age)
{
    PushRecord(22, {first, nick, number, signature, second, userId, L"", flags}, age);
}

void CBuddyCommands::PushAvatarChanged(LPCWSTR buddy)
{
    PushRecord(13, {buddy});
}

void CBuddyCommands::PushPresence(int presence)
{
    PushRecord(24, {}, SlotNumberOrZero(Decimal(presence)));
}

void CBuddyCommands::PushStopTransfer(LPCWSTR owner, LPCWSTR songId)
{
    PushRecord(31, {owner, L"", songId, L"", songId});
}

void CBuddyCommands::RequestBuddyList(LPCWSTR id)
{
    PushRecord(37, {id});
}

void CBuddyCommands::RequestLibrary(LPCWSTR id)
{
    PushRecord(44, {id});
}

void CBuddyCommands::LeaveLibrary(LPCWSTR id)
{
    PushRecord(46, {id});
}

void CBuddyCommands::PushBoardOpened(LPCWSTR owner, LPCWSTR hash)
{
    PushRecord(40, {owner, L"", hash});
}

void CBuddyCommands::PushBoardReply(LPCWSTR requester, LPCWSTR board, LPCWSTR text)
{
    PushRecord(41, {requester, L"", board, L"", text});
}

void CBuddyCommands::PushBoardEntry(LPCWSTR owner, LPCWSTR field2, LPCWSTR hash, LPCWSTR text, LPCWSTR field5,
                                    LPCWSTR number)
{
    PushRecord(42, {owner, field2, hash, text, field5, L"", L"", number});
}

void CBuddyCommands::PushRecommendation(LPCWSTR receiver, LPCWSTR list)
{
    PushRecord(32, {receiver, L"", L"", L"", list});
}

CString CBuddyCommands::RecommendationForm(LPCWSTR target)
{
    CFriendItem* to = m_buddies.GetItem(m_buddies.FindItem(target));
    if (!to)
        return CString();
    int buddies = 0;
    for (int i = 0; i < m_buddies.GetItemCount(); ++i)
        if (CFriendItem* row = m_buddies.GetItem(i))
            buddies += row->kind > 1 && row->subOrder > 0 ? 1 : 0;
    CString form, base = AvatarBaseAddress();
    form.Format(L"nick=%s&page=10&infonum=%ld&email=%s", to->nick, (long)(buddies - 1), to->id);
    int number = 0;
    for (int i = 0; i < m_buddies.GetItemCount(); ++i)
    {
        CFriendItem* row = m_buddies.GetItem(i);
        if (!row || row == to || row->kind <= 1 || row->subOrder <= 0)
            continue;
        form.AppendFormat(L"&var%d=nick--%s++img--%s++state--%d++email--%s", ++number, row->nick,
                          AvatarAddressOfUser(base, SlotNumberOrZero(row->extra)), row->presence, row->id);
    }
    return number > 0 ? form : CString();
}
