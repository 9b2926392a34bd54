#include "ListFriendCtrl.h"
#include "BoardStore.h"
#include "DrawMarkupText.h"
#include "FriendRowLayout.h"
#include "FriendTipText.h"
#include "HighlightBar.h"
#include "LanguageTable.h"
#include "MemoryDC.h"

#include <algorithm>
#include <cstring>
#include <string>

const UINT CListFriendCtrl::IconIds[11] = {305, 308, 304, 301, 310, 307, 302, 303, 306, 306, 440};

namespace
{
enum IconIndex
{
    ICON_OWN = 0,
    ICON_HEADER = 1,
    ICON_LISTENING = 2,
    ICON_STATE = 3,
    ICON_MARKER = 4,
    ICON_PRESENCE = 5, // 5 to 9 by presence
    ICON_BUTTON_MARK = 10
};

const int WheelStep = 40;
const int LineStep = 50;
const wchar_t EmDash[] = L" \x2014 ";

// "#RRGGBB", optionally in quotes; a character that is not a hex digit
// counts as 0, and so do the digits a short text lacks.
COLORREF HtmlColor(const CString& text)
{
    const wchar_t* p = text;
    if (*p == L'\'' || *p == L'"')
        ++p;
    if (*p == L'#')
        ++p;
    int v[6] = {0};
    for (int i = 0; i < 6 && *p; ++i, ++p)
        v[i] = *p >= L'0' && *p <= L'9' ? *p - L'0'
               : *p >= L'a' && *p <= L'f' ? *p - L'a' + 10
               : *p >= L'A' && *p <= L'F' ? *p - L'A' + 10 : 0;
    return RGB(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

int RowHeight(const CFriendItem& item)
{
    if (item.kind == FRIEND_KIND_OWN)
        return 50;
    if (item.flags & FRIEND_FLAG_HEADER)
        return 28;
    if (item.flags & FRIEND_FLAG_VISIBLE)
        return 50;
    return 0;
}

// The order key of a row: its nick and signature, lower-cased, in the
// system's ANSI code page (compared byte by byte).
std::string SortText(const CFriendItem& item)
{
    CString text = item.nick + item.signature;
    text.MakeLower();
    int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    std::string bytes(n > 0 ? n : 1, '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, &bytes[0], n, NULL, NULL);
    return std::string(bytes.c_str());
}

bool ComesBefore(const CFriendItem& a, const std::string& aText, const CFriendItem& b, const std::string& bText)
{
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.subOrder != b.subOrder)
        return a.subOrder < b.subOrder;
    return std::strcmp(aText.c_str(), bText.c_str()) < 0; // unsigned bytes, as the C library compares
}
} // namespace

BEGIN_MESSAGE_MAP(CListFriendCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_MOUSEWHEEL()
ON_WM_VSCROLL()
ON_WM_KEYDOWN()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
ON_WM_GETDLGCODE()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CListFriendCtrl::CListFriendCtrl()
    : m_count(0), m_controlId(0), m_totalHeight(0), m_pageWidth(0), m_pageHeight(0), m_scrollPos(0),
      m_focusSelectColor(RGB(17, 253, 21)), m_selectColor(RGB(157, 253, 51)), m_avatarHoverColor(RGB(47, 151, 255)),
      m_curSel(-1), m_hoverRow(-1), m_linkHover(FALSE), m_avatarHover(FALSE), m_hasFocus(FALSE), m_owner(NULL),
      m_handCursor(NULL), m_boards(NULL)
{
    m_separatorPen.CreatePen(PS_DOT, 1, RGB(200, 200, 200));
}

CListFriendCtrl::~CListFriendCtrl()
{
    if (m_hWnd)
        DestroyWindow();
    DeleteAllItems();
}

BOOL CListFriendCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    m_controlId = id;
    m_owner = parent ? parent->GetSafeHwnd() : NULL;
    m_pageWidth = rect.right - rect.left;
    m_pageHeight = rect.bottom - rect.top;
    m_totalHeight = 0;
    if (!CreateEx(0, cls, L"ListFriendCtrl", style, rect, parent, id))
        return FALSE;
    m_handCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(103));
    if (!m_handCursor)
        m_handCursor = ::LoadCursor(NULL, IDC_HAND);
    m_tip.Create(this);
    m_tip.SetNotifyWindow(m_hWnd);
    RegisterTool();
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    SetScrollInfo(SB_VERT, &si, TRUE);
    return TRUE;
}

BOOL CListFriendCtrl::PreTranslateMessage(MSG* msg)
{
    if (m_tip.GetSafeHwnd())
        m_tip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

void CListFriendCtrl::LoadStandardIcons(HINSTANCE module)
{
    for (UINT id : IconIds)
        AddIcon((HICON)::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

void CListFriendCtrl::SetDefaultAvatar(HBITMAP bitmap)
{
    m_defaultAvatar.DeleteObject();
    m_defaultAvatar.Attach(bitmap);
}

// ---------------------------------------------------------------------------
// Rows

void CListFriendCtrl::Renumber()
{
    CSingleLock hold(&m_lock, TRUE);
    m_keyMap.assign(m_rows.begin(), m_rows.end());
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->key = (int)i;
}

int CListFriendCtrl::AddItem(const CFriendItem& item, BOOL redraw)
{
    CFriendItem* row = new CFriendItem(item);
    row->self = row;
    if (row->key < 0)
        row->key = m_count;
    row->height = RowHeight(*row);
    {
        CSingleLock hold(&m_lock, TRUE);
        m_rows.push_back(row);
    }
    ++m_count;
    m_totalHeight += row->height;
    UpdateScrollRange();
    Renumber();
    if (redraw && m_hWnd)
        Invalidate(FALSE);
    return row->key;
}

int CListFriendCtrl::DeleteItem(int key)
{
    auto it = std::find_if(m_rows.begin(), m_rows.end(), [key](CFriendItem* r) { return r->key == key; });
    if (it == m_rows.end())
        return 0;
    CFriendItem* row = *it;
    if (m_curSel == key)
        m_curSel = -1;
    if (m_hoverRow == key)
        m_hoverRow = -1;
    m_totalHeight -= row->height;
    {
        // Out of the key map before it is freed: a worker looking rows up
        // never meets a freed row.
        CSingleLock hold(&m_lock, TRUE);
        m_rows.erase(it);
        m_keyMap.assign(m_rows.begin(), m_rows.end());
        delete row;
    }
    --m_count;
    UpdateScrollRange();
    Renumber();
    if (m_hWnd)
        Invalidate(TRUE);
    return 1;
}

void CListFriendCtrl::DeleteAllItems()
{
    m_totalHeight = 0;
    m_count = 0;
    std::vector<CFriendItem*> rows;
    {
        CSingleLock hold(&m_lock, TRUE);
        rows.swap(m_rows);
        m_keyMap.clear();
        for (CFriendItem* row : rows)
            delete row;
    }
    // A hover index into rows that are gone would make the next paint or move
    // treat another row as hovered.
    m_hoverRow = -1;
}

CFriendItem* CListFriendCtrl::GetItem(int index) const
{
    if (index < 0 || index >= (int)m_rows.size())
        return NULL;
    CFriendItem* row = m_rows[index];
    return row->self == row ? row : NULL;
}

CRect CListFriendCtrl::GetItemRect(int index) const
{
    CFriendItem* row = GetItem(index);
    return row ? row->rect : CRect(0, 0, 0, 0);
}

int CListFriendCtrl::FindItem(LPCWSTR id) const
{
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (row && row->id == id)
            return i;
    }
    return -1;
}

CFriendItem* CListFriendCtrl::GetItemById(LPCWSTR id)
{
    CSingleLock hold(&m_lock, TRUE);
    for (CFriendItem* row : m_keyMap)
        if (row->self == row && row->id == id)
            return row;
    return NULL;
}

void CListFriendCtrl::RedrawItem(int index)
{
    CFriendItem* row = GetItem(index);
    if (row && m_hWnd)
        InvalidateRect(&row->rect, TRUE);
}

void CListFriendCtrl::SetCurSel(int index)
{
    int old = m_curSel;
    m_curSel = index;
    if (index == -1)
        return;
    RedrawItem(index);
    RedrawItem(old);
}

void CListFriendCtrl::MarkItem(int index)
{
    CFriendItem* row = GetItem(index);
    if (!row || row->marked)
        return;
    ClearMark();
    row->marked = 1;
    RedrawItem(index);
}

void CListFriendCtrl::ClearMark()
{
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (row && row->marked)
        {
            row->marked = 0;
            RedrawItem(i);
            return;
        }
    }
}

void CListFriendCtrl::SortItems()
{
    int keep = m_scrollPos;
    for (CFriendItem* row : m_rows)
    {
        if (row->kind <= 1)
            continue;
        row->subOrder = row->subOrder != 0 ? 1 : 0;
        if (row->presence > 2)
            row->kind = FRIEND_KIND_OFFLINE;
        else if (!(row->flags & FRIEND_FLAG_HEADER))
            row->kind = FRIEND_KIND_ONLINE;
    }
    // An exchange sort over the rows' contents: each row object stays where it
    // is stored and only its data moves, so equal rows never change places.
    std::vector<std::string> texts;
    for (CFriendItem* row : m_rows)
        texts.push_back(SortText(*row));
    {
        CSingleLock hold(&m_lock, TRUE);
        CFriendItem swap;
        for (size_t i = 0; i + 1 < m_rows.size(); ++i)
            for (size_t j = i + 1; j < m_rows.size(); ++j)
                if (ComesBefore(*m_rows[j], texts[j], *m_rows[i], texts[i]))
                {
                    swap = *m_rows[i];
                    *m_rows[i] = *m_rows[j];
                    *m_rows[j] = swap;
                    texts[i].swap(texts[j]);
                }
    }
    Renumber();
    if (m_hWnd)
        Invalidate(FALSE);
    SetScrollPosition(keep);
}

// ---------------------------------------------------------------------------
// Scrolling

int CListFriendCtrl::ScrollLimit() const
{
    return std::max(0, m_totalHeight - m_pageHeight);
}

void CListFriendCtrl::UpdateScrollRange()
{
    if (!m_hWnd)
        return;
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE, 0, m_totalHeight, (UINT)std::max(0, m_pageHeight), 0, 0};
    SetScrollInfo(SB_VERT, &si, TRUE);
    m_scrollPos = std::min(m_scrollPos, ScrollLimit());
}

void CListFriendCtrl::SetScrollPosition(int pos)
{
    m_scrollPos = std::max(0, std::min(pos, ScrollLimit()));
    if (m_hWnd)
        SetScrollPos(SB_VERT, m_scrollPos, TRUE);
}

void CListFriendCtrl::EnsureVisible(int key)
{
    int top = 0;
    CFriendItem* target = NULL;
    for (CFriendItem* row : m_rows)
    {
        if (row->key == key)
        {
            target = row;
            break;
        }
        top += row->height;
    }
    if (!target)
        return;
    int pos = m_scrollPos;
    if (top < pos)
        pos = top;
    else if (pos + m_pageHeight < top + target->height)
        pos = top + target->height - m_pageHeight;
    else
        return;
    SetScrollPosition(pos);
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CListFriendCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (delta < 0)
        SetScrollPosition(std::min(m_scrollPos + WheelStep, ScrollLimit()));
    else
        SetScrollPosition(std::max(m_scrollPos - WheelStep, 0));
    UpdateWindow();
    Invalidate(TRUE);
    return TRUE;
}

void CListFriendCtrl::OnVScroll(UINT code, UINT pos, CScrollBar*)
{
    int limit = ScrollLimit();
    switch (code)
    {
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        if (m_scrollPos < limit)
            SetScrollPosition(m_scrollPos + std::min(LineStep, limit - m_scrollPos));
        break;
    case SB_LINEUP:
    case SB_PAGEUP:
        if (m_scrollPos > 0)
            SetScrollPosition(m_scrollPos - std::min(LineStep, m_scrollPos));
        break;
    case SB_THUMBPOSITION:
    {
        SCROLLINFO si;
        GetScrollInfo(SB_VERT, &si, SIF_TRACKPOS);
        SetScrollPosition(si.nTrackPos);
        break;
    }
    case SB_THUMBTRACK:
        SetScrollPosition((int)pos);
        break;
    default:
        break;
    }
    Invalidate(TRUE);
    UpdateWindow();
    Default();
}

void CListFriendCtrl::OnSize(UINT, int cx, int cy)
{
    m_pageWidth = cx;
    m_pageHeight = cy;
    UpdateScrollRange();
    SetScrollPosition(m_scrollPos);
    if (m_tip.GetSafeHwnd())
    {
        m_tip.RemoveToolById(this, (int)m_controlId);
        RegisterTool();
    }
    Renumber();
    Invalidate(TRUE);
    Default();
}

void CListFriendCtrl::RegisterTool()
{
    MarkupToolInfo tool;
    tool.id = (int)m_controlId;
    GetClientRect(&tool.rect);
    m_tip.AddToolInfo(this, tool);
}

// ---------------------------------------------------------------------------
// Notifications

FriendListNotify* CListFriendCtrl::MakeNotify(UINT code, int key, CFriendItem* item) const
{
    FriendListNotify* n = new FriendListNotify;
    n->hdr.hwndFrom = m_hWnd;
    n->hdr.idFrom = m_controlId;
    n->hdr.code = code;
    n->key = key;
    n->item = item;
    if (item)
        n->rowId = item->id;
    return n;
}

void CListFriendCtrl::SendNotify(UINT code, int key, CFriendItem* item)
{
    FriendListNotify* n = MakeNotify(code, key, item);
    ::SendMessageW(m_owner, WM_NOTIFY, m_controlId, (LPARAM)n);
    if (code == FLN_BUTTONDOWN || code == FLN_MOUSEMOVE)
        delete n; // the receiver keeps the others
}

void CListFriendCtrl::PostNotify(UINT code, int key, CFriendItem* item)
{
    FriendListNotify* n = MakeNotify(code, key, item);
    // The record belongs to the receiver once posted; a post that fails (the
    // owner is gone) leaves it with nobody, so it is freed here.
    if (!::PostMessageW(m_owner, WM_NOTIFY, m_controlId, (LPARAM)n))
        delete n;
}

void CListFriendCtrl::NotifySelection(int index)
{
    CFriendItem* row = GetItem(index);
    if (row)
        SendNotify(FLN_CLICK, index, row);
}

// ---------------------------------------------------------------------------
// Mouse and keys

void CListFriendCtrl::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    SendNotify(FLN_BUTTONDOWN, -1, NULL);
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (!row)
            continue;
        FriendRowLayout layout(row->rect, *row);
        UINT code = 0;
        if (!row->IsHeader() && row->kind > FRIEND_KIND_CHANNEL && layout.avatarHit.PtInRect(point))
            code = FLN_AVATARCLICK;
        else if (!row->IsHeader() && row->listening && layout.listenHit.PtInRect(point))
        {
            PostNotify(FLN_LISTENCLICK, i, row);
            return;
        }
        else if (row->rect.PtInRect(point))
            code = FLN_CLICK;
        if (code)
        {
            m_curSel = i;
            Invalidate(FALSE);
            PostNotify(code, i, row);
            return;
        }
    }
}

void CListFriendCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (!row || row->IsHeader())
            continue;
        FriendRowLayout layout(row->rect, *row);
        bool onAvatar = row->kind == FRIEND_KIND_ONLINE && layout.avatarHit.PtInRect(point);
        bool onRow = row->kind == FRIEND_KIND_ONLINE && row->rect.PtInRect(point);
        if (!onAvatar && !onRow)
            continue;
        if (row->listening && layout.listenHit.PtInRect(point))
            return; // the listening line is a link of its own
        m_curSel = i;
        Invalidate(FALSE);
        PostNotify(FLN_DBLCLK, i, row);
        return;
    }
}

void CListFriendCtrl::OnRButtonDown(UINT, CPoint point)
{
    SetFocus();
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (!row || row->IsHeader() || !row->rect.PtInRect(point) || row->kind <= FRIEND_KIND_CHANNEL)
            continue;
        m_curSel = i;
        Invalidate(FALSE);
        PostNotify(FLN_RCLICK, i, row);
        return;
    }
}

void CListFriendCtrl::LeaveHover()
{
    m_avatarHover = FALSE;
    if (CWnd* main = AfxGetMainWnd())
        ::SendMessageW(main->GetSafeHwnd(), WM_FRIEND_AVATAR_HOVER, 0, 0);
    m_linkHover = FALSE;
    m_hoverRow = -1;
    Invalidate(TRUE);
}

