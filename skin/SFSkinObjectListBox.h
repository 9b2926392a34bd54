// The skin object of list boxes (and of combo boxes' drop-down lists): the
// style's border and scroll bars around the control's own items.
#pragma once
#include "SFSkinObjectScrolledFrame.h"

class CSFSkinObjectListBox : public CSFSkinObjectScrolledFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectListBox)
public:
    CSFSkinObjectListBox();
};
