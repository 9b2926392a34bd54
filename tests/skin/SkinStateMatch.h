// Which state of a style part a control drew: the control paints itself into
// a memory picture (WM_PRINTCLIENT), and the area is compared pixel by pixel
// with the part drawn by the skin class in each candidate state over the
// same background.
#pragma once
#include "SkinWindowShots.h"
#include <Framework.h>
#include <functional>
#include <vector>

class CSFSkinClass;

// The client area as the control paints it on WM_PRINTCLIENT.
WindowShot PrintClientShot(HWND hwnd);
// The candidate state whose drawing matches most pixels of the area (0 when
// no candidate matches any); background fills the reference behind the part.
int BestMatchingState(const WindowShot& shot, const RECT& area, CSFSkinClass* cls, int part,
                      const std::vector<int>& states, COLORREF background);
// The window as the screen shows it, raised and taken again a few times
// while the picture does not pass the check: the display is shared with
// other test programs, whose windows may pass over this one for a moment.
WindowShot SteadyShot(HWND hwnd, const std::function<bool(const WindowShot&)>& ok);
