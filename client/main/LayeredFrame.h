// LayeredFrame: puts one 32-bit picture from the resources on a layered
// pop-up window (the login and song-list animations), blended at the given
// alpha over whatever lies below it.
#pragma once
#include "Framework.h"
#include "Kavpng.h"

namespace LayeredFrame
{
// On success the new picture replaces `held` (the previous one is freed),
// since the window keeps showing its pixels until the next frame.
BOOL Show(CWnd* window, HKAVPNGDECODER decoder, UINT id, BYTE alpha, HKAVPNGDIB& held);
} // namespace LayeredFrame
