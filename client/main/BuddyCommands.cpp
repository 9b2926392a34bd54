#include "BuddyCommands.h"
#include "CommandTexts.h"
#include "ListFriendCtrl.h"
#include "MessagingLink.h"

namespace
{
// The record's other slots stay empty (an allocated empty text, never null).
void Push(CommandData& record)
{
    Messaging().pushCommand(record);
}

CommandData Record(int code, LPCWSTR s1 = L"")
{
    CommandData record;
    record.code = code;
    record.s1 = s1;
    return record;
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
        CommandData record = Record(11, row.id);
        CommandText* slots[7] = {&record.s2, &record.s3, &record.s4, &record.s5, &record.s6, &record.s7, &record.s8};
        for (int i = 0; i < 7; ++i)
            *slots[i] = texts[i];
        Push(record);
    });
}

void CBuddyCommands::RequestProfiles()
{
    ForEachConfirmedBuddy([](CFriendItem& row) { RequestProfile(row.id); });
}

void CBuddyCommands::RequestProfile(LPCWSTR id)
{
    CommandData record = Record(21, id);
    Push(record);
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
    CommandData record = Record(32, requester);
    record.s4 = L"1";
    record.s5 = list;
    Push(record);
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
    CommandData record = Record(38, id);
    record.s3 = Decimal(count);
    record.s5 = Decimal(newSongs);
    record.extra = ownPresence;
    Push(record);
}

void CBuddyCommands::PushBoardToBuddies(LPCWSTR songKey, LPCWSTR boardText)
{
    ForEachConfirmedBuddy([&](CFriendItem& row) {
        if (row.kind != 2)
            return;
        CommandData record = Record(43, row.id);
        record.s3 = songKey;
        record.s4 = boardText;
        Push(record);
    });
}

void CBuddyCommands::PushPresenceNotice(int presence)
{
    CommandData record = Record(15);
    record.extra = presence;
    Push(record);
}

void CBuddyCommands::PushProfile(LPCWSTR first, LPCWSTR nick, LPCWSTR number, LPCWSTR signature, LPCWSTR second,
                                 LPCWSTR userId, LPCWSTR flags, int age)
{
    CommandData record = Record(22, first);
    record.s2 = nick;
    record.s3 = number;
    record.s4 = signature;
    record.s5 = second;
    record.s6 = userId;
    record.s8 = flags;
    record.extra = age;
    Push(record);
}

void CBuddyCommands::PushPresence(int presence)
{
    CommandData record = Record(24);
    record.extra = SlotNumberOrZero(Decimal(presence));
    Push(record);
}

void CBuddyCommands::PushStopTransfer(LPCWSTR owner, LPCWSTR songId)
{
    CommandData record = Record(31, owner);
    record.s3 = songId;
    record.s5 = songId;
    Push(record);
}

void CBuddyCommands::RequestBuddyList(LPCWSTR id)
{
    CommandData record = Record(37, id);
    Push(record);
}

void CBuddyCommands::PushBoardOpened(LPCWSTR owner, LPCWSTR hash)
{
    CommandData record = Record(40, owner);
    record.s3 = hash;
    Push(record);
}

void CBuddyCommands::PushBoardReply(LPCWSTR requester, LPCWSTR board, LPCWSTR text)
{
    CommandData record = Record(41, requester);
    record.s3 = board;
    record.s5 = text;
    Push(record);
}

void CBuddyCommands::PushBoardEntry(LPCWSTR owner, LPCWSTR field2, LPCWSTR hash, LPCWSTR text, LPCWSTR field5,
                                    LPCWSTR number)
{
    CommandData record = Record(42, owner);
    record.s2 = field2;
    record.s3 = hash;
    record.s4 = text;
    record.s5 = field5;
    record.s8 = number;
    Push(record);
}

void CBuddyCommands::PushRecommendation(LPCWSTR receiver, LPCWSTR list)
{
    CommandData record = Record(32, receiver);
    record.s5 = list;
    Push(record);
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
