#include "UpdateButtonStyle.h"

void StyleUpdateButton(ThemeButton& button, UINT leftStrip, UINT middleStrip, UINT rightStrip)
{
    button.SetImages(leftStrip, middleStrip, rightStrip, 4);
    button.m_bSplitCaption = FALSE; // short captions, centred whole
    button.m_clrNormal = 0x624C40;
    button.m_clrHover = 0x7E6F27;
    button.m_clrPressed = 0x333333;
    button.m_clrDisabled = 0x624C40;
    button.m_bMiddleColour = FALSE;
    button.m_clrMiddle = 0xCC9933;
}

void StyleCaptionButton(CImageButton& button, UINT strip)
{
    button.m_bParentBackground = TRUE;
    button.SetBitmapStrip(strip, RGB(255, 0, 255));
}
