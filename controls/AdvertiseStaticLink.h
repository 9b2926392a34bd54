// CAdvertiseStaticLink: a link static whose page-command links
// ("yeb360://openwindow/..." and "yeb360://openwindow_ad/...") become
// commands of the main window (WM_COMMAND 0x805A or 0x805B with a heap copy
// of the rest of the link, which the main window frees) instead of being
// opened; other links open as web links do.
#pragma once
#include "StaticLink.h"

class CAdvertiseStaticLink : public CStaticLink
{
public:
    enum { ID_OPEN_WINDOW = 0x805A, ID_OPEN_WINDOW_AD = 0x805B };

    CAdvertiseStaticLink();

    // The main-window command of a link text (0 for an ordinary link) and the
    // text after its prefix.
    static UINT ParseWindowLink(const CString& link, CString& rest);

protected:
    void OnClick() override;
};
