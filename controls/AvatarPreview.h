// CAvatarPreview: a picture file drawn inside a frame bitmap, 6 pixels in
// from each side.
#pragma once
#include "Framework.h"
#include "PixImage.h"

class CAvatarPreview : public CStatic
{
public:
    CAvatarPreview();

    BOOL SetFrameBitmap(UINT nID);
    // Shows the picture scaled into the frame; an empty path shows none. On a
    // picture that cannot be read the path is forgotten.
    BOOL SetImageFile(LPCTSTR lpszPath, DWORD nType = 0);

    CPixImage m_image;
    CString m_strPath;
    DWORD m_nType;
    CBitmap m_frame;

    enum { INSET = 6 };

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