void CListFriendCtrl::OnMouseMove(UINT, CPoint point)
{
    m_hoverRow = -1;
    SendNotify(FLN_MOUSEMOVE, -1, NULL);
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
    {
        if (::GetCapture() == m_hWnd && !::ReleaseCapture())
            ::ReleaseCapture();
        LeaveHover();
        return;
    }
    SetCapture();
    BOOL visible;
    {
        CDC* dc = GetDC();
        visible = dc ? dc->PtVisible(point.x, point.y) : FALSE;
        if (dc)
            ReleaseDC(dc);
    }
    if (!visible)
    {
        ::ReleaseCapture();
        LeaveHover();
        return;
    }
    HWND main = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : NULL;
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (!row || !row->rect.PtInRect(point))
            continue;
        if (row->IsHeader())
            m_avatarHover = FALSE;
        else
        {
            FriendRowLayout layout(row->rect, *row);
            if (row->kind > FRIEND_KIND_CHANNEL && layout.avatarHit.PtInRect(point))
            {
                if (!m_avatarHover)
                    ::SendMessageW(main, WM_FRIEND_AVATAR_HOVER, 1, (LPARAM)row);
                HoverPart(m_avatarHover, i);
            }
            else
            {
                m_avatarHover = FALSE;
                ::SendMessageW(main, WM_FRIEND_AVATAR_HOVER, 0, 0);
            }
            if (row->listening && layout.listenHit.PtInRect(point))
                HoverPart(m_linkHover, i);
            else
            {
                m_linkHover = FALSE;
                if (m_hoverRow != -1)
                    RedrawItem(m_hoverRow);
            }
        }
        m_hoverRow = i;
        Invalidate(FALSE);
        SendNotify(FLN_MOUSEMOVE, row->key, row);
        return;
    }
    SendNotify(FLN_MOUSEMOVE, m_hoverRow, NULL);
}

