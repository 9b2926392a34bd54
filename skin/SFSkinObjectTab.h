// The skin object of tab controls: the tab strip and the page drawn from the
// style's tab pictures, the item under the mouse drawn hot.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectTab : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectTab)
public:
    CSFSkinObjectTab();

    void PaintControl(CDC* dc, BOOL withBackground);
    int GetHotItem() const { return m_hotItem; }
    // The part and state item i is drawn in, as the last paint chose them.
    int GetItemPart(int item) const;
    int GetItemState(int item) const;
    // The order items were drawn in by the last paint.
    const std::vector<int>& GetPaintOrder() const { return m_paintOrder; }
    RECT GetTabStripRect();

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnEraseBkgndControl(WPARAM, LPARAM);
    LRESULT OnPaintControl(WPARAM, LPARAM);
    LRESULT OnPrintClientControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    void TrackHot(POINT point);
    void DrawBackground(CDC* dc, const RECT& area);
    void DrawItem(CDC* dc, int item, int selected, int count);

    int m_hotItem;
    std::vector<int> m_paintOrder;
    std::vector<std::pair<int, int>> m_itemLooks;
};
