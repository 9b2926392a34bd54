// The skin object of tree views: the control paints its own items, in the
// skin's window, text and line colours; its border and scroll bars are the
// skinned frame's.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectTreeView : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectTreeView)
public:
    CSFSkinObjectTreeView();

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnCreateControl(WPARAM, LPARAM);
};
