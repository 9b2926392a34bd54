#include "DrawMenu.h"
#include "MemoryDC.h"
#include "WindowsVersion.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CDrawMenu, CMenu)

namespace
{
// Sub-menus made by any CDrawMenu (the user-interface thread only).
std::vector<HMENU>& RegisteredPopups()
{
    static std::vector<HMENU> popups;
    return popups;
}

// The shared menu image list and the command id of each of its images.
CImageList* g_pGlobalImages = nullptr;
std::vector<UINT_PTR>& GlobalImageIds()
{
    static std::vector<UINT_PTR> ids;
    return ids;
}

void Unregister(HMENU hMenu)
{
    auto& popups = RegisteredPopups();
    popups.erase(std::remove(popups.begin(), popups.end(), hMenu), popups.end());
}

// The flat style draws its images with faded and shadow copies (3-D images).
const BOOL kFlat3DImages = TRUE;

HWND MeasureWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->GetSafeHwnd() ? main->GetSafeHwnd() : ::GetDesktopWindow();
}

BOOL MenuFont(CFont& font)
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = 500; // the size the menus have always asked with
    if (ncm.cbSize > sizeof(ncm))
        ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0))
        return FALSE;
    return font.CreateFontIndirect(&ncm.lfMenuFont);
}

// Width of text in the menu font.
int MenuTextWidth(HDC hdc, const CString& text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(hdc, text, text.GetLength(), &size);
    return size.cx;
}

// A template reader that never reads past its end.
class TemplateReader
{
public:
    TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size), m_pos(0) {}
    bool Word(WORD& w)
    {
        if (m_pos + 2 > m_size)
            return false;
        w = (WORD)(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool Text(CString& text)
    {
        text.Empty();
        for (;;)
        {
            WORD ch;
            if (!Word(ch))
                return false;
            if (ch == 0)
                return true;
            text += (wchar_t)ch;
        }
    }
    bool Skip(size_t n)
    {
        if (n > m_size - m_pos)
            return false;
        m_pos += n;
        return true;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos;
};

void DrawTick(CDC* pDC, int x0, int y0, COLORREF colour)
{
    static const int starts[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 3; ++j)
            pDC->SetPixelV(x0 + i, y0 + starts[i] + j, colour);
}

void DrawRadioDot(CDC* pDC, int x0, int y0, COLORREF colour)
{
    CBrush brush(colour);
    CPen pen(PS_SOLID, 1, colour);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    CPen* oldPen = pDC->SelectObject(&pen);
    pDC->Ellipse(x0, y0, x0 + 6, y0 + 6);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

// A radio dot at (dotX, y) when the item has a checked-state bitmap of its
// own, else a tick at (tickX, y), in the menu text colour.
void DrawCheckMark(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, int dotX, int y, int tickX)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfoW((HMENU)lpDIS->hwndItem, lpDIS->itemID, FALSE, &info);
    COLORREF mark = ::GetSysColor(COLOR_MENUTEXT);
    if (info.hbmpChecked)
        DrawRadioDot(pDC, dotX, y, mark);
    else
        DrawTick(pDC, tickX, y, mark);
}

void FrameSolid(CDC* pDC, const CRect& rect, COLORREF colour)
{
    CBrush brush(colour);
    pDC->FrameRect(&rect, &brush);
}

// The item's text: the part before the first tab left-aligned and, when
// there is a tab, the part after the last tab right-aligned one image width
// in from the right edge.
void DrawItemText(CDC* pDC, const CString& text, CRect rect, int imageWidth)
{
    int tab = text.Find(L'\t');
    if (tab < 0)
    {
        pDC->DrawText(text, &rect, DT_SINGLELINE | DT_VCENTER);
        return;
    }
    CString left = text.Left(tab);
    CString right = text.Mid(text.ReverseFind(L'\t') + 1);
    pDC->DrawText(left, &rect, DT_SINGLELINE | DT_VCENTER);
    rect.right -= imageWidth;
    pDC->DrawText(right, &rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

int HalfUp(double v)
{
    int r = (int)v;
    return r < 0 ? 0 : r;
}
} // namespace

COLORREF LightenColor(COLORREF colour, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return colour;
    BYTE r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    r = (BYTE)(r + factor * (255 - r));
    g = (BYTE)(g + factor * (255 - g));
    b = (BYTE)(b + factor * (255 - b));
    return RGB(r, g, b);
}

BOOL IsWindowsClassicTheme()
{
    static int cached = -1;
    if (cached >= 0)
        return cached;
    cached = 0;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) ==
        ERROR_SUCCESS)
    {
        wchar_t value[131] = {};
        DWORD size = 260, type = 0;
        if (::RegQueryValueExW(key, NULL, NULL, &type, (BYTE*)value, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ))
        {
            value[130] = 0;
            CString text(value);
            text.MakeLower();
            CString tail = L"windows classic.theme";
            cached = text.GetLength() >= tail.GetLength() && text.Right(tail.GetLength()) == tail;
        }
        ::RegCloseKey(key);
    }
    return cached;
}

BOOL CDrawMenu::IsFlatStyle()
{
    return GetWindowsVersionCode() == WINVER_CODE_WINXP && !IsWindowsClassicTheme();
}

CDrawMenu::CDrawMenu()
    : m_imageWidth(16), m_imageHeight(15), m_maskColour(RGB(192, 192, 192)), m_useMaskColour(FALSE), m_reserved(0),
      m_pCheckMaps(nullptr), m_checkMapsShared(FALSE), m_selectedCheckId(-1), m_unselectedCheckId(-1),
      m_icons(FALSE), m_loaded(FALSE)
{
}

CDrawMenu::~CDrawMenu()
{
    CDrawMenu::DestroyMenu();
}

CDrawMenuData* CDrawMenu::GetRecord(int nPos) const
{
    if (nPos < 0 || nPos >= (int)m_items.size())
        return nullptr;
    return m_items[nPos];
}

BOOL CDrawMenu::IsMenu(HMENU hMenu)
{
    if (!hMenu)
        return FALSE;
    auto& popups = RegisteredPopups();
    return std::find(popups.begin(), popups.end(), hMenu) != popups.end();
}

int CDrawMenu::GlobalImageListOffset(UINT_PTR nID)
{
    auto& ids = GlobalImageIds();
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == nID)
            return (int)i;
    return -1;
}

