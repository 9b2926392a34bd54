// The texts that travel inside command slots and the page forms built from
// them: numbered buddy lists ("&var%d=" records of key--value pairs joined
// by "++"), avatar addresses, the two profile texts joined by "0$0", and the
// checks a slot from the network passes before the client uses it.
#pragma once

#include "Framework.h"

#include <vector>

// One "&var%d=nick--%s++img--%s++state--%d++email--%s++mnum--%d++sign--%s"
// record of a buddy list.
CString BuddyListEntry(int number, LPCWSTR nick, LPCWSTR avatar, int presence, LPCWSTR email, int songs,
                       LPCWSTR signature);
// A buddy's avatar by its numeric user id: base + "%03d/%03d/%d.jpg" of
// id mod 1000, (id / 1000) mod 1000 and id.
CString AvatarAddressOfUser(LPCWSTR avatarBase, int uid);
// A buddy's avatar by its e-mail: base + e-mail + ".jpg".
CString AvatarAddressOfEmail(LPCWSTR avatarBase, LPCWSTR email);
// The service's avatar folder: "/avatar/" on its image server.
CString AvatarBaseAddress();

// The parts before and after the first "0$0"; both empty without one.
void SplitProfileText(const CString& text, CString& first, CString& second);

// A buddy recommended by another user (seven texts of a received list).
struct RecommendedBuddy
{
    CString nick, img, state, email, mnum, sign, isfriend;
};
// The entries of a received buddy list: the payload split at "&" (a first
// empty part dropped), each part at "++"; a part of more than five fields
// gives one entry from the last "--" piece of each of its first six fields.
std::vector<RecommendedBuddy> ParseBuddyListPayload(const CString& payload);
// The form that shows received recommendations: "nick=%s&page=12&infonum=%ld&email=%s"
// and one "&var%d=" record of all seven texts per entry.
CString RecommendationViewForm(LPCWSTR nick, LPCWSTR recommender, const std::vector<RecommendedBuddy>& entries);

// The longest text a command slot may bring for an id, a number or a name
// that the client keeps; longer ones are refused, not cut.
const int MaxIdLength = 254;
const int MaxNameLength = 1024;
// An id that may name a buddy row and the buddy's folders: 1 to 254
// characters of an e-mail address (letters, digits, ".", "_", "%", "+", "-"
// and one "@"), no "..".
bool IsUsableBuddyId(const CString& id);
// A decimal number of at most 9 digits, optionally signed: the value of a
// number slot; false for anything else (the value is then 0).
bool ParseSlotNumber(const CString& text, int& value);
// The leading decimal number of a text as the C runtime reads it (0 when it
// has none), limited to the range of int.
int SlotNumberOrZero(const CString& text);
// Presence carried in extra: 0 to 4, counting the way the service does.
int PresenceOfExtra(int extra);

// The header of the list of song lists: at most 255 characters, a longer
// text cut to 252 followed by "...".
CString LimitHeaderText(const CString& text);
