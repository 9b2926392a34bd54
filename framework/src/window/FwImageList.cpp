// CImageList: image lists of the common controls.
#include "FwImageList.h"
#include "FwGdi.h"
#include "FwThreadState.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    return hImageList ? FwGetThreadState()->m_imageLists.LookupPermanent(hImageList) : NULL;
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    FwThreadState* pState = FwGetThreadState();
    return pState->m_imageLists.FromHandle(hImageList, pState->m_nModalDepth, [](HIMAGELIST h) {
        CImageList* p = new CImageList;
        p->m_hImageList = h;
        return p;
    });
}

void CImageList::DeleteTempMap() { AfxDeleteTempMaps(); }

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL || m_hImageList != NULL)
        return FALSE;
    m_hImageList = hImageList;
    FwGetThreadState()->m_imageLists.SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    if (hImageList != NULL)
        FwGetThreadState()->m_imageLists.RemovePermanent(hImageList, this);
    m_hImageList = NULL;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return Attach(ImageList_LoadImageW(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, (HBITMAP)FwSafeHandle(pbmImage), (HBITMAP)FwSafeHandle(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, (HBITMAP)FwSafeHandle(pbmImage), crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, (HBITMAP)FwSafeHandle(pbmImage),
                             (HBITMAP)FwSafeHandle(pbmMask));
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, FwSafeHandle(pDC), pt.x, pt.y, nStyle);
}
