// The skin object of header controls: items from the style's header
// pictures, hot and pressed under the mouse, with images, sort arrows and
// the owner-draw contract with the parent kept.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectHeader : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectHeader)
public:
    CSFSkinObjectHeader();

    void PaintControl(CDC* dc) override;
    int GetItemState(int item) const;
    BOOL IsPressed() const { return m_pressed; }
    int GetHotItem() const { return m_hotItem; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnLButtonDownControl(WPARAM, LPARAM);
    LRESULT OnLButtonUpControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    void TrackHot(POINT point);
    void DrawItemContent(CDC* dc, int item, RECT rect, int state);

    BOOL m_pressed;
    int m_hotItem;
};
