// CMenuEx: the main window's pop-up menus. LoadMenu copies a menu resource
// into new menus whose pop-up items are owner-drawn with fixed colours: a
// white-grey background, a pale image column, a light-blue selection box
// with a darker frame and a "√" for checked items. The top level stays a
// plain menu bar. Built on the stack for one showing of a menu. A pop-up
// built in code (items that depend on what was clicked) is taken over by
// LoadPopup, which copies it the same way.
#pragma once
#include "Framework.h"

#include <vector>

class CMenuEx : public CMenu
{
    DECLARE_DYNAMIC(CMenuEx)
public:
    // One owner-drawn item.
    struct Item
    {
        CString text;
        int id = 0; // 0 separator, -1 pop-up item, else the command id
        int image = -1;
        int spare1 = -1;
        int spare2 = -1;
    };

    CMenuEx();
    ~CMenuEx() override;

    BOOL LoadMenu(UINT nIDResource);
    // Copies a pop-up menu, with its items' states, as the only pop-up of a
    // new menu bar (GetSubMenu(0)); the source stays the caller's. FALSE when
    // the source is no menu.
    BOOL LoadPopup(HMENU hSource);
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

    int m_separatorHeight;
    CBitmap m_imageBitmap;
    COLORREF m_backColour;
    COLORREF m_selectedTextColour;
    CImageList m_imageList;
    COLORREF m_textColour;
    int m_itemWidth;
    int m_itemHeight;
    COLORREF m_imageColumnColour;
    COLORREF m_selectionColour;

private:
    void BuildPopup(CMenu* source, HMENU target);
    Item* NewItem(const CString& text, int id);

    std::vector<CMenuEx*> m_subMenus;
    std::vector<Item*> m_items;
};
