// Two process-wide tests on names: whether a song-list name is one of the
// built-in lists' names (which a user list may not take), and whether an
// e-mail address is one of the service's robot accounts.
#pragma once

#include "Framework.h"

// 1 when name equals the language text of the buddy playlist or the recent
// list, or (with includeAll) of the all-songs list.
BOOL IsReservedListName(LPCWSTR name, BOOL includeAll);
// 1 when email equals, ignoring case, one of the service's robot accounts.
BOOL IsRobotAccount(LPCWSTR email);

// The robot accounts: service messages, song recommendations, radio.
extern const wchar_t* const ROBOT_ACCOUNTS[3];
