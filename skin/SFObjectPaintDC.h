// The DC of a skin object's paint handler: the DC the message carries in its
// wParam (WM_PAINT sent with a DC, WM_PRINTCLIENT), else BeginPaint on the
// object's window, ended with it.
#pragma once
#include <Framework.h>

class CSFSkinObject;

class CSFObjectPaintDC : public CDC
{
public:
    // A failed BeginPaint raises the framework's resource exception.
    explicit CSFObjectPaintDC(CSFSkinObject* object);
    ~CSFObjectPaintDC() override;
    CSFObjectPaintDC(const CSFObjectPaintDC&) = delete;
    CSFObjectPaintDC& operator=(const CSFObjectPaintDC&) = delete;

    BOOL UsedBeginPaint() const { return m_began; }
    PAINTSTRUCT m_ps;

private:
    HWND m_hwnd;
    BOOL m_began;
};
