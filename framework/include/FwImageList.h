// CImageList: an image list of the common controls, owned by the object
// unless detached. Also the drag-image calls.
#pragma once
#include "FwWnd.h"
#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() : m_hImageList(NULL) {}
    ~CImageList() override { DeleteImageList(); }

    HIMAGELIST m_hImageList;
    operator HIMAGELIST() const { return GetSafeHandle(); }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    static CImageList* FromHandle(HIMAGELIST hImageList);
    static CImageList* FromHandlePermanent(HIMAGELIST hImageList);
    static void DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
    {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    // From a bitmap resource; crMask is the colour drawn transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(CImageList* pImageList) { return Attach(ImageList_Duplicate(pImageList->m_hImageList)); }
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }

    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(NULL, m_hImageList, nImage); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* pimldp)
    {
        pimldp->cbSize = sizeof(IMAGELISTDRAWPARAMS);
        pimldp->himl = m_hImageList;
        return ImageList_DrawIndirect(pimldp);
    }
    BOOL SetOverlayImage(int nImage, int nOverlay) { return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }

    // Dragging
    BOOL BeginDrag(int nImage, CPoint ptHotSpot) { return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y); }
    static void EndDrag() { ImageList_EndDrag(); }
    static BOOL DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
    static BOOL DragEnter(CWnd* pWndLock, CPoint point) { return ImageList_DragEnter(FwSafeHandle(pWndLock), point.x, point.y); }
    static BOOL DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(FwSafeHandle(pWndLock)); }
    static BOOL DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot)
    {
        return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
    }
};

// The list's handle, or NULL for a null pointer (see FwSafeHandle in FwMsgMap.h).
inline HIMAGELIST FwSafeHandle(const CImageList* p)
{
    return p ? p->m_hImageList : NULL;
}
