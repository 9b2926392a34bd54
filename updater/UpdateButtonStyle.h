// The look both windows of the updater give their push buttons.
#pragma once

#include "ImageButton.h"
#include "ThemeButton.h"

// Three-piece faces from the three strips (four states each) and the
// caption colours of the updater's buttons.
void StyleUpdateButton(ThemeButton& button, UINT leftStrip, UINT middleStrip, UINT rightStrip);
// A caption button (close, minimise) drawn from a strip of four state
// pictures over the window's own skin.
void StyleCaptionButton(CImageButton& button, UINT strip);