void CDrawMenu::DeleteRecords()
{
    for (CDrawMenuData* data : m_items)
        delete data;
    m_items.clear();
}

BOOL CDrawMenu::DestroyMenu()
{
    if (m_hMenu)
        Unregister(m_hMenu);
    // The Windows items of sub-menus are taken out first, so that each
    // sub-menu is destroyed once, by its own object.
    if (m_hMenu)
        for (int i = ::GetMenuItemCount(m_hMenu) - 1; i >= 0; --i)
            ::RemoveMenu(m_hMenu, i, MF_BYPOSITION);
    for (auto it = m_subMenus.rbegin(); it != m_subMenus.rend(); ++it)
    {
        Unregister(*it);
        CMenu* sub = CMenu::FromHandlePermanent(*it);
        if (sub && sub->IsKindOf(RUNTIME_CLASS(CDrawMenu)))
            delete sub;
        else if (::IsMenu(*it))
            ::DestroyMenu(*it);
    }
    m_subMenus.clear();
    DeleteRecords();
    return CMenu::DestroyMenu();
}

BOOL CDrawMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    HRSRC hRes = hInst ? ::FindResourceW(hInst, lpszResourceName, RT_MENU) : NULL;
    if (!hRes)
    {
        hInst = ::GetModuleHandleW(NULL);
        hRes = ::FindResourceW(hInst, lpszResourceName, RT_MENU);
    }
    if (!hRes)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    const void* data = hGlobal ? ::LockResource(hGlobal) : nullptr;
    if (!data)
        return FALSE;
    return LoadMenuTemplate(data, ::SizeofResource(hInst, hRes));
}

BOOL CDrawMenu::LoadMenuTemplate(const void* data, size_t size)
{
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;

    TemplateReader reader((const BYTE*)data, size);
    WORD version, offset;
    if (!reader.Word(version) || !reader.Word(offset) || !reader.Skip(offset))
    {
        DestroyMenu();
        return FALSE;
    }

    std::vector<CDrawMenu*> levels{this};
    std::vector<bool> ended{false};
    while (!levels.empty())
    {
        WORD flags, id = 0;
        CString text;
        if (!reader.Word(flags) || (!(flags & MF_POPUP) && !reader.Word(id)) || !reader.Text(text))
        {
            DestroyMenu(); // cut short: nothing half-built is kept
            return FALSE;
        }
        bool last = (flags & MF_END) != 0;
        UINT used = flags & ~MF_END;
        CDrawMenu* top = levels.back();
        if (flags & MF_POPUP)
        {
            if (last)
                ended.back() = true;
            CDrawMenu* sub = new CDrawMenu;
            sub->CreatePopupMenu();
            sub->m_pCheckMaps = m_pCheckMaps;
            sub->m_checkMapsShared = TRUE;
            top->AppendODMenu(text, used, (UINT_PTR)sub->m_hMenu, -1);
            levels.push_back(sub);
            ended.push_back(false);
            continue;
        }
        top->AppendODMenu(text, used, id, -1);
        if (last)
            ended.back() = true;
        while (!levels.empty() && ended.back())
        {
            levels.back()->AlignTabText();
            levels.pop_back();
            ended.pop_back();
        }
    }
    MakeTopLevelPlain();
    m_loaded = TRUE;
    return TRUE;
}

void CDrawMenu::MakeTopLevelPlain()
{
    for (int i = 0; i < (int)m_items.size(); ++i)
    {
        CDrawMenuData* data = m_items[i];
        UINT flags = (data->m_menuFlags & MF_POPUP) ? (MF_BYPOSITION | MF_POPUP) : MF_BYPOSITION;
        if (data->m_commandId == 0 && !(data->m_menuFlags & MF_POPUP))
            flags |= MF_SEPARATOR;
        data->m_menuFlags = flags;
        ::ModifyMenuW(m_hMenu, i, flags, data->m_commandId, data->m_text);
    }
}

