// The window layer: windows and message maps, GDI, menus, image lists,
// controls, dialogs, the application object and user-interface threads.
// See FwWnd.h for how to write a window class and FwDialog.h for dialogs.
#pragma once
#include "FwGeometry.h"
#include "FwMsgMap.h"
#include "FwWnd.h"
#include "FwGdi.h"
#include "FwMenu.h"
#include "FwImageList.h"
#include "FwControls.h"
#include "FwDialog.h"
#include "FwApp.h"
