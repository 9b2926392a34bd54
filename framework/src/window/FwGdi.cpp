// GDI objects and device contexts.
#include "FwGdi.h"
#include "FwThreadState.h"
#include <vector>

// ---------------------------------------------------------------------------
// CGdiObject and its kinds

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

// GDI handles belong to the process, not to a thread, so objects that own a
// handle are not entered in any map (a map entry left on another thread would
// outlive the object); FromHandle always gives a temporary wrapper.
template <class T> T* CGdiObject::FromHandleAs(HGDIOBJ hObject)
{
    FwThreadState* pState = FwGetThreadState();
    return static_cast<T*>(pState->m_gdiObjects.FromHandle(hObject, pState->m_nModalDepth, [](HGDIOBJ h) {
        T* p = new T;
        p->m_hObject = h;
        return static_cast<CGdiObject*>(p);
    }));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return FromHandleAs<CGdiObject>(hObject); }
CPen* CPen::FromHandle(HPEN hPen) { return FromHandleAs<CPen>(hPen); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return FromHandleAs<CBrush>(hBrush); }
CFont* CFont::FromHandle(HFONT hFont) { return FromHandleAs<CFont>(hFont); }
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return FromHandleAs<CBitmap>(hBitmap); }
CRgn* CRgn::FromHandle(HRGN hRgn) { return FromHandleAs<CRgn>(hRgn); }

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return FALSE;
    if (m_hObject != NULL)
        DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    m_hObject = NULL;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    return ::DeleteObject(Detach());
}

CBrush::CBrush(CBitmap* pBitmap) { CreatePatternBrush(pBitmap); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return Attach(::CreatePatternBrush((HBITMAP)FwSafeHandle(pBitmap)));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    // lfHeight holds tenths of a point; the font wants logical units of the DC.
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(NULL);
    LOGFONTW lf = *lpLogFont;
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720)};
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -abs(pt.y - ptOrg.y);
    if (pDC == NULL)
        ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    return Attach(::LoadBitmapW(hInst, lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
    return size;
}

HBITMAP AFXAPI AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc)
{
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal ? (const BYTE*)::LockResource(hGlobal) : NULL;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || cbData < sizeof(BITMAPINFOHEADER))
        return NULL;
    const BITMAPINFOHEADER* pHeader = (const BITMAPINFOHEADER*)pData;
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > cbData || pHeader->biBitCount == 0 ||
        pHeader->biBitCount > 8 || pHeader->biCompression != BI_RGB || pHeader->biWidth <= 0)
        return NULL;
    DWORD nColors = pHeader->biClrUsed ? pHeader->biClrUsed : 1u << pHeader->biBitCount;
    if (nColors > 256)
        return NULL;
    // Every length is checked against the resource before it is read.
    DWORD cbHeader = pHeader->biSize + nColors * sizeof(RGBQUAD);
    DWORD cbStride = ((DWORD)pHeader->biWidth * pHeader->biBitCount + 31) / 32 * 4;
    DWORD nRows = (DWORD)std::abs(pHeader->biHeight);
    if (cbHeader > cbData || nRows == 0 || cbStride > (cbData - cbHeader) / nRows)
        return NULL;

    std::vector<BYTE> header(pData, pData + cbHeader);
    RGBQUAD* pTable = (RGBQUAD*)(header.data() + pHeader->biSize);
    static const struct
    {
        COLORREF from;
        int sysColor;
    } kMap[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
                {RGB(128, 128, 128), COLOR_BTNSHADOW},
                {RGB(192, 192, 192), COLOR_BTNFACE},
                {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    for (DWORD i = 0; i < nColors; ++i)
    {
        COLORREF c = RGB(pTable[i].rgbRed, pTable[i].rgbGreen, pTable[i].rgbBlue);
        for (const auto& m : kMap)
        {
            if (c == m.from)
            {
                COLORREF sys = ::GetSysColor(m.sysColor);
                pTable[i].rgbRed = GetRValue(sys);
                pTable[i].rgbGreen = GetGValue(sys);
                pTable[i].rgbBlue = GetBValue(sys);
                break;
            }
        }
    }
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, (const BITMAPINFOHEADER*)header.data(), CBM_INIT,
                                       pData + cbHeader, (const BITMAPINFO*)header.data(), DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hScreen);
    return hBitmap;
}

// ---------------------------------------------------------------------------
// CDC

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::~CDC()
{
    if (m_hDC != NULL)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC)
{
    FwThreadState* pState = FwGetThreadState();
    return pState->m_dcs.FromHandle(hDC, pState->m_nModalDepth, [](HDC h) {
        CDC* p = new CDC;
        p->m_hDC = p->m_hAttribDC = h;
        return p;
    });
}

void CDC::DeleteTempMap() { AfxDeleteTempMaps(); }

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == NULL || m_hDC != NULL)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = m_hAttribDC = NULL;
    return hDC;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == NULL)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen) { return CPen::FromHandle((HPEN)::SelectObject(m_hDC, FwSafeHandle(pPen))); }

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, FwSafeHandle(pBrush)));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle((HFONT)::SelectObject(m_hDC, FwSafeHandle(pFont)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, FwSafeHandle(pBitmap)));
}

