// CScrollTextStatic: a marquee. Its text scrolls from right to left over a
// gradient or a tiled bitmap, driven by a thread timer (id 666, every 40 ms);
// in mode 2 the text is a row of "|"-framed segments in alternating colours.
#pragma once
#include "Framework.h"

#include <vector>

class CScrollTextStatic : public CStatic
{
public:
    enum { TIMER_ID = 666, TIMER_INTERVAL = 40 };
    enum { MODE_SINGLE = 1, MODE_SEGMENTS = 2, MODE_FIXED_RIGHT = 3, MODE_FIXED_LEFT = 4 };

    CScrollTextStatic();
    ~CScrollTextStatic() override;

    void Setup(COLORREF first, COLORREF second, LPCTSTR face, int height, int step, int mode);
    BOOL SetBackground(COLORREF first, COLORREF second, LPCTSTR face, int height, int step, int mode, UINT nBitmapID);
    void StartScroll(int mode);
    void SetText(LPCTSTR text);
    CString GetText() const { return m_strText; }
    void SetFontHeight(int height);

    // The segments of a marquee text: each text between one "|" and the next,
    // starting after the first character; cutting stops at the first empty
    // segment, and a last segment without its closing "|" is dropped.
    static std::vector<CString> SplitSegments(const CString& text);
    // Fills rect with n bands going from one colour to the other.
    static void DrawGradient(CDC* pDC, const CRect& rect, int bands, COLORREF from, COLORREF to);

    UINT m_edgeType;
    UINT m_edgeFlags;
    int m_x;
    COLORREF m_secondColour;
    COLORREF m_firstColour;
    int m_step;
    int m_mode;
    CBitmap m_background;
    BYTE m_bBackground;
    int m_fontHeight;
    CString m_face;
    CString m_strText;
    CFont m_font;
    BOOL m_bRunning;
    CRect m_lastRect;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void MakeFont();
};
