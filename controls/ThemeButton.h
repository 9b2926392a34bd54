// ThemeButton: a skinned push button whose face is built per state from a
// left cap, a middle piece tiled across and a right cap, with the caption in
// a colour per state. A long caption keeps its last characters whole and cuts
// the rest with an ellipsis.
#pragma once
#include "Framework.h"
#include "ParentBackground.h"

// The four face image sets (hover, normal, pressed, disabled) of a
// three-piece button, each a left cap, a middle piece and a right cap. Each
// strip is kept as an image list with its magenta pixels masked out, so the
// rounded corners of the caps show what lies under the button.
struct ThreePieceImages
{
    enum { HOVER = 0, NORMAL = 1, PRESSED = 2, DISABLED = 3, SETS = 4 };
    enum { LEFT = 0, MIDDLE = 1, RIGHT = 2, PIECES = 3 };
    CImageList strips[PIECES];
    CSize sizes[PIECES];
    // The image of each set in the strips; -1 when the strips have none.
    int imageOf[SETS] = {-1, -1, -1, -1};
    // A middle strip without transparent pixels is tiled by copying its
    // first drawn copies rather than drawing every copy through the list.
    BOOL middleOpaque = FALSE;

    // Fills the sets from three strips of n equal state images each (normal,
    // hover, pressed and, when n > 3, disabled). FALSE when a strip is missing.
    BOOL Load(UINT nLeft, UINT nMiddle, UINT nRight, int n);
    void Free();
    // TRUE when the set has its left cap (the test the state choice makes).
    BOOL Has(int set) const;
    CSize SizeOf(int set, int piece) const;
    // Tiles the middle piece across rect between the caps and draws the caps
    // at its ends; masked pixels leave the context's pixels as they are.
    void Paint(CDC* pDC, const CRect& rect, int set);
};

// The three pieces a split caption is drawn in.
struct CaptionPieces
{
    CString prefix;
    CString middle;
    CString suffix;
};
CaptionPieces SplitCaption(const CString& caption, int prefixLength, int suffixLength);

class ThemeButton : public CButton
{
public:
    ThemeButton();
    ~ThemeButton() override;

    void SetImages(UINT nLeft, UINT nMiddle, UINT nRight, int nImages);
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // The face set and caption colour for a state (first match wins).
    int ChooseSet(BOOL bDisabled, BOOL bSelected, COLORREF& colour);

    CFont* m_pFont;
    ParentBackground m_background;
    BOOL m_bParentBackground;
    int m_nPrefixLength;
    int m_nSuffixLength;
    BOOL m_bSplitCaption;
    UINT m_nPieceAlign;
    ThreePieceImages m_images;
    int m_nLeftMargin;
    int m_nRightMargin;
    int m_nMaxWidth;
    BOOL m_bSizeToCaption;
    COLORREF m_clrNormal, m_clrHover, m_clrPressed, m_clrDisabled;
    BOOL m_bMiddleColour;
    COLORREF m_clrMiddle;
    BYTE m_bHover;
    CSize m_captionExtent;

protected:
    void PreSubclassWindow() override;
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnKillFocus(CWnd* pNewWnd);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    void MakeFont();
    // The caption text rectangle: the client rectangle less the caps.
    CRect TextRect() const;
    // Paints the face of the state (the parent's picture, then the images
    // over it) and gives the caption colour.
    COLORREF PaintFace(CDC* pDC, CDC* pTarget, LPDRAWITEMSTRUCT lpDIS);
};