CDrawMenuData* CDrawMenu::AddRecord(LPCTSTR text, UINT flags, UINT_PTR id)
{
    CDrawMenuData* data = new CDrawMenuData;
    data->m_text = text ? text : L"";
    data->m_menuFlags = flags;
    data->m_commandId = id;
    return data;
}

BOOL CDrawMenu::AppendODMenu(LPCTSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageResource)
{
    if (nID != 0)
        nFlags |= MF_OWNERDRAW;
    else
        nFlags = (nFlags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    if (nFlags & MF_POPUP)
    {
        RegisteredPopups().push_back((HMENU)nID);
        m_subMenus.push_back((HMENU)nID);
    }
    CDrawMenuData* data = AddRecord(lpszText, nFlags, nID);
    m_items.push_back(data);

    if (nImageResource < 0)
        data->m_globalOffset = GlobalImageListOffset(nID);
    else
    {
        // The image of a command is its button's image in the tool-bar resource
        // of that id (version, width, height, count, then the command ids).
        int imageIndex = 0;
        HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nImageResource), MAKEINTRESOURCEW(241));
        HRSRC hRes = ::FindResourceW(hInst, MAKEINTRESOURCEW(nImageResource), MAKEINTRESOURCEW(241));
        if (hRes)
        {
            const WORD* words = (const WORD*)::LockResource(::LoadResource(hInst, hRes));
            DWORD bytes = ::SizeofResource(hInst, hRes);
            if (words && bytes >= 8)
            {
                int count = std::min<int>(words[3], (bytes - 8) / 2);
                for (int i = 0, button = 0; i < count; ++i)
                {
                    if (words[4 + i] == 0)
                        continue; // separator
                    if (words[4 + i] == nID && button > 0)
                        imageIndex = button;
                    ++button;
                }
            }
        }
        CImageList list;
        list.Create(m_imageWidth, m_imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
        if (AddBitmapToImageList(&list, nImageResource))
            data->m_globalOffset = AddToGlobalImageList(&list, imageIndex, nID);
    }

    BOOL ok = ::AppendMenuW(m_hMenu, nFlags, nID, (LPCWSTR)data);
    if (m_loaded)
    {
        // Menus built from a resource keep a plain top level.
        int first = -1;
        int count = ::GetMenuItemCount(m_hMenu);
        for (int pos = 0; pos < count && first < 0; ++pos)
        {
            CString name;
            GetMenuString(pos, name, MF_BYPOSITION);
            for (int r = 0; r < (int)m_items.size(); ++r)
                if (!name.IsEmpty() && m_items[r]->m_text == name)
                {
                    first = pos - r;
                    break;
                }
        }
        if (first >= 0)
            for (int r = 0; r < (int)m_items.size(); ++r)
                if (::GetSubMenu(m_hMenu, first + r))
                {
                    m_items[r]->m_menuFlags = MF_BYPOSITION | MF_POPUP;
                    ::ModifyMenuW(m_hMenu, first + r, MF_BYPOSITION | MF_POPUP,
                                  (UINT_PTR)::GetSubMenu(m_hMenu, first + r), m_items[r]->m_text);
                }
    }
    return ok;
}

void CDrawMenu::AlignTabText()
{
    HWND hwnd = MeasureWindow();
    HDC hdc = ::GetDC(hwnd);
    CFont font;
    HGDIOBJ oldFont = MenuFont(font) ? ::SelectObject(hdc, font.GetSafeHandle()) : NULL;
    int widest = 0;
    for (CDrawMenuData* data : m_items)
    {
        int tab = data->m_text.Find(L'\t');
        CString before = tab < 0 ? data->m_text : data->m_text.Left(tab);
        widest = std::max(widest, MenuTextWidth(hdc, before + L" "));
    }
    for (CDrawMenuData* data : m_items)
    {
        int tab = data->m_text.Find(L'\t');
        if (tab < 0)
            continue;
        CString before = data->m_text.Left(tab);
        CString rest = data->m_text.Mid(tab);
        // Blanks keep the width of a text; the loop ends at the latest when a
        // blank adds nothing (an unmeasurable font).
        for (int guard = 0; guard < 1024 && MenuTextWidth(hdc, before) < widest; ++guard)
        {
            int was = MenuTextWidth(hdc, before);
            before += L" ";
            if (MenuTextWidth(hdc, before) <= was)
                break;
        }
        data->m_text = before + rest;
    }
    if (oldFont)
        ::SelectObject(hdc, oldFont);
    ::ReleaseDC(hwnd, hdc);
}

