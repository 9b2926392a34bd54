// CPictureStatic: shows a picture file scaled to the control (a default
// bitmap when there is none, grey when the display state is 3) and tells its
// parent of hovering (WM_USER+24, wParam 1 on entering, 0 on leaving) and of
// clicks (WM_USER+25).
#pragma once
#include "Framework.h"
#include "PixImage.h"

class CPictureStatic : public CStatic
{
public:
    enum { WM_PICTURE_HOVER = WM_USER + 24, WM_PICTURE_CLICK = WM_USER + 25, STATE_GREY = 3 };

    CPictureStatic();
    ~CPictureStatic() override;

    // Loads the picture scaled to the control; with bSave the scaled picture
    // is written back over the file as JPEG. On failure shows the default
    // bitmap, forgets the path and returns FALSE. An empty path changes nothing.
    BOOL SetImage(LPCTSTR lpszPath, BOOL bSave = FALSE, DWORD nType = 0);
    BOOL GetImage(CString& path, DWORD& type) const;

    CPixImage m_image;
    BOOL m_bHover;
    int m_nState; // the owner's display state; 3 paints grey
    CString m_strPath;
    DWORD m_nType;
    CBitmap m_defaultBitmap; // attached by the owner

protected:
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnLButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void ShowDefault();
};