void CListFriendCtrl::HoverPart(BOOL& part, int index)
{
    part = TRUE;
    m_hoverRow = index;
    RedrawItem(index);
    ::SetCursor(m_handCursor);
}

BOOL CListFriendCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

void CListFriendCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_UP || key == VK_DOWN)
    {
        if (key == VK_UP)
            m_curSel = m_curSel == -1 ? 0 : m_curSel > 0 ? m_curSel - 1 : m_curSel;
        else
            m_curSel = m_curSel == -1 ? m_count - 1 : m_curSel < m_count - 1 ? m_curSel + 1 : m_curSel;
        EnsureVisible(m_curSel);
        Invalidate(FALSE);
        NotifySelection(m_curSel);
    }
    Default();
}

void CListFriendCtrl::OnSetFocus(CWnd*)
{
    m_hasFocus = TRUE;
    RedrawItem(m_curSel);
}

void CListFriendCtrl::OnKillFocus(CWnd*)
{
    m_hasFocus = FALSE;
    RedrawItem(m_curSel);
}

BOOL CListFriendCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* hdr = (NMHDR*)lParam;
    if (hdr->code != MARKUPTIP_SHOW || hdr->hwndFrom != m_tip.GetSafeHwnd())
        return CWnd::OnNotify(wParam, lParam, result);
    NMMARKUPTIP* nm = (NMMARKUPTIP*)lParam;
    if (nm->ti->id != (int)m_controlId)
        return TRUE;
    nm->ti->transparency = 10;
    POINT cursor = *nm->pt;
    ScreenToClient(&cursor);
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = GetItem(i);
        if (row && row->rect.PtInRect(cursor))
        {
            nm->ti->text = BuildFriendTipText(*row, cursor);
            break;
        }
    }
    return TRUE;
}