void CDrawMenu::SynchronizeMenu()
{
    for (CDrawMenuData* data : m_items)
        data->m_syncMark = 0;
    std::vector<CDrawMenuData*> gathered;
    int count = GetMenuItemCount();
    for (int pos = 0; pos < count; ++pos)
    {
        UINT state = GetMenuState(pos, MF_BYPOSITION);
        CString text;
        GetMenuString(pos, text, MF_BYPOSITION);
        if (text.GetLength() > 1024)
            text = text.Left(1024);
        CDrawMenuData* found = nullptr;
        HMENU sub = ::GetSubMenu(m_hMenu, pos);
        if (sub)
        {
            for (CDrawMenuData* data : m_items)
                if (!data->m_syncMark && data->m_commandId == (UINT_PTR)sub)
                {
                    found = data;
                    break;
                }
            if (found)
            {
                found->m_syncMark = 1;
                if (!text.IsEmpty())
                    found->m_text = text;
            }
            else
            {
                found = AddRecord(text, ((state & 0xFF) & 0xEF) | MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW,
                                  (UINT_PTR)sub);
                ::ModifyMenuW(m_hMenu, pos, found->m_menuFlags, (UINT_PTR)sub, (LPCWSTR)found);
            }
        }
        else if (state & MF_SEPARATOR)
        {
            for (CDrawMenuData* data : m_items)
                if (!data->m_syncMark && data->m_commandId == 0)
                {
                    found = data;
                    break;
                }
            if (found)
            {
                found->m_syncMark = 1;
                ::ModifyMenuW(m_hMenu, pos, found->m_menuFlags | MF_BYPOSITION, 0, (LPCWSTR)found);
            }
            else
            {
                found = AddRecord(L"", state | MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW, 0);
                ::ModifyMenuW(m_hMenu, pos, found->m_menuFlags, 0, (LPCWSTR)found);
            }
        }
        else
        {
            UINT id = GetMenuItemID(pos);
            for (CDrawMenuData* data : m_items)
                if (!data->m_syncMark && data->m_commandId == id)
                {
                    found = data;
                    break;
                }
            UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            if (found)
            {
                found->m_syncMark = 1;
                found->m_menuFlags = flags;
                if (!text.IsEmpty())
                    found->m_text = text;
            }
            else
                found = AddRecord(text, flags, id);
            ::ModifyMenuW(m_hMenu, pos, flags, id, (LPCWSTR)found);
        }
        found->m_syncMark = 1;
        gathered.push_back(found);
    }
    for (CDrawMenuData* data : m_items)
        if (std::find(gathered.begin(), gathered.end(), data) == gathered.end())
            delete data;
    m_items = gathered;
}

CDrawMenu* CDrawMenu::FindMenuOfCommand(UINT id, int& position)
{
    int count = GetMenuItemCount();
    for (int pos = 0; pos < count; ++pos)
    {
        HMENU sub = ::GetSubMenu(m_hMenu, pos);
        if (sub)
        {
            CMenu* subMenu = CMenu::FromHandlePermanent(sub);
            if (subMenu && subMenu->IsKindOf(RUNTIME_CLASS(CDrawMenu)))
                if (CDrawMenu* found = static_cast<CDrawMenu*>(subMenu)->FindMenuOfCommand(id, position))
                    return found;
        }
        else if (GetMenuItemID(pos) == id)
        {
            position = pos;
            return this;
        }
    }
    return nullptr;
}

BOOL CDrawMenu::GetMenuText(UINT id, CString& text, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION)
    {
        CDrawMenuData* data = GetRecord((int)id);
        if (!data)
            return FALSE;
        text = data->m_text;
        return TRUE;
    }
    int position = -1;
    CDrawMenu* menu = FindMenuOfCommand(id, position);
    CDrawMenuData* data = menu ? menu->GetRecord(position) : nullptr;
    if (!data)
        return FALSE;
    text = data->m_text;
    return TRUE;
}

LRESULT CDrawMenu::FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (!pMenu || !(nFlags & MF_POPUP))
        return 0;
    CMenu* object = CMenu::FromHandlePermanent(pMenu->GetSafeHmenu());
    if (!object || !object->IsKindOf(RUNTIME_CLASS(CDrawMenu)))
        return 0;
    CDrawMenu* menu = static_cast<CDrawMenu*>(object);
    CString key;
    key += L'&';
    key += (wchar_t)nChar;
    key.MakeLower();
    if (menu->GetMenuItemCount() != menu->GetRecordCount())
        menu->SynchronizeMenu();
    for (int pos = 0; pos < menu->GetRecordCount(); ++pos)
    {
        CString text = menu->m_items[pos]->m_text;
        text.MakeLower();
        if (text.Find(key) >= 0)
            return MAKELRESULT(pos, MNC_EXECUTE);
    }
    return 0;
}

void CDrawMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    CDrawMenuData* data = (CDrawMenuData*)lpMIS->itemData;
    if (!data)
        return;
    BOOL flat = IsFlatStyle();
    int gap = (flat && kFlat3DImages) ? 7 : 4;
    if (data->m_menuFlags & MF_SEPARATOR)
    {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight = std::max(::GetSystemMetrics(SM_CYMENU) >> 1, (m_imageHeight + gap) / 2);
        return;
    }
    int version = GetWindowsVersionCode();
    CFont font;
    MenuFont(font);
    HWND hwnd = MeasureWindow();
    HDC hdc = ::GetDC(hwnd);
    HGDIOBJ oldFont = NULL;
    if (version >= 2 && font.GetSafeHandle())
        oldFont = ::SelectObject(hdc, font.GetSafeHandle());
    int textWidth = 0;
    if (version != 0)
        textWidth = MenuTextWidth(hdc, data->m_text);
    if (oldFont)
        ::SelectObject(hdc, oldFont);
    ::ReleaseDC(hwnd, hdc);
    lpMIS->itemWidth = flat ? textWidth + m_imageWidth + gap + 8 : textWidth + 2 * m_imageWidth + 1;
    lpMIS->itemHeight = std::max(m_imageHeight + gap, ::GetSystemMetrics(SM_CYMENU));
}

BOOL CDrawMenu::AddBitmapToImageList(CImageList* pList, UINT nResourceID)
{
    if (!pList || !pList->GetSafeHandle())
        return FALSE;
    COLORREF mask = m_useMaskColour ? m_maskColour : ::GetSysColor(COLOR_3DFACE);
    if (m_icons)
    {
        if (ImageList_ReplaceIcon(pList->GetSafeHandle(), -1, (HICON)(UINT_PTR)nResourceID) < 0)
            return FALSE;
    }
    else
    {
        HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCEW(nResourceID), RT_BITMAP);
        HBITMAP hBitmap = (HBITMAP)::LoadImageW(hInst, MAKEINTRESOURCEW(nResourceID), IMAGE_BITMAP, 0, 0,
                                                LR_DEFAULTCOLOR);
        if (!hBitmap)
            return FALSE;
        CBitmap bitmap;
        bitmap.Attach(hBitmap);
        if (pList->Add(&bitmap, mask) < 0)
            return FALSE;
    }
    if (IsFlatStyle() && kFlat3DImages)
    {
        CBitmap faded, shadow;
        COLORREF face = ::GetSysColor(COLOR_3DFACE);
        if (RenderImage(pList, 0, face, faded) && RenderImage(pList, 0, face, shadow))
        {
            COLORREF faceOnScreen;
            {
                CMemoryDC dc((HBITMAP)faded.GetSafeHandle());
                faceOnScreen = ::GetNearestColor(dc.GetSafeHdc(), face);
                for (int y = 0; y < m_imageHeight; ++y)
                    for (int x = 0; x < m_imageWidth; ++x)
                    {
                        COLORREF c = dc.GetPixel(x, y);
                        if (c != faceOnScreen)
                            dc.SetPixelV(x, y, LightenColor(c, 0.3));
                    }
            }
            {
                CMemoryDC dc((HBITMAP)shadow.GetSafeHandle());
                COLORREF shadowColour = ::GetSysColor(COLOR_BTNSHADOW);
                for (int y = 0; y < m_imageHeight; ++y)
                    for (int x = 0; x < m_imageWidth; ++x)
                        if (dc.GetPixel(x, y) != faceOnScreen)
                            dc.SetPixelV(x, y, shadowColour);
            }
            pList->Add(&faded, face);
            pList->Add(&shadow, face);
        }
    }
    return TRUE;
}

BOOL CDrawMenu::RenderImage(CImageList* list, int index, COLORREF background, CBitmap& bitmap)
{
    HICON icon = ImageList_GetIcon(list->GetSafeHandle(), index, ILD_NORMAL);
    if (!icon)
        return FALSE;
    CMemoryDC dc((HDC)NULL, m_imageWidth, m_imageHeight); // compatible with the screen
    dc.FillSolidRect(0, 0, m_imageWidth, m_imageHeight, background);
    ::DrawIconEx(dc.GetSafeHdc(), 0, 0, icon, m_imageWidth, m_imageHeight, 0, NULL, DI_NORMAL);
    ::DestroyIcon(icon);
    bitmap.DeleteObject();
    return bitmap.Attach(dc.DetachBitmap());
}

