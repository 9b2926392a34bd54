// The tooltip text of a buddy-list row (tooltip mark-up, "<<" being a
// literal "<"), for a cursor at a point of the row. Language texts are
// looked up by key; their %d fields take the song counts.
#pragma once

#include "Framework.h"

class CFriendItem;

CString BuildFriendTipText(const CFriendItem& item, POINT cursor);