// Selects hObject and wraps the object it replaced in the matching class.
static CGdiObject* SelectTyped(HDC hDC, HGDIOBJ hObject)
{
    HGDIOBJ hOld = ::SelectObject(hDC, hObject);
    switch (::GetObjectType(hObject))
    {
    case OBJ_PEN:
        return CPen::FromHandle((HPEN)hOld);
    case OBJ_BRUSH:
        return CBrush::FromHandle((HBRUSH)hOld);
    case OBJ_FONT:
        return CFont::FromHandle((HFONT)hOld);
    case OBJ_BITMAP:
        return CBitmap::FromHandle((HBITMAP)hOld);
    default:
        return CGdiObject::FromHandle(hOld);
    }
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) { return SelectTyped(m_hDC, FwSafeHandle(pObject)); }

CGdiObject* CDC::SelectStockObject(int nIndex) { return SelectTyped(m_hDC, ::GetStockObject(nIndex)); }

// The Win32 calls that hand back a point or size through their last argument.
template <class R, class Fn, class... Args> static R OutParam(Fn fn, HDC hDC, Args... args)
{
    R out{};
    fn(hDC, args..., &out);
    return out;
}

CPoint CDC::SetBrushOrg(int x, int y) { return OutParam<POINT>(::SetBrushOrgEx, m_hDC, x, y); }
CPoint CDC::GetBrushOrg() const { return OutParam<POINT>(::GetBrushOrgEx, m_hDC); }
CPoint CDC::GetViewportOrg() const { return OutParam<POINT>(::GetViewportOrgEx, m_hAttribDC); }
CPoint CDC::SetViewportOrg(int x, int y) { return OutParam<POINT>(::SetViewportOrgEx, m_hDC, x, y); }
CPoint CDC::OffsetViewportOrg(int cx, int cy) { return OutParam<POINT>(::OffsetViewportOrgEx, m_hDC, cx, cy); }
CSize CDC::GetViewportExt() const { return OutParam<SIZE>(::GetViewportExtEx, m_hAttribDC); }
CSize CDC::SetViewportExt(int cx, int cy) { return OutParam<SIZE>(::SetViewportExtEx, m_hDC, cx, cy); }
CPoint CDC::GetWindowOrg() const { return OutParam<POINT>(::GetWindowOrgEx, m_hAttribDC); }
CPoint CDC::SetWindowOrg(int x, int y) { return OutParam<POINT>(::SetWindowOrgEx, m_hDC, x, y); }
CPoint CDC::OffsetWindowOrg(int cx, int cy) { return OutParam<POINT>(::OffsetWindowOrgEx, m_hDC, cx, cy); }
CSize CDC::GetWindowExt() const { return OutParam<SIZE>(::GetWindowExtEx, m_hAttribDC); }
CSize CDC::SetWindowExt(int cx, int cy) { return OutParam<SIZE>(::SetWindowExtEx, m_hDC, cx, cy); }

void CDC::DPtoLP(LPSIZE lpSize) const
{
    // A size converts as the difference of two converted points.
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hAttribDC, pts, 2);
    lpSize->cx = abs(pts[1].x - pts[0].x);
    lpSize->cy = abs(pts[1].y - pts[0].y);
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    POINT pts[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hAttribDC, pts, 2);
    lpSize->cx = abs(pts[1].x - pts[0].x);
    lpSize->cy = abs(pts[1].y - pts[0].y);
}

CPoint CDC::MoveTo(int x, int y) { return OutParam<POINT>(::MoveToEx, m_hDC, x, y); }

CPoint CDC::GetCurrentPosition() const { return OutParam<POINT>(::GetCurrentPositionEx, m_hAttribDC); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // ExtTextOut with an opaque rectangle fills without a brush; the DC's
    // background colour is restored afterwards.
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::TransparentBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                         int nSrcHeight, UINT clrTransparent)
{
    return ::TransparentBlt(m_hDC, x, y, nWidth, nHeight, FwSafeHandle(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight,
                            clrTransparent);
}

BOOL CDC::AlphaBlend(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, nWidth, nHeight, FwSafeHandle(pSrcDC), xSrc, ySrc, nSrcWidth, nSrcHeight,
                        blend);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, (HBITMAP)FwSafeHandle(pBitmap), nFlags, (HBRUSH)FwSafeHandle(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, hIcon, nFlags, (HBRUSH)FwSafeHandle(pBrush));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y, size.cx, size.cy,
                        nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush)
{
    return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen, (HBRUSH)FwSafeHandle(pBrush));
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}

// ---------------------------------------------------------------------------
// Window DCs

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(FwSafeHandle(pWnd))
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(FwSafeHandle(pWnd))
{
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(FwSafeHandle(pWnd))
{
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