void CListFriendCtrl::OnDestroy()
{
    m_font.DeleteObject();
    m_separatorPen.DeleteObject();
    for (HICON icon : m_icons)
        if (icon)
            ::DestroyIcon(icon);
    m_icons.clear();
    if (m_tip.GetSafeHwnd())
        m_tip.DestroyWindow();
    Default();
}

// ---------------------------------------------------------------------------
// Painting

void CListFriendCtrl::PrepareFont()
{
    if (m_font.GetSafeHandle())
        return;
    HFONT ownerFont = m_owner ? (HFONT)::SendMessageW(m_owner, WM_GETFONT, 0, 0) : NULL;
    LOGFONTW lf;
    if (!ownerFont || !::GetObjectW(ownerFont, sizeof(lf), &lf))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    m_font.CreateFontIndirect(&lf);
}

void CListFriendCtrl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC dc(&paint, &client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
    PrepareFont();
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    int top = client.top - m_scrollPos;
    for (int i = 0; i < (int)m_rows.size(); ++i)
    {
        CFriendItem* row = m_rows[i];
        if (row->self != row)
            continue;
        int bottom = top + row->height;
        DrawItem(&dc, client.left, top, client.right, bottom, row, i == m_curSel, m_hasFocus,
                 m_avatarHover && i == m_hoverRow, m_linkHover && i == m_hoverRow);
        row->rect.SetRect(client.left, top, client.right, bottom);
        top = bottom;
    }
    dc.SelectObject(oldFont);
}

