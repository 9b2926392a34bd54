// The two blits every skin drawer needs, a copy that leaves out one colour
// and a per-pixel alpha blend, through MSIMG32 where the system's own are
// usable and through the framework's fallbacks otherwise.
#pragma once
#include <Framework.h>

// Copies the source rectangle (stretched when the sizes differ) leaving out
// pixels of the transparent colour; 0 when a step fails.
BOOL TransparentBltMasked(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh,
                          COLORREF transparent);
// Composes a premultiplied 32-bit source over the destination:
// result = source + destination * (255 - source alpha) / 255 per channel.
// Mirrored DCs are read right to left. FALSE when a step fails.
BOOL AlphaBlendEmulated(HDC dest, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh);

// TransparentBlt of MSIMG32 on Windows 2000 and later, else the masked copy.
BOOL SFTransparentBlt(HDC dest, const RECT& destRect, HDC src, const RECT& srcRect, COLORREF transparent);
// AlphaBlend of MSIMG32 (constant alpha 255, per-pixel source alpha), except
// where it is known to misbehave: a mirrored DC on Windows 9x, a source
// origin other than (0, 0) or a negative destination top before Windows
// 2000, or no MSIMG32 at all.
BOOL SFAlphaBlend(HDC dest, const RECT& destRect, HDC src, const RECT& srcRect);
