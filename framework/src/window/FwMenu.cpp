// CMenu: menu handles and the per-thread menu map.
#include "FwMenu.h"
#include "FwGdi.h"
#include "FwThreadState.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return hMenu ? FwGetThreadState()->m_menus.LookupPermanent(hMenu) : NULL;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    FwThreadState* pState = FwGetThreadState();
    return pState->m_menus.FromHandle(hMenu, pState->m_nModalDepth, [](HMENU h) {
        CMenu* p = new CMenu;
        p->m_hMenu = h;
        return p;
    });
}

CMenu* CMenu::FindOwnerOfItem(UINT nIDItem)
{
    FwThreadState* pState = FwGetThreadState();
    // The popup being shown is the likely owner; any attached menu holding
    // the item will do otherwise.
    if (CMenu* p = FromHandlePermanent(pState->m_hTrackingMenu))
        if (::GetMenuState(p->m_hMenu, nIDItem, MF_BYCOMMAND) != (UINT)-1)
            return p;
    for (auto& entry : pState->m_menus.Permanent())
        if (::GetMenuState(entry.first, nIDItem, MF_BYCOMMAND) != (UINT)-1)
            return entry.second;
    return NULL;
}

void CMenu::DeleteTempMap() { AfxDeleteTempMaps(); }

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL || m_hMenu != NULL)
        return FALSE;
    m_hMenu = hMenu;
    FwGetThreadState()->m_menus.SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != NULL)
        FwGetThreadState()->m_menus.RemovePermanent(hMenu, this);
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    return Attach(::LoadMenuW(hInst, lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::AppendMenuW(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, (LPCWSTR)FwSafeHandle(pBmp));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCWSTR)FwSafeHandle(pBmp));
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, (LPCWSTR)FwSafeHandle(pBmp));
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked)
{
    return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)FwSafeHandle(pBmpUnchecked),
                                (HBITMAP)FwSafeHandle(pBmpChecked));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLen = ::GetMenuStringW(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0)
    {
        rString.Empty();
        return 0;
    }
    ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(nLen), nLen + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}
