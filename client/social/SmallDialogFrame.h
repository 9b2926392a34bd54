// The frame of the small skinned dialogs of this area (add buddy, its
// result, the follow confirmation), the same as the settings dialog's.
#pragma once
#include "SkinDialog.h"
#include "resource.h"

inline void SetSmallDialogFrame(CSkinDialog& dialog)
{
    dialog.SetTopLeftBitmap(IDB_FRAME_TOP_LEFT);
    dialog.SetTopBitmap(IDB_FRAME_TOP);
    dialog.SetTopRightBitmap(IDB_FRAME_TOP_RIGHT);
    dialog.SetLeftBitmap(IDB_FRAME_SIDE);
    dialog.SetRightBitmap(IDB_FRAME_SIDE);
    dialog.SetBottomLeftBitmap(IDB_FRAME_BOTTOM_LEFT);
    dialog.SetBottomBitmap(IDB_FRAME_BOTTOM);
    dialog.SetBottomRightBitmap(IDB_FRAME_BOTTOM_RIGHT);
}
