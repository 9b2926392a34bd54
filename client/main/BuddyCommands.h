// The commands the main window sends to its buddies, built from the rows of
// the buddy list: now playing (11), profile requests (21), the buddy list
// asked for by a buddy (32), song counts (38) and board notices (43), and
// the single commands that name one recipient or none. Every record is
// built on the stack, handed to the messaging library and destroyed; the
// library's answers are never awaited.
#pragma once

#include "Framework.h"

class CListFriendCtrl;
class CFriendItem;

class CBuddyCommands
{
  public:
    explicit CBuddyCommands(CListFriendCtrl& buddies) : m_buddies(buddies) {}

    // 11 to every confirmed buddy whose presence is below 3; texts are s2 to s8.
    void PushNowPlaying(const CString (&texts)[7]);
    // 21 to every confirmed buddy.
    void RequestProfiles();
    // 21 for one user.
    static void RequestProfile(LPCWSTR id);
    // 32 to the requester: every confirmed buddy whose profile flags have
    // bit 0, avatars addressed by the buddy's numeric user id.
    void SendBuddyList(LPCWSTR requester);
    // 38 to every confirmed buddy, unless the own presence is 3 (invisible).
    void PushSongCount(int count, int newSongs, int ownPresence);
    // 38 to one buddy, unless the own presence is 3.
    void PushSongCountTo(LPCWSTR id, int count, int newSongs, int ownPresence);
    // 43 to every confirmed buddy of the online group.
    void PushBoardToBuddies(LPCWSTR songKey, LPCWSTR boardText);
    // The form of the page that recommends the own buddies to one of them:
    // "nick=%s&page=10&infonum=%ld&email=%s" (the number of buddy rows less
    // one) and one "&var%d=" record per other buddy, avatars by user id.
    // Empty when the target has no row or there is no other buddy.
    CString RecommendationForm(LPCWSTR target);

    static void PushAvatarChanged(LPCWSTR buddy);                       // 13
    static void PushPresenceNotice(int presence);                       // 15
    static void PushProfile(LPCWSTR first, LPCWSTR nick, LPCWSTR number, LPCWSTR signature, LPCWSTR second,
                            LPCWSTR userId, LPCWSTR flags, int age);    // 22
    static void PushPresence(int presence);                             // 24
    static void PushStopTransfer(LPCWSTR owner, LPCWSTR songId);        // 31
    static void RequestBuddyList(LPCWSTR id);                           // 37
    static void RequestLibrary(LPCWSTR id);                             // 44
    static void LeaveLibrary(LPCWSTR id);                               // 46
    static void PushBoardOpened(LPCWSTR owner, LPCWSTR hash);           // 40
    static void PushBoardReply(LPCWSTR requester, LPCWSTR board, LPCWSTR text); // 41
    static void PushBoardEntry(LPCWSTR owner, LPCWSTR field2, LPCWSTR hash, LPCWSTR text, LPCWSTR field5,
                               LPCWSTR number);                         // 42
    // 32 carrying a recommendation: s1 the receiving buddy, s5 the list.
    static void PushRecommendation(LPCWSTR receiver, LPCWSTR list);

  private:
    template <typename Fn> void ForEachConfirmedBuddy(Fn fn);

    CListFriendCtrl& m_buddies;
};
