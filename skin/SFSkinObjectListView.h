// The skin object of list views: the control paints its own items, in the
// skin's window colours; its border and scroll bars are the skinned frame's.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectListView : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectListView)
public:
    CSFSkinObjectListView();

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;

    DECLARE_MESSAGE_MAP()

protected:
    void SetColors(COLORREF back, COLORREF text);
    LRESULT OnCreateControl(WPARAM, LPARAM);
    LRESULT OnScrollControl(WPARAM, LPARAM);
};