int CDrawMenu::AddToGlobalImageList(CImageList* pList, int nIndex, UINT_PTR nID)
{
    if (!g_pGlobalImages)
    {
        g_pGlobalImages = new CImageList;
        g_pGlobalImages->Create(m_imageWidth, m_imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    }
    HICON icon = ImageList_GetIcon(pList->GetSafeHandle(), nIndex, ILD_NORMAL);
    if (!icon)
        return -1;
    BOOL flat3D = IsFlatStyle() && kFlat3DImages;
    // In the flat style the list also holds the faded and the shadow copy
    // that AddBitmapToImageList put after the image.
    HICON faded = NULL, shadow = NULL;
    if (flat3D && pList->GetImageCount() > nIndex + 2)
    {
        faded = ImageList_GetIcon(pList->GetSafeHandle(), nIndex + 1, ILD_NORMAL);
        shadow = ImageList_GetIcon(pList->GetSafeHandle(), nIndex + 2, ILD_NORMAL);
    }
    auto& ids = GlobalImageIds();
    int offset = GlobalImageListOffset(nID);
    if (offset < 0)
    {
        offset = (int)ids.size();
        g_pGlobalImages->Add(icon);
        ids.push_back(nID);
        if (faded && shadow)
        {
            g_pGlobalImages->Add(faded);
            g_pGlobalImages->Add(shadow);
            ids.push_back(nID);
            ids.push_back(nID);
        }
    }
    else
    {
        g_pGlobalImages->Replace(offset, icon);
        if (faded && shadow && offset + 2 < (int)ids.size() && ids[offset + 1] == nID && ids[offset + 2] == nID)
        {
            g_pGlobalImages->Replace(offset + 1, faded);
            g_pGlobalImages->Replace(offset + 2, shadow);
        }
    }
    ::DestroyIcon(icon);
    if (faded)
        ::DestroyIcon(faded);
    if (shadow)
        ::DestroyIcon(shadow);
    return offset;
}

BOOL CDrawMenu::ImageOf(const CDrawMenuData* data, CImageList*& list, int& index) const
{
    if (data->m_imageId >= 0 && data->m_pImageList)
    {
        list = data->m_pImageList;
        index = data->m_imageOffset;
        return index >= 0;
    }
    if (data->m_imageId < 0 && data->m_globalOffset >= 0 && g_pGlobalImages)
    {
        list = g_pGlobalImages;
        index = data->m_globalOffset;
        return TRUE;
    }
    return FALSE;
}

void CDrawMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || !lpDIS->itemData)
        return;
    BOOL palette = (::GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE) != 0;
    if (IsFlatStyle() && !palette)
        DrawItemFlat(lpDIS);
    else
        DrawItem3D(lpDIS);
}

void CDrawMenu::DrawDisabledBitmap(CDC* pDC, int x, int y, int cx, int cy, CBitmap* pBitmap, COLORREF bgColour)
{
    CDC maskDC, imageDC;
    maskDC.CreateCompatibleDC(pDC);
    imageDC.CreateCompatibleDC(pDC);
    CBitmap mask;
    mask.CreateBitmap(cx, cy, 1, 1, NULL);
    HGDIOBJ oldMask = maskDC.SelectObject((HGDIOBJ)mask.GetSafeHandle());
    HGDIOBJ oldImage = imageDC.SelectObject((HGDIOBJ)pBitmap->GetSafeHandle());
    // Pixels of the face and highlight colours become white, all others black.
    maskDC.PatBlt(0, 0, cx, cy, WHITENESS);
    imageDC.SetBkColor(::GetSysColor(COLOR_3DFACE));
    maskDC.BitBlt(0, 0, cx, cy, &imageDC, 0, 0, SRCCOPY);
    imageDC.SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    maskDC.BitBlt(0, 0, cx, cy, &imageDC, 0, 0, SRCPAINT);

    imageDC.FillSolidRect(0, 0, cx, cy, bgColour);
    imageDC.SetBkColor(RGB(0, 0, 0));
    imageDC.SetTextColor(RGB(255, 255, 255));
    const DWORD ropBrushWhereBlack = 0x00E20746;
    CBrush highlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = imageDC.SelectObject((HGDIOBJ)highlight.GetSafeHandle());
    imageDC.BitBlt(0, 0, cx, cy, &maskDC, 0, 0, ropBrushWhereBlack);
    pDC->BitBlt(x + 1, y + 1, cx, cy, &imageDC, 0, 0, SRCCOPY);
    imageDC.BitBlt(1, 1, cx, cy, &maskDC, 0, 0, ropBrushWhereBlack);
    imageDC.SelectObject((HGDIOBJ)shadow.GetSafeHandle());
    imageDC.BitBlt(0, 0, cx, cy, &maskDC, 0, 0, ropBrushWhereBlack);
    pDC->BitBlt(x, y, cx, cy, &imageDC, 0, 0, SRCCOPY);
    imageDC.SelectObject(oldBrush);
    imageDC.SelectObject(oldImage);
    maskDC.SelectObject(oldMask);
}

