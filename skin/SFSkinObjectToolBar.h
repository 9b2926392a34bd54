// The skin object of tool bars: buttons and separators from the style's tool
// pictures, images and texts on top, keeping the control's custom-draw
// conversation with its parent.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectToolBar : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectToolBar)
public:
    CSFSkinObjectToolBar();

    void PaintControl(CDC* dc);
    // The background state of button i as the last paint drew it (0 none).
    int GetDrawnState(int index) const;
    // Disabled images drawn embossed by the last paint.
    int GetEmbossedCount() const { return m_embossed; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnPaintControl(WPARAM, LPARAM);
    void DrawButton(CDC* dc, NMTBCUSTOMDRAW& draw, int index, const TBBUTTON& button);
    void DrawImage(HDC hdc, const TBBUTTON& button, BOOL hot, int x, int y);
    void DrawEmbossed(HDC hdc, HIMAGELIST list, int image, int x, int y);
    LRESULT Notify(NMTBCUSTOMDRAW& draw, DWORD stage);

    std::vector<int> m_drawnStates;
    int m_embossed;
};
