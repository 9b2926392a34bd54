// One item of an owner-drawn CDrawMenu: its text, its image and the flags it
// was put into the Windows menu with. The record's address is the item data
// that Windows hands back with WM_MEASUREITEM and WM_DRAWITEM.
#pragma once
#include "Framework.h"

class CDrawMenuData
{
public:
    CDrawMenuData() = default;
    ~CDrawMenuData() { delete m_pImageList; }
    CDrawMenuData(const CDrawMenuData&) = delete;
    CDrawMenuData& operator=(const CDrawMenuData&) = delete;

    CString m_text;
    int m_imageOffset = -1;  // index in the record's own image list
    int m_globalOffset = -1; // index in the shared menu image list
    int m_imageId = -1;      // -1: no image of its own
    UINT m_menuFlags = 0;    // MF_ flags of the Windows item
    UINT_PTR m_commandId = 0; // for a sub-menu item: the sub-menu's handle
    int m_syncMark = 0;
    CImageList* m_pImageList = nullptr; // owned
};
