// The scrolled frame of list views and tree views: their bars move behind
// the skin's back only on the Windows 9x family, so only there are they
// checked after each message.
#pragma once
#include "SFSkinObjectScrolledFrame.h"

class CSFSkinObjectLegacyScrolledFrame : public CSFSkinObjectScrolledFrame
{
    DECLARE_DYNAMIC(CSFSkinObjectLegacyScrolledFrame)
public:
    CSFSkinObjectLegacyScrolledFrame() {}

protected:
    BOOL ControlsDrawOwnBars() override;
};
