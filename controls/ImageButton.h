// CImageButton: the owner-drawn push button of most dialogs. It shows one of
// four images by its state (hover, normal, pressed, disabled), each drawn
// with a transparent colour over a flat face or over a copy of the parent's
// skinned background captured under the button, and reports clicks like an
// ordinary button.
#pragma once
#include "DrawMenu.h"
#include "Framework.h"
#include "ParentBackground.h"

class CImageButton : public CButton
{
public:
    // Image slots, in this order.
    enum { SLOT_HOVER = 0, SLOT_NORMAL = 1, SLOT_PRESSED = 2, SLOT_DISABLED = 3, SLOT_COUNT = 4 };
    // Normal-image markers of SetBitmaps: a grey or a darkened copy of the hover image.
    enum { NORMAL_GREY = -2, NORMAL_DARK = -3 };

    struct ImageSlot
    {
        HBITMAP image = NULL; // owned
        int width = 0;
        int height = 0;
        HBITMAP mask = NULL; // owned
        COLORREF transparent = 0;
    };

    CImageButton();
    ~CImageButton() override;

    // 0 success, 1 when a bitmap's size cannot be read, 2 when a mask cannot be made.
    int SetBitmaps(int nHover, COLORREF crHover, int nNormal = 0, COLORREF crNormal = 0, int nPressed = 0,
                   COLORREF crPressed = 0, int nDisabled = 0, COLORREF crDisabled = 0);
    // One bitmap of four equal images: normal, hover, pressed, disabled.
    int SetBitmapStrip(UINT nID, COLORREF crMask);

    // The slot painted for a state (the hover slot when the chosen one is empty).
    static int ChooseSlot(BOOL bCheckBox, BOOL bPressed, BOOL bHover, BOOL bDisabled, const BOOL hasImage[SLOT_COUNT]);
    // The strip image each slot takes (hover 1, normal 0, pressed 2, disabled 3).
    static int StripIndexOfSlot(int slot);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL m_bShowDisabledImage;
    int m_imageGap;
    int m_imageMargin;
    int m_captionPressX, m_captionPressY;
    BOOL m_bFlat;
    BOOL m_bHover;
    BOOL m_bParentBackground;
    BOOL m_bPressed, m_bFocused, m_bDisabled;
    BOOL m_bDefault;
    BOOL m_bCheckBox;
    BYTE m_imageAlign;
    BOOL m_bDrawFrame;
    BOOL m_bFocusRectFlat;
    COLORREF m_faceActive, m_textActive, m_faceNormal, m_textNormal, m_faceFocus, m_textFocus;
    HCURSOR m_hCursor;
    CToolTipCtrl m_toolTip;
    ParentBackground m_background;
    BOOL m_bAlwaysTrack;
    BOOL m_bChecked;
    UINT m_nType;
    ImageSlot m_slots[SLOT_COUNT];
    CDrawMenu m_menu; // drop-down menu (nothing fills it in the client)

protected:
    void PreSubclassWindow() override;
    virtual void PaintFace(CDC* pDC, CRect rect);
    virtual void PaintFrame(CDC* pDC, CRect rect);
    virtual void PaintBitmap(CDC* pDC, BOOL bHasCaption, const CRect& item, CRect& caption);
    virtual void PaintCaption(CDC* pDC, const CString& text, CRect caption);

    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    UINT OnGetDlgCode();
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    BOOL OnClicked();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS);
    DECLARE_MESSAGE_MAP()

    void FreeSlots();
    void LeaveHover();
    int SetSlot(int slot, HBITMAP image, COLORREF transparent);
};
