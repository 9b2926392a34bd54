// The skin object that paints and runs the non-client area of a window in
// place of the system: caption, borders, caption buttons, the window region,
// the non-client scroll bars and the size box. Every other skin object
// derives from it, so this is what a skinned window shows unless a derived
// object says otherwise. Geometry that depends on the style and all drawing
// of caption and borders come from the schema; the object keeps the state
// and runs the mouse handling, including the scroll-bar engine's tracking.
#pragma once
#include "SFFrameButton.h"
#include "SFScrollBarLayout.h"
#include "SFSkinObject.h"
#include <vector>

class CSFSkinObjectFrame : public CSFSkinObject
{
    DECLARE_DYNCREATE(CSFSkinObjectFrame)
public:
    CSFSkinObjectFrame();
    ~CSFSkinObjectFrame() override;

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;
    void ResetSkinCache() override;
    void AttachToWindow(LPCREATESTRUCTW cs, BOOL autoCreated) override;
    void DetachFromWindow(BOOL windowDestroyed) override;
    BOOL HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL DefersToOwnProcedure(UINT message) override;
    BOOL PassesThrough(UINT message) override;
    virtual HBRUSH GetBackgroundBrush(HDC hdc);
    virtual UINT GetControlColorMessage() { return m_ctlColorMessage; }
    virtual void PaintNonClient(CDC* dc);

    void RepaintNonClient();
    void ApplyRegionForSize(int cx, int cy);
    void RebuildCaptionButtons();
    FrameButton* FrameButtonAt(POINT point);
    int HitTestOwnParts(POINT point);
    HBRUSH GetParentControlBrush(HDC hdc, UINT message);
    HBRUSH FillControlBackground(CDC* dc, const RECT& rect, UINT message);
    // The brush the frame answers its children's WM_CTLCOLORBTN/DLG/STATIC with.
    HBRUSH GetDialogControlBrush(HDC hdc, HWND child, UINT type);
    // Tab pages' brush from the tab class's page picture, made once per
    // metrics refresh; NULL when the style has no such picture.
    HBRUSH GetTabPageBrush();

    // The scroll-bar engine.
    RECT ScrollBarRect(int bar);
    void LayoutScrollBar(ScrollBarLayout* layout);
    int ScrollBarPartAt(ScrollBarLayout* layout, int x, int y) { return SFScrollBarPartAt(layout, x, y); }
    BOOL RepaintScrollBar(ScrollBarLayout* layout);
    void RepaintFrameScrollBar(int index);
    void RunScrollBarTracking(int x, int y, ScrollBarLayout* layout, BOOL shift);
    void NotifyScroll(int command, int position);
    // The scroll-bar drawing of the schema for this object's layout.
    void DrawScrollBar(CDC* dc, ScrollBarLayout* layout);

    BOOL IsActive() const { return m_active; }
    const RECT& GetBorders() const { return m_borders; }
    std::vector<FrameButton*>& GetButtons() { return m_buttons; }
    FrameButton* GetHotButton() const { return m_hotButton; }
    FrameButton* GetPressedButton() const { return m_pressedButton; }
    ScrollBarTracking* GetTracking() const { return m_tracking; }
    ScrollBarLayout& GetHorzBar() { return m_horzBar; }
    ScrollBarLayout& GetVertBar() { return m_vertBar; }
    BOOL IsRegionApplied() const { return m_regionApplied; }
    // The state a caption button is drawn in (inactive frames add 4).
    int GetButtonState(const FrameButton* button) const;
    // The size grip shows in the corner between both bars.
    BOOL SizeGripApplies();
    BOOL HasFullCaption() const;
    BOOL HasFlatScrollBars();
    // The MDI client object an MDI frame keeps, and the counter under which
    // the frame neither draws nor re-measures (an MDI arrangement raises it).
    void SetMDIClient(CSFSkinObject* client) { m_mdiClient = client; }
    CSFSkinObject* GetMDIClient() const { return m_mdiClient; }
    void RaiseSuppressDrawing() { m_suppressDrawing++; }
    void LowerSuppressDrawing() { m_suppressDrawing--; }
    // The process-wide offset the popup-menu object adds to a system menu.
    static POINT s_menuOffset;

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnNcPaint(WPARAM, LPARAM);
    LRESULT OnNcCalcSize(WPARAM, LPARAM);
    LRESULT OnNcHitTest(WPARAM, LPARAM);
    LRESULT OnNcMouseMove(WPARAM, LPARAM);
    LRESULT OnNcMouseLeave(WPARAM, LPARAM);
    LRESULT OnNcLButtonDown(WPARAM, LPARAM);
    LRESULT OnNcRButtonUp(WPARAM, LPARAM);
    LRESULT OnNcActivate(WPARAM, LPARAM);
    LRESULT OnTimerMessage(WPARAM, LPARAM);
    LRESULT OnSetTextMessage(WPARAM, LPARAM);
    LRESULT OnStyleChangedMessage(WPARAM, LPARAM);
    LRESULT OnCreateMessage(WPARAM, LPARAM);
    LRESULT OnWindowPosChangingMessage(WPARAM, LPARAM);
    LRESULT OnWindowPosChangedMessage(WPARAM, LPARAM);
    LRESULT OnPrintMessage(WPARAM, LPARAM);
    LRESULT OnGetMinMaxInfoMessage(WPARAM, LPARAM);
    LRESULT OnSysCommandMessage(WPARAM, LPARAM);
    LRESULT OnEraseBkgndMessage(WPARAM, LPARAM);

    void FrameSetUp();
    void FetchBorders();
    void SystemLayoutRefresh();
    BOOL TrackNcMouse(POINT point);
    void RunButtonPress();
    BOOL HandleControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ClearButtons();
    void TrackStep(ScrollBarTracking* t, UINT message, POINT pt);
    void DragStep(ScrollBarTracking* t, UINT message, POINT pt);
    void MoveThumb(ScrollBarTracking* t, int pixel);
    void EndTracking(ScrollBarTracking* t);
    void ShrinkToThumb(ScrollBarTracking* t, RECT* rect);
    POINT TrackingPoint(ScrollBarTracking* t, POINT screen);

    std::vector<FrameButton*> m_buttons;
    RECT m_borders;
    FrameButton* m_hotButton;
    FrameButton* m_pressedButton;
    BOOL m_regionApplied;
    ScrollBarTracking* m_tracking;
    ScrollBarLayout m_horzBar;
    ScrollBarLayout m_vertBar;
    int m_regionWidth;
    int m_regionHeight;
    BOOL m_active;
    DWORD m_cachedStyle;
    DWORD m_cachedExStyle;
    RECT m_menuBarRect;
    BOOL m_regionBusy;
    UINT m_ctlColorMessage;
    int m_suppressDrawing;
    CSFSkinObject* m_mdiClient;
};
