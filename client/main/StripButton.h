// The client's picture buttons: one bitmap strip of four state images
// (normal, hover, pressed, disabled) with magenta as the transparent colour,
// no caption, drawn over the window's own frame and sized to the picture.
#pragma once
#include "ImageButton.h"

inline void ShowAsStripButton(CImageButton& button, UINT bitmap)
{
    button.SetBitmapStrip(bitmap, RGB(255, 0, 255));
    button.SetWindowText(L"");
    button.m_bParentBackground = TRUE;
    button.m_bDrawFrame = FALSE;
    BITMAP info{};
    if (button.m_slots[CImageButton::SLOT_NORMAL].image &&
        ::GetObjectW(button.m_slots[CImageButton::SLOT_NORMAL].image, sizeof(info), &info))
        button.SetWindowPos(NULL, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
