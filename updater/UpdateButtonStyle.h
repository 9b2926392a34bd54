// The look both windows of the updater give their push buttons.
#pragma once

#include "ThemeButton.h"

// Three-piece faces from the three strips (four states each) and the
// caption colours of the updater's buttons.
void StyleUpdateButton(ThemeButton& button, UINT leftStrip, UINT middleStrip, UINT rightStrip);
