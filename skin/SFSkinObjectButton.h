// The skin object of button controls: push buttons, check boxes, radio
// buttons and group boxes drawn wholly from the style, with their label,
// image and focus rectangle. Owner-drawn buttons are left to their owner.
#pragma once
#include "SFSkinObjectFrame.h"

class CSFSkinObjectButton : public CSFSkinObjectFrame
{
    DECLARE_DYNCREATE(CSFSkinObjectButton)
public:
    CSFSkinObjectButton();

    void ApplySkinState(BOOL prevEnabled, BOOL newEnabled) override;
    BOOL HandleSubclassedMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL HandleDefaultProcMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override;
    BOOL DefersToOwnProcedure(UINT message) override;
    virtual void PaintButtonFace(CDC* dc, const RECT& rect);

    void PaintButton(CDC* dc);
    // The button kind: the style's (BS_ type) unless overridden.
    int GetButtonType();
    void SetButtonType(BYTE type) { m_buttonType = type; }
    BOOL IsHot() const { return m_hot; }
    BOOL IsPushed() const { return m_pushed; }
    // Part and state the last face was drawn with (0, 0 when none was).
    int GetLastPart() const { return m_lastPart; }
    int GetLastState() const { return m_lastState; }
    // The rectangles the face is laid out in, from the client rectangle:
    // 0 the whole client, 1/2 the glyph of a check box/radio button, 3/4
    // their labels, 5 a group box's caption, 6 its frame, 7 push-button content.
    RECT Layout(HDC dc, int kind, const RECT& client);

    DECLARE_MESSAGE_MAP()

protected:
    LRESULT OnCreateButton(WPARAM, LPARAM);
    LRESULT OnEraseBkgndButton(WPARAM, LPARAM);
    LRESULT OnPaintButton(WPARAM, LPARAM);
    LRESULT OnPrintClientButton(WPARAM, LPARAM);
    LRESULT OnMouseMoveButton(WPARAM, LPARAM);
    LRESULT OnMouseLeaveButton(WPARAM, LPARAM);
    LRESULT OnDefaultThenInvalidate(WPARAM, LPARAM);
    LRESULT OnEnableButton(WPARAM, LPARAM);
    LRESULT OnSetStateButton(WPARAM, LPARAM);
    LRESULT OnSetTextButton(WPARAM, LPARAM);
    LRESULT OnUpdateUIStateButton(WPARAM, LPARAM);

    BOOL IsPushLike(int type);
    void TrackHot(POINT point);
    void Invalidate() { ::InvalidateRect(m_hWnd, NULL, FALSE); }
    SIZE GlyphSize(int part);
    int SpaceHeight(HDC dc);
    void DrawLabel(HDC dc, const RECT& client, int type, BOOL pushLike);

    BYTE m_buttonType;
    BOOL m_hot;
    BOOL m_pushed;
    int m_lastPart;
    int m_lastState;
};
