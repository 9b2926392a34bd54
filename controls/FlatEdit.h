// CFlatEdit: a single-line edit with a flat two-pixel border of its own,
// chosen background and text colours, and a password field that gives its
// text only to a reader who asked for it first (the read-once flag).
#pragma once
#include "Framework.h"

class CFlatEdit : public CEdit
{
public:
    CFlatEdit();
    ~CFlatEdit() override;

    WNDPROC m_pfnEditProc; // the edit's own procedure, below the flat border
    CBrush m_brush;
    COLORREF m_bkColour;
    COLORREF m_textColour;
    // Lets the next text request of a password edit through (the owner sets
    // it just before reading its own password).
    BOOL m_bReadOnce;

    // Draws the flat border of a window that has a border or an edge.
    static void DrawFlatBorder(HWND hWnd);

protected:
    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    static LRESULT CALLBACK FlatBorderProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
