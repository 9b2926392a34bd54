// The skin object of date-time pickers: drawn like a skinned combo box (the
// control's own date text, the style's border and drop button), with the
// drop button opening the calendar and the calendar in the skin's colours.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectDateTime : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectDateTime)
public:
    CSFSkinObjectDateTime();

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;
    void ResetSkinCache() override;
    UINT GetControlColorMessage() override;
    void PaintNonClient(CDC* dc) override;
    virtual void DrawControl(CDC* dc);
    // What the last paint drew: the check box state (0 none) and whether
    // the drop button was drawn.
    int GetCheckState() const { return m_checkState; }
    BOOL DrewDropButton() const { return m_drewDropButton; }
    BOOL IsHot() const { return m_hot; }

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnCreateControl(WPARAM, LPARAM);
    LRESULT OnLButtonDownControl(WPARAM, LPARAM);
    LRESULT OnPaintControl(WPARAM, LPARAM);
    LRESULT OnPrintClientControl(WPARAM, LPARAM);
    LRESULT OnEraseBkgndControl(WPARAM, LPARAM);
    LRESULT OnMouseMoveControl(WPARAM, LPARAM);
    LRESULT OnMouseLeaveControl(WPARAM, LPARAM);
    int ComboState();
    RECT DropButtonRect();

    BOOL m_hot;
    int m_checkState;
    BOOL m_drewDropButton;
};