void CListFriendCtrl::DrawIcon(CDC* dc, size_t index, int x, int y, int cx, int cy)
{
    if (index < m_icons.size() && m_icons[index])
        ::DrawIconEx(dc->GetSafeHdc(), x, y, m_icons[index], cx, cy, 0, NULL, DI_NORMAL);
}

void CListFriendCtrl::DrawItem(CDC* dc, int L, int T, int R, int B, CFriendItem* item, BOOL selected, BOOL focused,
                               BOOL avatarHot, BOOL linkHot)
{
    CRect clip;
    dc->GetClipBox(&clip);
    if (B < clip.top || T > clip.bottom || R < clip.left || L > clip.right)
        return;
    CRect row(L, T, R, B);
    FriendRowLayout layout(row, *item);
    if (selected)
        DrawHighlightBar(dc->GetSafeHdc(), layout.selectionBar, focused ? m_focusSelectColor : m_selectColor, true);
    if (item->kind > 0 && item->subOrder == 0)
    {
        CPen* old = dc->SelectObject(&m_separatorPen);
        dc->MoveTo(L, T);
        dc->LineTo(R, T);
        dc->SelectObject(old);
    }
    DrawPicture(dc, layout.pictureBox, item);
    if (layout.picture == FriendRowLayout::AVATAR && (item->flags & FRIEND_FLAG_PRESENCE))
    {
        int presence = std::max(0, std::min(item->presence, 4));
        DrawIcon(dc, ICON_PRESENCE + presence, layout.presenceIcon.left, layout.presenceIcon.top, 16, 16);
        if (item->state == 1)
            DrawIcon(dc, ICON_STATE, layout.stateIcon.left, layout.stateIcon.top, 16, 16);
        if (item->buttons & 4)
            DrawIcon(dc, ICON_BUTTON_MARK, layout.stateIcon.left, layout.stateIcon.top, 16, 16);
    }
    if (item->marked)
        DrawIcon(dc, ICON_MARKER, layout.markerIcon.left, layout.markerIcon.top, 25, 18);
    COLORREF oldColor = dc->GetTextColor();
    DrawFirstLine(dc, layout.text, item);
    if (layout.picture == FriendRowLayout::AVATAR)
    {
        if (avatarHot)
            dc->Draw3dRect(&layout.avatarHover, m_avatarHoverColor, m_avatarHoverColor);
        if (linkHot)
            DrawHighlightBar(dc->GetSafeHdc(), layout.linkBar, m_focusSelectColor, !selected);
    }
    DrawSecondLine(dc, layout.text, layout.secondLine, item, T);
    dc->SetTextColor(oldColor);
}

