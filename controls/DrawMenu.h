// CDrawMenu: a menu whose pop-up items are owner-drawn. It keeps one record
// (CDrawMenuData) per item, answers the measure and draw requests for them,
// and keeps every sub-menu as a CDrawMenu of its own. A menu loaded from a
// resource keeps a plain menu bar at its top level; only pop-up levels are
// owner-drawn. Items are drawn flat (Windows XP with a non-classic theme) or
// raised in 3-D (every other system).
#pragma once
#include "DrawMenuData.h"
#include "Framework.h"

#include <vector>

class CDrawMenu : public CMenu
{
    DECLARE_DYNAMIC(CDrawMenu)
public:
    CDrawMenu();
    ~CDrawMenu() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    virtual BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }
    virtual BOOL LoadMenu(LPCTSTR lpszResourceName);
    virtual BOOL DestroyMenu();

    // Builds the menu from a menu template (the RT_MENU format) of size bytes.
    // FALSE, with the menu emptied, when the template is malformed or cut short.
    BOOL LoadMenuTemplate(const void* data, size_t size);

    BOOL AppendODMenu(LPCTSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageResource = -1);
    void SynchronizeMenu();
    BOOL GetMenuText(UINT id, CString& text, UINT nFlags = MF_BYPOSITION);
    // The WM_MENUCHAR answer: 0x20000 + position of the first item whose text
    // holds "&" followed by the character (ignoring case), else 0.
    static LRESULT FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu);
    static BOOL IsMenu(CMenu* pMenu) { return IsMenu(FwSafeHandle(pMenu)); }
    static BOOL IsMenu(HMENU hMenu);
    static int GlobalImageListOffset(UINT_PTR nID);
    BOOL AddBitmapToImageList(CImageList* pList, UINT nResourceID);
    int AddToGlobalImageList(CImageList* pList, int nIndex, UINT_PTR nID);

    // Number of item records and the record at a position (null outside).
    int GetRecordCount() const { return (int)m_items.size(); }
    CDrawMenuData* GetRecord(int nPos) const;
    // Pads the text before a tab of every item to the widest such text.
    void AlignTabText();

    // Drawing (owner-drawn items).
    void DrawItemFlat(LPDRAWITEMSTRUCT lpDIS);
    void DrawItem3D(LPDRAWITEMSTRUCT lpDIS);
    static void DrawDisabledBitmap(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF bgColour);
    // TRUE when items are drawn flat on this system (the Windows XP look).
    static BOOL IsFlatStyle();

    int m_imageWidth;
    int m_imageHeight;
    COLORREF m_maskColour;
    BOOL m_useMaskColour;
    int m_reserved;
    CImageList* m_pCheckMaps;
    BOOL m_checkMapsShared;
    int m_selectedCheckId;
    int m_unselectedCheckId;
    BOOL m_icons;
    BOOL m_loaded;

private:
    CDrawMenuData* AddRecord(LPCTSTR text, UINT flags, UINT_PTR id);
    void DeleteRecords();
    void MakeTopLevelPlain();
    BOOL ImageOf(const CDrawMenuData* data, CImageList*& list, int& index) const;
    // The image of a flat item with its faded and shadow copies (-1 when it
    // has none), and its painting in the image column.
    struct FlatImage
    {
        CImageList* list = nullptr;
        int index = -1;
        int faded = -1;
        int shadow = -1;
    };
    BOOL FlatImageOf(const CDrawMenuData* data, FlatImage& image) const;
    void PaintFlatImage(CDC* pDC, const CRect& rect, int barWidth, UINT state, const FlatImage& image);
    BOOL RenderImage(CImageList* list, int index, COLORREF background, CBitmap& bitmap);
    CDrawMenu* FindMenuOfCommand(UINT id, int& position);

    std::vector<CDrawMenuData*> m_items;
    std::vector<HMENU> m_subMenus;
};

// Each of the three channels c becomes c + factor x (255 - c) for a factor in
// (0, 1]; any other factor leaves the colour as it is.
COLORREF LightenColor(COLORREF colour, double factor);
// TRUE when the current theme file of the user is "Windows Classic.theme".
BOOL IsWindowsClassicTheme();
