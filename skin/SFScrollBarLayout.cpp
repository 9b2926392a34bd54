#include "SFScrollBarLayout.h"

void SFLayoutScrollBar(ScrollBarLayout* l, const RECT& r, const SCROLLINFO& s, int arrow)
{
    l->rect = r;
    if (l->vertical)
    {
        l->start = r.top;
        l->end = r.bottom;
        l->crossStart = r.left;
        l->crossEnd = r.right;
    }
    else
    {
        l->start = r.left;
        l->end = r.right;
        l->crossStart = r.top;
        l->crossEnd = r.bottom;
    }
    const int fullArrow = arrow;
    l->thumbSize = arrow;
    l->min = s.nMin;
    l->max = s.nMax;
    l->page = (int)s.nPage;
    l->pos = s.nPos;
    // A short bar halves both arrows rather than let them overlap.
    if ((l->end - l->start) / 2 < arrow)
        arrow = (l->end - l->start) / 2;
    l->firstArrowEnd = l->start + arrow;
    l->secondArrowStart = l->end - arrow;
    int range = l->max - l->min + 1;
    if (l->page != 0 && range != 0)
    {
        l->thumbSize = ::MulDiv(l->secondArrowStart - l->firstArrowEnd, l->page, range);
        if (l->thumbSize < fullArrow / 2)
            l->thumbSize = fullArrow / 2;
    }
    else
        l->thumbSize = fullArrow;
    l->trackStart = l->start + arrow;
    l->freeTrack = l->end - l->trackStart - arrow - l->thumbSize;
    int p = l->page ? l->page : 1;
    if (range - p == 0)
    {
        l->thumbTop = l->trackStart - 1;
        l->thumbBottom = l->trackStart - 1 + l->thumbSize;
    }
    else
    {
        l->thumbTop = l->trackStart + ::MulDiv(l->pos - l->min, l->freeTrack, range - p);
        l->thumbBottom = l->thumbTop + l->thumbSize;
    }
}

int SFScrollPositionFromPixel(const ScrollBarLayout* l, int t)
{
    if (t < l->trackStart)
        return l->min;
    if (t < l->trackStart + l->freeTrack)
    {
        if (l->freeTrack == 0)
            return l->min - 1;
        return l->min + ::MulDiv(l->max - l->min - (l->page ? l->page - 1 : 0), t - l->trackStart, l->freeTrack);
    }
    return l->page ? l->max - l->page + 1 : l->max;
}

int SFScrollBarPartAt(const ScrollBarLayout* l, int x, int y)
{
    POINT pt = {x, y};
    if (!l->visible || !::PtInRect(&l->rect, pt))
        return SF_SBPART_NONE;
    int a = l->vertical ? y : x;
    if (a < l->firstArrowEnd)
        return SF_SBPART_FIRSTARROW;
    if (a >= l->secondArrowStart)
        return SF_SBPART_SECONDARROW;
    if (a < l->thumbTop)
        return SF_SBPART_TRACKBEFORE;
    if (a < l->thumbBottom)
        return SF_SBPART_THUMB;
    return SF_SBPART_TRACKAFTER;
}