void CListFriendCtrl::DrawPicture(CDC* dc, const CRect& box, CFriendItem* item)
{
    HDC hdc = dc->GetSafeHdc();
    if (item->kind == FRIEND_KIND_OWN)
    {
        DrawIcon(dc, ICON_OWN, box.left, box.top, 30, 30);
        return;
    }
    if (item->IsHeader())
    {
        DrawIcon(dc, item->kind < 0 ? ICON_OWN : ICON_HEADER, box.left, box.top, 16, 16);
        return;
    }
    bool offline = item->IsOffline();
    if (item->avatarPath.IsEmpty())
        item->CreateFromHBITMAP((HBITMAP)m_defaultAvatar.GetSafeHandle());
    else
    {
        // A buddy that came back online gets its picture in colour again.
        if (!offline && item->IsValid() && item->IsGrayScale())
            item->Destroy();
        if (!item->IsValid())
        {
            if (item->Load(item->avatarPath, 0))
                item->Resample(30, 30, 4, 5);
            else
                item->CreateFromHBITMAP((HBITMAP)m_defaultAvatar.GetSafeHandle());
        }
    }
    if (offline && item->IsValid() && !item->IsGrayScale())
        item->GrayScale();
    if (item->IsValid())
        item->Draw(hdc, box);
}

void CListFriendCtrl::DrawFirstLine(CDC* dc, const CRect& textRect, const CFriendItem* item)
{
    CString text;
    if (!item->nick.IsEmpty())
        text += L"<font color=" + (item->IsOffline() ? item->greyColor : item->nickColor) + L">" +
                item->nick + L"</font>";
    if (item->kind != FRIEND_KIND_OWN && !item->signature.IsEmpty())
        text += L"<font color=" + item->greyColor + L">" + EmDash + item->signature + L"</font>";
    dc->SetTextColor(HtmlColor(item->nickColor));
    CRect rect = textRect;
    UINT format = DT_NOPREFIX | DT_END_ELLIPSIS | (item->IsHeader() ? DT_VCENTER : 0);
    DrawMarkupText(dc->GetSafeHdc(), text, text.GetLength(), &rect, format);
}

void CListFriendCtrl::DrawSecondLine(CDC* dc, CRect textRect, const CRect& secondLine, const CFriendItem* item, int T)
{
    const UINT format = DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS;
    CString text;
    bool header = item->IsHeader();
    if (item->listening && !item->listen2.IsEmpty() && !header && item->kind == FRIEND_KIND_ONLINE)
    {
        text = L"<font color=" + item->linkColor + L">" + item->listen2;
        if (!item->listen4.IsEmpty())
            text += EmDash + item->listen4;
        text += L"</font>";
        DrawIcon(dc, ICON_LISTENING, textRect.left, T + 25, 16, 16);
        textRect.left += 20;
        DrawMarkupText(dc->GetSafeHdc(), text, text.GetLength(), &textRect, format);
        return;
    }
    CString total = Lang(L"INFO_LIST_FRIEND_TOTAL_SONG");
    if (!header && item->totalSongs != 0)
    {
        if (item->newSongs != 0)
            text.Format(L"<font color = %s>" + total + L" " + Lang(L"INFO_LIST_FRIEND_NEW_SONG") + L"</font>",
                        item->greyColor, item->totalSongs, item->newSongs);
        else
            text.Format(L"<font color = %s>" + total + L"</font>", item->greyColor, item->totalSongs);
        DrawMarkupText(dc->GetSafeHdc(), text, text.GetLength(), &textRect, format);
        return;
    }
    if (item->kind != FRIEND_KIND_OWN)
        return;
    int fresh = m_boards ? m_boards->GetNewCountTotal() : 0;
    if (fresh > 0)
    {
        CString board;
        board.Format(Lang(L"INFO_BOARD_NEW"), fresh);
        text.Format(L"<font color = %s>" + total + L"\t" + board + L"</font>", item->greyColor, item->totalSongs);
    }
    else
        text.Format(L"<font color = %s>" + total + L"</font>", item->greyColor, item->totalSongs);
    CRect rect = secondLine;
    DrawMarkupText(dc->GetSafeHdc(), text, text.GetLength(), &rect, format);
}
