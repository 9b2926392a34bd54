// The skin object of status bars: the control draws itself; the object only
// has it measure itself again whenever the skin's fonts and metrics change.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectStatusBar : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectStatusBar)
public:
    CSFSkinObjectStatusBar();

    void ResetSkinCache() override;

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnCreateControl(WPARAM, LPARAM);
    LRESULT OnRemeasure(WPARAM, LPARAM);
};
