#include "AnimatedBitmapStatic.h"
#include "MemoryDC.h"
#include "SkinFrame.h"

BEGIN_MESSAGE_MAP(CAnimatedBitmapStatic, CStatic)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAnimatedBitmapStatic::CAnimatedBitmapStatic()
    : m_nBaseID(0), m_nFrames(-1), m_nFrame(0), m_nTimerID(TIMER_ID), m_bRunning(FALSE), m_nShownID(0)
{
}

void CAnimatedBitmapStatic::Stop()
{
    if (m_bRunning && m_hWnd)
        KillTimer(m_nTimerID);
    m_bRunning = FALSE;
    m_nFrame = 0;
}

BOOL CAnimatedBitmapStatic::SetBitmap(UINT nID)
{
    if (nID == 0)
    {
        if (m_bRunning)
        {
            Stop();
            SkinFrame::LoadBitmapResource(m_bitmap, m_nBaseID); // back to the base frame
        }
        m_bitmap.DeleteObject();
        m_nShownID = 0;
        return TRUE;
    }
    if (!SkinFrame::LoadBitmapResource(m_bitmap, nID))
        return FALSE;
    m_nShownID = nID;
    CSize size = SkinFrame::GetBitmapSize(m_bitmap);
    if (m_hWnd)
    {
        CRect client;
        GetClientRect(&client);
        if (client.Size() != size)
            ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOACTIVATE);
    }
    return TRUE;
}

void CAnimatedBitmapStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nTimerID)
    {
        Default();
        return;
    }
    SetBitmap(m_nBaseID + m_nFrame);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (++m_nFrame >= m_nFrames)
        m_nFrame = 0;
}

void CAnimatedBitmapStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC mem(&dc, &client);
    SkinFrame::DrawBitmap(m_bitmap, &mem, 0, 0);
}

void CAnimatedBitmapStatic::OnDestroy()
{
    Stop();
    m_bitmap.DeleteObject();
    Default();
}