namespace
{
// The flat style's gap around images: the image column is image width + gap wide.
const int kFlatGap = 7;

COLORREF FlatSelectColour()
{
    return LightenColor(::GetSysColor(COLOR_HIGHLIGHT), 0.7);
}

// A separator: the window colour with an etched line from the image column's
// right edge + gap, the image column in the face colour.
void PaintFlatSeparator(CDC* pDC, const CRect& rect, int barWidth)
{
    COLORREF back = ::GetSysColor(COLOR_3DFACE);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
    CRect bar(rect.left, rect.top, rect.left + barWidth, rect.bottom);
    CRect line = rect;
    line.top += (rect.bottom - rect.top) >> 1;
    line.left = bar.right + kFlatGap;
    pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    pDC->FillSolidRect(&bar, back);
    FrameSolid(pDC, bar, back);
}

// An item's background: the window colour with the image column in the face
// colour, or the selection box over the whole item.
void PaintFlatBackground(CDC* pDC, const CRect& rect, int barWidth, BOOL selected)
{
    if (selected)
    {
        pDC->FillSolidRect(&rect, FlatSelectColour());
        FrameSolid(pDC, rect, ::GetSysColor(COLOR_HIGHLIGHT));
        return;
    }
    COLORREF back = ::GetSysColor(COLOR_3DFACE), window = ::GetSysColor(COLOR_WINDOW);
    CRect bar(rect.left, rect.top, rect.left + barWidth, rect.bottom);
    pDC->FillSolidRect(&rect, window);
    pDC->FillSolidRect(&bar, back);
    FrameSolid(pDC, rect, window);
    FrameSolid(pDC, bar, back);
}

// A checked item without an image: a 16 x 16 box centred in the image column
// with a tick or a dot.
void PaintFlatCheckBox(CDC* pDC, LPDRAWITEMSTRUCT lpDIS, const CRect& rect, int barWidth)
{
    COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    int x = rect.left + HalfUp((barWidth - 16 + 1) * 0.5);
    int y = rect.top + HalfUp((rect.Height() - 16 + 1) * 0.5);
    CRect box(x, y, x + 16, y + 16);
    pDC->FillSolidRect(&box, LightenColor(highlight, 0.85));
    FrameSolid(pDC, box, highlight);
    DrawCheckMark(pDC, lpDIS, box.left + 5, box.top + 4, box.left + 5);
}

// The caption right of the image column (grey when disabled).
void PaintFlatText(CDC* pDC, const CString& text, const CRect& rect, int barWidth, int imageWidth, BOOL disabled)
{
    CRect textRect(rect.left + barWidth + 8, rect.top - 1, rect.right, rect.bottom - 1);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
    DrawItemText(pDC, text, textRect, imageWidth);
}
} // namespace

BOOL CDrawMenu::FlatImageOf(const CDrawMenuData* data, FlatImage& image) const
{
    if (!ImageOf(data, image.list, image.index))
        return FALSE;
    image.faded = image.shadow = -1;
    if (!kFlat3DImages)
        return TRUE;
    // The faded and shadow copies follow the image: in the record's own list
    // at 1 and 2, in the shared list as the two entries of the same command.
    if (image.list == data->m_pImageList && image.index == 0 && image.list->GetImageCount() > 2)
        image.faded = 1, image.shadow = 2;
    else if (image.list == g_pGlobalImages)
    {
        auto& ids = GlobalImageIds();
        int i = image.index;
        if (i + 2 < (int)ids.size() && ids[i + 1] == ids[i] && ids[i + 2] == ids[i])
            image.faded = i + 1, image.shadow = i + 2;
    }
    return TRUE;
}

void CDrawMenu::PaintFlatImage(CDC* pDC, const CRect& rect, int barWidth, UINT state, const FlatImage& image)
{
    COLORREF back = ::GetSysColor(COLOR_3DFACE), highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    BOOL selected = (state & ODS_SELECTED) != 0, checked = (state & ODS_CHECKED) != 0;
    CRect cell(rect.left + 1, rect.top + 1, rect.left + barWidth - 1, rect.bottom - 1);
    CPoint at(rect.left + HalfUp((kFlatGap + 1) * 0.5), rect.top + HalfUp((rect.Height() - m_imageHeight + 1) * 0.5));
    CPoint lifted(at.x - 1, at.y - 1);
    CImageList* list = image.list;
    if (state & ODS_GRAYED)
    {
        CBitmap picture;
        if (RenderImage(list, image.index, ::GetSysColor(COLOR_3DFACE), picture))
            DrawDisabledBitmap(pDC, at.x, at.y, m_imageWidth, m_imageHeight, &picture, back);
    }
    else if (selected)
    {
        pDC->FillSolidRect(&cell, FlatSelectColour());
        if (checked)
        {
            FrameSolid(pDC, cell, highlight);
            list->Draw(pDC, image.index, lifted, ILD_TRANSPARENT);
        }
        else if (image.faded >= 0)
        {
            list->Draw(pDC, image.shadow, CPoint(at.x + 1, at.y + 1), ILD_TRANSPARENT);
            list->Draw(pDC, image.index, lifted, ILD_TRANSPARENT);
        }
        else
            list->Draw(pDC, image.index, at, ILD_TRANSPARENT);
    }
    else if (checked)
    {
        pDC->FillSolidRect(&cell, LightenColor(highlight, 0.85));
        FrameSolid(pDC, cell, highlight);
        list->Draw(pDC, image.index, lifted, ILD_TRANSPARENT);
    }
    else
    {
        pDC->FillSolidRect(&cell, back);
        FrameSolid(pDC, cell, back);
        list->Draw(pDC, image.faded >= 0 ? image.faded : image.index, at, ILD_TRANSPARENT);
    }
}

