// CRichEdit20Ctrl: a "RichEdit20W" window created after the rich-edit
// library is loaded, whose default character format can come from a font
// description. The notification pop-up shows its text through one.
#pragma once
#include "Framework.h"
#include <richedit.h>

class CRichEdit20Ctrl : public CRichEditCtrl
{
  public:
    // Both load "RICHED20.DLL" once per process; 0 when it cannot be loaded.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The class name is ignored: the window is always a "RichEdit20W".
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id);
    // Link, mouse, key and scroll notifications with URL detection; the
    // default format from the font (face, not bold, colour, height); the
    // control shows text but takes no input.
    void SetupFromFont(const LOGFONTW& font, COLORREF colour);

    // Loads the library for the process (templates that name the class need
    // it before the dialog is made); FALSE when it cannot be had.
    static BOOL LoadLibrary();
    // The character height in twips for a font height in logical units.
    static LONG TwipsForFontHeight(LONG height, int dpi);
};
