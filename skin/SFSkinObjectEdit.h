// The skin object of edit controls: the style's border and scroll bars; a
// read-only or disabled edit takes its background as static text does.
#pragma once
#include "SFSkinObjectScrolledFrame.h"

class CSFSkinObjectEdit : public CSFSkinObjectScrolledFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectEdit)
public:
    CSFSkinObjectEdit();

    UINT GetControlColorMessage() override;
    void PaintNonClient(CDC* dc) override;
    // The strip of the next window in Z order that lies over this one's
    // edge, in this window's coordinates; FALSE when there is none.
    BOOL FindBuddyStrip(RECT* strip);
};
