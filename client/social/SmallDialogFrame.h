// The frame of the small skinned dialogs of this area (add buddy, its
// result, the follow confirmation), the same as the settings dialog's.
#pragma once
#include "SkinDialog.h"
#include "ThemeButton.h"
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

// Their text buttons (OK, Cancel): three-piece images with a dark caption.
inline void SetSmallDialogButton(ThemeButton& button)
{
    button.SetImages(IDB_TEXT_BTN_LEFT, IDB_TEXT_BTN_MIDDLE, IDB_TEXT_BTN_RIGHT, 4);
    button.m_bSplitCaption = FALSE;
    button.m_clrNormal = button.m_clrDisabled = RGB(0x40, 0x4C, 0x62);
    button.m_clrHover = RGB(0x27, 0x6F, 0x7E);
    button.m_clrPressed = RGB(0x33, 0x33, 0x33);
}
