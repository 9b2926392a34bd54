// The geometry of one skinned scroll bar as the engine last laid it out, and
// the record that exists only while the engine tracks a press on a bar.
#pragma once
#include <Framework.h>

// Parts of a scroll bar, as hit-tested and as the schema draws them.
enum
{
    SF_SBPART_NONE = 0,
    SF_SBPART_FIRSTARROW = 60,  // up or left
    SF_SBPART_SECONDARROW = 61, // down or right
    SF_SBPART_TRACKBEFORE = 62,
    SF_SBPART_TRACKAFTER = 63,
    SF_SBPART_THUMB = 64,
};

// Which bar a layout describes.
enum
{
    SF_SBBAR_HORZ = 0,
    SF_SBBAR_VERT = 1,
    SF_SBBAR_CONTROL = 2,
};

struct ScrollBarLayout
{
    int min, max, page, pos;
    int start, end;
    int crossStart, crossEnd;
    int thumbSize;
    int firstArrowEnd;
    int secondArrowStart;
    int dragOrigin;
    int thumbBottom;
    int thumbTop;
    int freeTrack;
    int trackStart;
    RECT rect; // client coordinates for a control, window coordinates otherwise
    int hotPart;
    int vertical;
    int bar;
    int visible;
};

struct ScrollBarTracking
{
    BOOL inside;
    BOOL vertical;
    RECT trackRect;
    int command; // SB_LINEUP .. SB_PAGEDOWN, 4 while the thumb is dragged, -1 before the first
    UINT_PTR timer;
    int thumbOffset;
    int thumbPixel;
    int lastPosition;
    int newPosition;
    BOOL dragging;
    HWND control;
    HWND notifyWindow;
    int bar;
    BOOL windowCoordinates;
    ScrollBarLayout* layout;
};

// Lays the bar out over rect (its axis and cross extent) from the scroll
// information, with the metrics' arrow size for the bar's direction.
void SFLayoutScrollBar(ScrollBarLayout* layout, const RECT& rect, const SCROLLINFO& info, int arrowSize);
// The position the thumb stands for when its top is at pixel t.
int SFScrollPositionFromPixel(const ScrollBarLayout* layout, int t);
// The part under the point, 0 when none or the bar is not shown.
int SFScrollBarPartAt(const ScrollBarLayout* layout, int x, int y);
