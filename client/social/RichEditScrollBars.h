// The chat boxes take the skinned scroll bars on their first size change,
// once, and only when they have a scroll-bar style.
#pragma once
#include "Framework.h"
#include "SkinScrollBarFrame.h"

inline void AttachRichEditScrollBarsOnce(CWnd& box, HBITMAP bitmap, BOOL& attached)
{
    if (attached || !box.GetSafeHwnd())
        return;
    if ((box.GetStyle() & (WS_VSCROLL | WS_HSCROLL)) == 0)
        return;
    attached = TRUE;
    AttachSkinScrollBars(&box, bitmap);
}
