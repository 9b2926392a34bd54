// CAnimatedBitmapStatic: shows a bitmap resource and can step through a run
// of consecutive bitmap resources on its own timer (the busy animation).
#pragma once
#include "Framework.h"

class CAnimatedBitmapStatic : public CStatic
{
public:
    enum { TIMER_ID = 2024 };

    CAnimatedBitmapStatic();

    // Shows bitmap nID (sized to it); 0 stops a running animation and frees
    // the bitmap. FALSE when the bitmap cannot be loaded.
    BOOL SetBitmap(UINT nID);
    void Stop();

    UINT m_nBaseID;
    CBitmap m_bitmap;
    int m_nFrames;
    int m_nFrame;
    UINT_PTR m_nTimerID;
    BOOL m_bRunning;
    UINT m_nShownID;

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