void CDrawMenu::DrawItemFlat(LPDRAWITEMSTRUCT lpDIS)
{
    CDrawMenuData* data = (CDrawMenuData*)lpDIS->itemData;
    CDC* target = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    UINT state = lpDIS->itemState;
    const int barWidth = m_imageWidth + kFlatGap;

    // A disabled item is never highlighted; it is painted off-screen in the
    // menu font and copied to the menu in one block.
    CFont font;
    std::unique_ptr<CMemoryDC> offscreen;
    CDC* pDC = target;
    CFont* oldFont = nullptr;
    if (state & ODS_GRAYED)
    {
        state &= ~ODS_SELECTED;
        offscreen.reset(new CMemoryDC(target, &rect));
        pDC = offscreen.get();
        if (MenuFont(font))
            oldFont = pDC->SelectObject(&font);
    }

    if (data->m_menuFlags & MF_SEPARATOR)
        PaintFlatSeparator(pDC, rect, barWidth);
    else
    {
        FlatImage image;
        BOOL hasImage = FlatImageOf(data, image);
        PaintFlatBackground(pDC, rect, barWidth, (state & ODS_SELECTED) != 0);
        if (hasImage)
            PaintFlatImage(pDC, rect, barWidth, state, image);
        else if (state & ODS_CHECKED)
            PaintFlatCheckBox(pDC, lpDIS, rect, barWidth);
        if (!data->m_text.IsEmpty())
            PaintFlatText(pDC, data->m_text, rect, barWidth, m_imageWidth, (state & ODS_GRAYED) != 0);
    }
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CDrawMenu::DrawItem3D(LPDRAWITEMSTRUCT lpDIS)
{
    CDrawMenuData* data = (CDrawMenuData*)lpDIS->itemData;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    UINT state = lpDIS->itemState;
    int version = GetWindowsVersionCode();
    COLORREF background = ::GetSysColor(
        (version == WINVER_CODE_WINXP && !IsWindowsClassicTheme()) ? COLOR_3DFACE : COLOR_MENU);

    if (data->m_menuFlags & MF_SEPARATOR)
    {
        pDC->FillSolidRect(&rect, background);
        CRect line = rect;
        line.top += (rect.bottom - rect.top) >> 1;
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    CImageList* list = nullptr;
    int index = -1;
    BOOL hasImage = ImageOf(data, list, index);
    BOOL selected = (state & ODS_SELECTED) != 0, disabled = (state & ODS_GRAYED) != 0,
         checked = (state & ODS_CHECKED) != 0;
    COLORREF textColour = ::GetSysColor(COLOR_MENUTEXT);
    if (!selected)
    {
        pDC->FillSolidRect(&rect, background);
        FrameSolid(pDC, rect, background);
    }
    else
    {
        CRect bar = rect;
        if (hasImage || checked)
            bar.left += m_imageWidth + 5;
        pDC->FillSolidRect(&bar, ::GetSysColor(COLOR_HIGHLIGHT));
        textColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    int d = std::max(0, (rect.Height() - m_imageHeight - 4) / 2);
    CRect inner(rect.left + 1, rect.top + d + 1, rect.left + m_imageWidth + 3, rect.top + d + m_imageHeight + 3);
    CRect outer(rect.left, rect.top + d, rect.left + m_imageWidth + 4, rect.top + d + m_imageHeight + 4);
    CPoint at(rect.left + 2, rect.top + d + 2);
    COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW);
    if (hasImage)
    {
        FrameSolid(pDC, inner, background);
        if (disabled)
        {
            CBitmap image;
            FrameSolid(pDC, outer, background);
            if (RenderImage(list, index, ::GetSysColor(COLOR_3DFACE), image))
                DrawDisabledBitmap(pDC, at.x, at.y, m_imageWidth, m_imageHeight, &image, background);
        }
        else
        {
            if (selected)
            {
                pDC->FillSolidRect(&inner, background);
                if (version > 1)
                    pDC->Draw3dRect(&outer, checked ? sh : hi, checked ? hi : sh);
            }
            else if (checked)
            {
                pDC->FillSolidRect(&inner, LightenColor(background, 0.6));
                if (version > 1)
                    pDC->Draw3dRect(&outer, sh, hi);
            }
            else
            {
                pDC->FillSolidRect(&inner, background);
                FrameSolid(pDC, outer, background);
            }
            list->Draw(pDC, index, at, ILD_TRANSPARENT);
        }
    }
    else if (checked)
    {
        CRect box(rect.left + 1, rect.top + d + 2, rect.left + m_imageWidth + 1, rect.top + d + m_imageHeight + 2);
        pDC->FillSolidRect(&box, selected ? background : LightenColor(background, 0.6));
        if (version > 1)
            pDC->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
        DrawCheckMark(pDC, lpDIS, box.left + 5, box.top + 4, box.left + 4);
    }
    CRect textRect(rect.left + m_imageWidth + 9, rect.top - 1, rect.right, rect.bottom - 1);
    pDC->SetBkMode(TRANSPARENT);
    if (!disabled)
    {
        pDC->SetTextColor(textColour);
        DrawItemText(pDC, data->m_text, textRect, m_imageWidth);
    }
    else if (selected)
    {
        pDC->SetTextColor(background);
        DrawItemText(pDC, data->m_text, textRect, m_imageWidth);
    }
    else
    {
        CRect engraved = textRect;
        engraved.OffsetRect(1, 1);
        pDC->SetTextColor(hi);
        DrawItemText(pDC, data->m_text, engraved, m_imageWidth);
        pDC->SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        DrawItemText(pDC, data->m_text, textRect, m_imageWidth);
    }
}
