// CAdvertiseStaticLink: the advertisement link static. Its links are often
// page commands ("yeb360://openwindow/..." and "yeb360://openwindow_ad/..."),
// which become commands of the main window (IMainWindowLink::RunPageCommand)
// instead of being opened; web links open as in every link static. Both go
// through the program's one link policy (CLinkPolicy).
#pragma once
#include "StaticLink.h"

class CAdvertiseStaticLink : public CStaticLink
{
public:
    CAdvertiseStaticLink();
};
