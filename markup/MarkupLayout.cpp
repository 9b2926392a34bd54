// Layout and drawing of mark-up texts: passes, flow pieces, lines, breaking,
// rules, tabs, hot areas, and tables.
#include "MarkupDrawer.h"
#include <algorithm>

std::vector<std::pair<std::wstring, std::wstring>> ParseMarkupAttributes(const std::wstring& text);

namespace
{
int CountBlanks(const std::wstring& s)
{
    return (int)std::count(s.begin(), s.end(), L' ');
}

SIZE TextExtent(HDC dc, const std::wstring& s)
{
    SIZE sz = {0, 0};
    if (!s.empty())
        ::GetTextExtentPoint32W(dc, s.c_str(), (int)s.size(), &sz);
    return sz;
}

bool IsBreakChar(wchar_t c)
{
    return c == L' ' || c == L'-' || c == L'.' || c == L',' || c == L'!' || c == L':' || c == L';' ||
           c == L')' || c == L'}' || c == L']' || c == L'?';
}

// Position of the next "<" + name at or after pos whose "<" is not the second
// of an escaped "<<".
size_t FindTag(const std::wstring& text, const wchar_t* name, size_t pos)
{
    std::wstring key = std::wstring(L"<") + name;
    while (pos < text.size())
    {
        size_t p = text.find(key, pos);
        if (p == std::wstring::npos)
            return std::wstring::npos;
        if (p == 0 || text[p - 1] != L'<')
            return p;
        pos = p + 1;
    }
    return std::wstring::npos;
}

// Attribute text of the tag that starts at pos ("<name attributes>").
std::wstring TagAttributes(const std::wstring& text, size_t pos)
{
    size_t gt = text.find(L'>', pos);
    if (gt == std::wstring::npos)
        gt = text.size();
    std::wstring tag = text.substr(pos + 1, gt - pos - 1);
    size_t s = tag.find_first_of(L" =");
    if (s == std::wstring::npos)
        return std::wstring();
    size_t a = tag.find_first_not_of(L' ', s);
    return a == std::wstring::npos ? std::wstring() : tag.substr(a);
}

size_t AfterTag(const std::wstring& text, size_t pos)
{
    size_t gt = text.find(L'>', pos);
    return gt == std::wstring::npos ? text.size() : gt + 1;
}

std::wstring Transform(std::wstring s, int mode)
{
    switch (mode)
    {
    case 1:
        for (auto& c : s)
            c = (wchar_t)towupper(c);
        break;
    case 2:
    case 3:
        for (auto& c : s)
            c = (wchar_t)towlower(c);
        if (mode == 3)
            for (size_t i = 0; i < s.size(); i++)
                if ((i == 0 || s[i - 1] == L' ') && s[i] >= L'a' && s[i] <= L'z')
                    s[i] = (wchar_t)(s[i] - L'a' + L'A');
        break;
    }
    return s;
}
} // namespace

// ---------------------------------------------------------------------------
// Passes

void MarkupDrawer::Measure(HDC hDC, LPCWSTR text, SIZE* size)
{
    SIZE result = {0, 0};
    m_dc = hDC;
    if (hDC != NULL)
        ::SetTextJustification(hDC, 0, 0);
    m_text = text != NULL ? text : L"";
    PrepareText();
    if (!m_text.empty() && hDC != NULL)
    {
        m_mode = 1;
        m_tables.clear();
        result = RunPass(RECT{0, 0, m_maxWidth, 0});
        if (result.cx == 0 && result.cy == 0)
            m_text.clear();
        else
        {
            if (m_maxWidth > 0 && result.cx > m_maxWidth)
                result.cx = m_maxWidth;
            result.cx++;
            result.cy++;
        }
    }
    else
        m_text.clear();
    m_dc = NULL; // the caller's context is not kept past the call
    if (size != NULL)
        *size = result;
}

void MarkupDrawer::Draw(HDC hDC, const RECT& rect)
{
    if (m_text.empty() || hDC == NULL)
        return;
    m_dc = hDC;
    m_mode = 0;
    RunPass(rect);
    m_mode = 1;
    m_dc = NULL;
}

SIZE MarkupDrawer::RunPass(RECT area)
{
    SIZE total = {0, 0};
    // Hot areas are rebuilt by every pass, so repeated paints do not pile
    // them up.
    m_hotAreas.clear();
    if (Measuring())
    {
        m_lines.clear();
        m_animations.clear();
    }
    m_lineCounter = 0;
    m_tableCounter = m_linkCounter = m_animationCounter = -1;
    m_tableDepth = 0;
    m_stack.clear();
    ResetStyle(m_style);
    ApplyStyleRule(L"body", m_style);

    memset(&m_logFont, 0, sizeof(m_logFont));
    m_logFont.lfCharSet = DEFAULT_CHARSET;
    m_savedFont = (HFONT)::GetCurrentObject(m_dc, OBJ_FONT);
    m_savedBkMode = ::GetBkMode(m_dc);
    m_savedTextColor = ::GetTextColor(m_dc);
    m_savedBkColor = ::GetBkColor(m_dc);
    SelectStyle();

    const std::wstring& text = m_text;
    size_t p = 0, n = text.size();
    while (p < n)
    {
        size_t t = FindTag(text, L"table", p);
        size_t stop = t == std::wstring::npos ? n : t;
        if (stop > p)
        {
            SIZE s = LayOutText(text.substr(p, stop - p), area);
            total.cx = std::max(total.cx, s.cx);
            total.cy += s.cy;
            if (!Measuring())
                area.top += s.cy;
        }
        if (t == std::wstring::npos)
            break;
        size_t end = FindTableEnd(text, t + 6);
        SIZE s = LayOutTable(text.substr(t, end - t), area);
        total.cx = std::max(total.cx, s.cx);
        total.cy += s.cy;
        if (!Measuring())
            area.top += s.cy;
        p = std::max(end, t + 1);
    }

    if (Measuring())
        m_lines.resize(std::max(0, m_lineCounter)); // the line begun after the last one ended is empty
    ::SelectObject(m_dc, m_savedFont);
    ::SetBkMode(m_dc, m_savedBkMode);
    ::SetBkColor(m_dc, m_savedBkColor);
    ::SetTextColor(m_dc, m_savedTextColor);
    ::SetTextJustification(m_dc, 0, 0);
    m_stack.clear();
    if (m_font != NULL)
        ::DeleteObject(m_font);
    m_font = NULL;
    return total;
}

void MarkupDrawer::SelectStyle()
{
    if (m_dc == NULL)
        return;
    ::SelectObject(m_dc, m_savedFont);
    if (m_font != NULL)
        ::DeleteObject(m_font);
    m_logFont.lfHeight = m_style.fontSize;
    m_logFont.lfWeight = m_style.fontWeight;
    m_logFont.lfItalic = (BYTE)(m_style.italic != 0);
    m_logFont.lfUnderline = (BYTE)(m_style.underline != 0);
    m_logFont.lfStrikeOut = (BYTE)(m_style.strikeout != 0);
    // The face name field holds 31 characters and the terminator; longer
    // names are cut.
    size_t len = std::min<size_t>(m_style.fontFamily.size(), LF_FACESIZE - 1);
    wmemcpy(m_logFont.lfFaceName, m_style.fontFamily.c_str(), len);
    m_logFont.lfFaceName[len] = 0;
    m_font = ::CreateFontIndirectW(&m_logFont);
    if (m_font != NULL)
        ::SelectObject(m_dc, m_font);
    ::GetTextMetricsW(m_dc, &m_tm);
    ::SetBkMode(m_dc, m_style.bkMode);
    ::SetTextColor(m_dc, m_style.textColor);
    ::SetBkColor(m_dc, m_style.bkColor);
}

// ---------------------------------------------------------------------------
// Flow text

SIZE MarkupDrawer::LayOutText(const std::wstring& source, RECT area)
{
    m_imageShadowColor = m_enabled ? m_shadowColor : m_disabledColor;
    // The piece is read inside a body tag, whose closing ">" must not end a
    // "<" of the piece that has no ">" of its own: such a "<" is dropped, and
    // one that is the last character stands for itself.
    std::wstring text = source;
    size_t tail = text.find_last_of(L'>');
    tail = tail == std::wstring::npos ? 0 : tail + 1;
    for (size_t i = tail; i < text.size();)
    {
        if (text[i] != L'<')
            i++;
        else if (i + 1 < text.size() && text[i + 1] == L'<')
            i += 2;
        else if (i + 1 == text.size())
        {
            text += L'<';
            i += 2;
        }
        else
            text.erase(i, 1);
    }
    std::wstring piece = L"<body>" + text + L"</body>";
    RECT savedArea = m_area;
    m_area = area;
    m_y = area.top;
    m_widthMax = 0;
    m_x = BeginLine(area.left);
    int firstLine = m_lineCounter;

    size_t p = 0, n = piece.size();
    while (p < n)
    {
        std::wstring run, tag;
        size_t lt = piece.find(L'<', p);
        if (lt == std::wstring::npos)
        {
            run = piece.substr(p);
            p = n;
        }
        else
        {
            run = piece.substr(p, lt - p);
            if (lt + 1 >= n || piece[lt + 1] == L'<')
            {
                run += L'<';
                p = lt + 2;
            }
            else
            {
                size_t gt = piece.find(L'>', lt + 1);
                if (gt == std::wstring::npos || gt == lt + 1)
                    p = lt + 1; // a stray "<" is dropped
                else
                {
                    tag = piece.substr(lt + 1, gt - lt - 1);
                    p = gt + 1;
                }
            }
        }
        if (!run.empty())
            PlaceText(Transform(run, m_style.textTransform));
        if (!tag.empty())
        {
            size_t s = tag.find_first_of(L" =");
            std::wstring name = tag.substr(0, s), attributes;
            if (s != std::wstring::npos)
            {
                size_t a = tag.find_first_not_of(L' ', s);
                if (a != std::wstring::npos)
                    attributes = tag.substr(a);
            }
            bool closing = !name.empty() && name[0] == L'/';
            if (closing)
                name.erase(0, 1);
            HandleTag(name, attributes, closing);
        }
    }
    if (m_x != m_lineStartX)
    {
        CurrentLine().wrapped = 0;
        NewLine(1, 0);
    }
    ::SetTextJustification(m_dc, 0, 0);

    SIZE size;
    size.cy = m_y - area.top;
    int width = m_widthMax;
    for (int i = firstLine; i < m_lineCounter && i < (int)m_lines.size(); i++)
    {
        const MarkupLine& l = m_lines[i];
        if (l.percent != 0)
        {
            int w = l.width + MulDiv(l.percent, width, 100);
            if (w >= width)
                width = w;
        }
    }
    size.cx = width;
    m_area = savedArea;
    return size;
}

MarkupLine& MarkupDrawer::CurrentLine()
{
    return m_line;
}

int MarkupDrawer::BeginLine(int x)
{
    int result = x;
    if (Measuring())
    {
        int wrapped = m_line.wrapped;
        m_line = MarkupLine();
        m_line.wrapped = wrapped;
        m_line.align = m_style.hAlign;
        // The record of the current line number; a line begun but never
        // ended by the previous piece is replaced.
        m_lines.resize(std::max(0, m_lineCounter));
        m_lines.push_back(m_line);
    }
    else
    {
        if (m_lineCounter >= 0 && m_lineCounter < (int)m_lines.size())
            m_line = m_lines[m_lineCounter];
        else
        {
            // Past the measured lines (a narrower drawing area): plain
            // left-aligned lines of the current font's height.
            m_line = MarkupLine();
            m_line.height = m_tm.tmHeight;
            m_line.descent = m_tm.tmDescent;
        }
        int A = m_area.right - m_area.left;
        int width = m_line.width;
        if (m_line.percent != 0)
            width += MulDiv(A, m_line.percent, 100);
        if (m_line.align == 3 && m_line.wrapped && m_line.blanks > 0 && A > width)
            ::SetTextJustification(m_dc, A - width, m_line.blanks);
        else
            ::SetTextJustification(m_dc, 0, 0);
        m_drawRemainWidth = m_line.width;
        m_drawRemainBlanks = m_line.blanks;
        if (m_line.align == 1)
            result = m_area.left + (A - width) / 2;
        else if (m_line.align == 2)
            result = m_area.left + A - width;
    }
    m_lineStartX = result;
    return result;
}

void MarkupDrawer::NewLine(int count, int wrapped)
{
    if (Measuring())
    {
        if (m_line.height == 0)
            m_line.height = m_tm.tmHeight;
        m_widthMax = std::max(m_widthMax, (int)(m_x - m_area.left));
        m_line.width = m_x - m_area.left;
        m_line.height += m_line.descent;
        m_line.wrapped = wrapped;
        if (m_lineCounter >= (int)m_lines.size())
            m_lines.resize(m_lineCounter + 1);
        m_lines[m_lineCounter] = m_line;
    }
    m_lineCounter++;
    m_y += std::max(1, count) * m_line.height;
    m_x = BeginLine(m_area.left);
}

int MarkupDrawer::TextTop(int y, int textHeight)
{
    if (Measuring())
    {
        m_line.descent = std::max(m_line.descent, textHeight - (int)m_tm.tmAscent);
        m_line.height = std::max(m_line.height, (int)m_tm.tmAscent);
        return y;
    }
    int H = m_line.height, D = m_line.descent;
    switch (m_style.vAlign)
    {
    case 0:
        return y;
    case 1:
        return y + (H - m_tm.tmHeight) / 2;
    case 2:
        return y + H - m_tm.tmAscent;
    default:
        return y + H - m_tm.tmAscent - D;
    }
}

int MarkupDrawer::ImageTop(int y, int imageHeight)
{
    if (Measuring())
    {
        m_line.height = std::max(m_line.height, imageHeight);
        return y;
    }
    int H = m_line.height, D = m_line.descent;
    switch (m_style.vAlign)
    {
    case 0:
        return y;
    case 1:
        return y + (H - imageHeight) / 2;
    case 2:
        return y + H - imageHeight;
    default:
        return y + H - D - imageHeight;
    }
}

void MarkupDrawer::PlaceText(std::wstring run)
{
    while (!run.empty())
    {
        ::SetTextJustification(m_dc, 0, 0);
        SIZE whole = TextExtent(m_dc, run);
        int top = TextTop(m_y, whole.cy);
        int areaWidth = m_area.right - m_area.left;
        int room = areaWidth + m_area.left - m_x;
        std::wstring piece;
        int width;
        if (m_maxWidth > 0 && whole.cx > room && areaWidth != 0)
            piece = BreakText(run, areaWidth, room, &width);
        else
        {
            piece.swap(run);
            width = whole.cx;
        }
        if (Measuring())
        {
            m_line.align = m_style.hAlign;
            m_line.blanks += CountBlanks(piece);
        }
        else if (width != 0)
        {
            int R = m_drawRemainWidth, B = m_drawRemainBlanks;
            if (width == R && !piece.empty() && piece.back() == L' ')
            {
                size_t e = piece.find_last_not_of(L' ');
                piece.erase(e == std::wstring::npos ? 0 : e + 1);
                int trimmed = TextExtent(m_dc, piece).cx;
                R -= width - trimmed;
                width = trimmed;
                B = CountBlanks(piece);
            }
            if (m_line.align == 3 && m_line.wrapped && B > 0 && room - R > 0)
                ::SetTextJustification(m_dc, room - R, B);
            R -= width;
            SIZE drawn = TextExtent(m_dc, piece);
            width = drawn.cx;
            AddHotArea(RECT{m_x, top, m_x + width, top + whole.cy});
            if (!piece.empty())
                ::TextOutW(m_dc, m_x, top, piece.c_str(), (int)piece.size());
            B -= CountBlanks(piece);
            if (m_style.overline)
            {
                HPEN pen = ::CreatePen(PS_SOLID, m_style.fontWeight >= 700 ? 2 : 1, m_style.textColor);
                HGDIOBJ old = ::SelectObject(m_dc, pen);
                ::MoveToEx(m_dc, m_x, top, NULL);
                ::LineTo(m_dc, m_x + width, top);
                ::SelectObject(m_dc, old);
                ::DeleteObject(pen);
            }
            m_drawRemainWidth = R;
            m_drawRemainBlanks = B;
        }
        m_x += width;
        if (!run.empty())
        {
            m_line.wrapped = 1;
            NewLine(1, 1);
        }
    }
}

std::wstring MarkupDrawer::BreakText(std::wstring& run, int areaWidth, int room, int* pieceWidth)
{
    std::wstring piece;
    int chosen = -1;
    if (room >= 0)
    {
        for (size_t i = 1; i < run.size(); i++)
        {
            if (!IsBreakChar(run[i]))
                continue;
            if (TextExtent(m_dc, run.substr(0, i)).cx > room)
                break;
            chosen = (int)i;
        }
    }
    if (chosen >= 0)
    {
        piece = run.substr(0, chosen + 1);
        size_t e = piece.find_last_not_of(L' ');
        piece.erase(e == std::wstring::npos ? 0 : e + 1);
        size_t s = run.find_first_not_of(L' ', chosen + 1);
        run = s == std::wstring::npos ? std::wstring() : run.substr(s);
        *pieceWidth = TextExtent(m_dc, piece).cx;
        return piece;
    }
    // An empty line (also in the drawing pass, where an aligned line does not
    // start at the area's left) takes at least one character, so a word wider
    // than the area cannot stall the layout.
    if (room == areaWidth || m_x == m_lineStartX)
    {
        size_t k = 1;
        while (k < run.size() && TextExtent(m_dc, run.substr(0, k + 1)).cx <= room)
            k++;
        piece = run.substr(0, k);
        run.erase(0, k);
        *pieceWidth = TextExtent(m_dc, piece).cx;
        return piece;
    }
    *pieceWidth = 0;
    return piece;
}

void MarkupDrawer::LayOutRule(const std::wstring& attributes)
{
    MarkupStyle st = m_style;
    st.borderWidth = 1;
    ApplyStyleRule(L"hr", st);
    COLORREF color = StyleColor(st.textColor);
    int thickness = st.borderWidth;
    int width = 100;
    bool percent = true;
    for (const auto& a : ParseMarkupAttributes(attributes))
    {
        if (a.first == L"width")
        {
            percent = !a.second.empty() && a.second.back() == L'%';
            width = ParseLength(a.second, 100, false);
        }
        else if (a.first == L"size")
            thickness = ParseLength(a.second, thickness, false);
        else if (a.first == L"color")
            color = StyleColor(ParseColor(a.second, color));
    }
    thickness = std::max(0, std::min(thickness, 100));
    width = std::max(0, std::min(width, 100000));
    int areaWidth = m_area.right - m_area.left;
    int drawn;
    if (Measuring())
    {
        drawn = percent ? 1 : width;
        if (percent)
            m_line.percent += width;
        m_line.height = std::max(m_line.height, thickness + 8);
        m_line.align = m_style.hAlign;
    }
    else
    {
        drawn = percent ? MulDiv(areaWidth, width, 100) : width;
        int mid = m_y + m_line.height / 2;
        CEffectPainter::DrawLine(m_dc, m_x, mid, m_x + drawn, mid, color, 1, thickness);
    }
    m_x += drawn;
}

void MarkupDrawer::NextTabStop(int count)
{
    int tab = m_tabWidth > 0 ? m_tabWidth : 32;
    count = std::max(1, count);
    int off = m_x - m_area.left;
    if (off % tab != 0)
    {
        m_x = m_area.left + (off / tab + (off > 0 ? 1 : 0)) * tab;
        count--;
    }
    m_x += count * tab;
}

// ---------------------------------------------------------------------------
// Hot areas and the mouse

void MarkupDrawer::AddHotArea(const RECT& rect)
{
    if (Measuring() || m_style.linkKind == 0)
        return;
    m_hotAreas.push_back(HotArea{rect, m_style.linkKind, m_linkCounter, m_style.linkTarget});
}

int MarkupDrawer::HitTest(POINT pt) const
{
    for (size_t i = 0; i < m_hotAreas.size(); i++)
    {
        const RECT& r = m_hotAreas[i].rect;
        if (pt.x >= r.left && pt.x <= r.right && pt.y >= r.top && pt.y <= r.bottom)
            return (int)i;
    }
    return -1;
}

void MarkupDrawer::SetHoverNotify(HWND hWnd, UINT message, LPARAM lParam)
{
    m_hoverWnd = hWnd;
    m_hoverMsg = hWnd ? message : 0;
    m_hoverParam = hWnd ? lParam : 0;
}

void MarkupDrawer::SetMessageLink(HWND hWnd, UINT message, LPARAM lParam)
{
    m_linkWnd = hWnd;
    m_linkMsg = hWnd ? message : 0;
    m_linkParam = hWnd ? lParam : 0;
}

bool MarkupDrawer::UpdateHover(POINT pt)
{
    int i = HitTest(pt);
    if (i >= 0)
    {
        const HotArea& area = m_hotAreas[i];
        if (area.number != m_hoveredLink)
        {
            m_hoveredLink = area.number;
            if (m_hoverWnd != NULL && m_hoverMsg != 0)
                ::SendMessageW(m_hoverWnd, m_hoverMsg, (WPARAM)m_hoveredLink, m_hoverParam);
        }
        if (i < (int)m_hotAreas.size() && !m_hotAreas[i].target.empty() && m_handCursor != NULL)
        {
            ::SetCursor(m_handCursor);
            return true;
        }
        return false;
    }
    if (m_hoveredLink != -2)
    {
        m_hoveredLink = -2;
        if (m_hoverWnd != NULL && m_hoverMsg != 0)
            ::SendMessageW(m_hoverWnd, m_hoverMsg, (WPARAM)-2, m_hoverParam);
    }
    return false;
}

void MarkupDrawer::Click(POINT pt)
{
    int i = HitTest(pt);
    if (i >= 0)
        ActivateLink(i);
}

// ---------------------------------------------------------------------------
// Tables

size_t MarkupDrawer::FindTableEnd(const std::wstring& text, size_t pos)
{
    int depth = 1;
    size_t i = pos + 7;
    while (i < text.size())
    {
        size_t open = FindTag(text, L"table", i), close = FindTag(text, L"/table", i);
        if (close == std::wstring::npos)
            return text.size();
        if (open != std::wstring::npos && open < close)
        {
            depth++;
            i = open + 6;
            continue;
        }
        if (--depth == 0)
            return close;
        i = close + 7;
    }
    return text.size();
}

size_t MarkupDrawer::FindRowEnd(const std::wstring& text, size_t pos)
{
    int depth = 1;
    size_t i = pos + 1;
    while (i < text.size())
    {
        size_t table = FindTag(text, L"table", i), open = FindTag(text, L"tr", i),
               close = FindTag(text, L"/tr", i);
        if (close == std::wstring::npos)
            return text.size();
        if (table != std::wstring::npos && table < close && (open == std::wstring::npos || table < open))
        {
            i = FindTableEnd(text, table + 6);
            if (i >= text.size())
                return text.size();
            i += 7;
            continue;
        }
        if (open != std::wstring::npos && open < close)
        {
            depth++;
            i = open + 3;
            continue;
        }
        if (--depth == 0)
            return close;
        i = close + 4;
    }
    return text.size();
}

size_t MarkupDrawer::FindCellEnd(const std::wstring& text, size_t pos)
{
    size_t i = pos + 1;
    while (i < text.size())
    {
        size_t table = FindTag(text, L"table", i), close = FindTag(text, L"/td", i);
        if (close == std::wstring::npos)
            return text.size();
        if (table != std::wstring::npos && table < close)
        {
            i = FindTableEnd(text, table + 6);
            if (i >= text.size())
                return text.size();
            i += 7;
            continue;
        }
        return close;
    }
    return text.size();
}

void MarkupDrawer::CountTable(const std::wstring& text, int* columns, int* rows)
{
    int cols = 0, nrows = 0;
    size_t pos = 1;
    while (true)
    {
        size_t tr = FindTag(text, L"tr", pos);
        if (tr == std::wstring::npos)
            break;
        size_t rowEnd = FindRowEnd(text, tr);
        nrows++;
        int width = 0;
        size_t c = tr + 3;
        while (true)
        {
            size_t td = FindTag(text, L"td", c);
            if (td == std::wstring::npos || td >= rowEnd)
                break;
            int span = 1;
            for (const auto& a : ParseMarkupAttributes(TagAttributes(text, td)))
                if (a.first == L"colspan")
                    span = ParseLength(a.second, span, false);
            width += std::max(1, std::min(span, 1000));
            c = FindCellEnd(text, td);
            if (c >= rowEnd)
                break;
        }
        cols = std::max(cols, width);
        if (rowEnd >= text.size())
            break;
        pos = rowEnd + 4;
    }
    *columns = std::min(cols, 1000);
    *rows = std::min(nrows, 1000);
}

void MarkupDrawer::ReadTableAttributes(const std::wstring& attributes, MarkupStyle& st, bool table,
                                       int* colspan, int* rowspan)
{
    int cs = 1, rs = 1;
    for (const auto& a : ParseMarkupAttributes(attributes))
    {
        const std::wstring& n = a.first;
        const std::wstring& v = a.second;
        if (table && n == L"cellpadding")
            st.margin = std::max(0, std::min(ParseLength(v, st.margin, false), 1000));
        else if (table && n == L"cellspacing")
            st.padding = std::max(0, std::min(ParseLength(v, st.padding, false), 1000));
        else if (table && n == L"background")
            st.bkImage = v;
        else if (n == L"rowspan")
            rs = ParseLength(v, rs, false);
        else if (n == L"colspan")
            cs = ParseLength(v, cs, false);
        else if (n == L"border")
            st.SetBorderWidth(ParseLength(v, st.borderWidth, false));
        else if (n == L"borderstyle")
            st.SetBorderStyle(ParseBorderStyle(v, st.borderStyle));
        else if (n == L"bordercolor")
            st.borderLight = st.borderDark = StyleColor(ParseColor(v, st.borderLight));
        else if (n == L"bordercolorlight")
            st.borderLight = StyleColor(ParseColor(v, st.borderLight));
        else if (n == L"bordercolordark")
            st.borderDark = StyleColor(ParseColor(v, st.borderDark));
        else if (n == L"bgcolor")
        {
            if (m_enabled)
            {
                st.bkColor = ParseColor(v, st.bkColor);
                if (st.bkEffect == -1)
                    st.bkEffect = 0;
            }
        }
        else if (n == L"bgmidcolor")
        {
            if (m_enabled)
                st.bkMidColor = ParseColor(v, st.bkMidColor);
        }
        else if (n == L"bgendcolor")
        {
            if (m_enabled)
                st.bkEndColor = ParseColor(v, st.bkEndColor);
        }
        else if (n == L"bgeffect")
        {
            if (m_enabled)
                st.bkEffect = ParseBkEffect(v, st.bkEffect);
        }
        else if (n == L"align")
            st.hAlign = ParseHAlign(v, st.hAlign);
        else if (n == L"valign")
            st.vAlign = ParseVAlign(v, st.vAlign);
        else if (n == L"width")
            st.width = std::max(0, std::min(ParseLength(v, st.width, false), 32767));
        else if (n == L"height")
            st.height = std::max(0, std::min(ParseLength(v, st.height, false), 32767));
    }
    if (st.borderStyle == 0 || st.borderWidth == 0)
        st.borderStyle = st.borderWidth = 0;
    if (st.borderStyle != 0 && st.borderStyle != 1)
        st.borderWidth = 1;
    if (!table && st.borderWidth != 0)
        st.borderWidth = 1;
    if (colspan)
        *colspan = std::max(1, std::min(cs, 1000));
    if (rowspan)
        *rowspan = std::max(1, std::min(rs, 1000));
}

SIZE MarkupDrawer::LayOutTable(const std::wstring& text, RECT area)
{
    SIZE size = {0, 0};
    // Tables nested beyond this depth occupy no room in either pass, which
    // keeps the table counter of both passes in step.
    if (m_tableDepth >= kMaxTableDepth)
        return size;
    m_tableDepth++;
    m_tableCounter++;
    if (Measuring())
    {
        TableLayout t;
        CountTable(text, &t.columns, &t.rows);
        t.cells.assign((size_t)t.columns * t.rows, TableCell());
        t.columnWidths.assign(t.columns, 0);
        t.rowHeights.assign(t.rows, 0);
        t.columnFixed.assign(t.columns, 0);
        m_tables.push_back(t);
    }
    if (m_tableCounter >= (int)m_tables.size())
    {
        m_tableDepth--;
        return size;
    }
    int index = m_tableCounter;
    TableLayout table = m_tables[index];
    int cols = table.columns, rows = table.rows;

    m_style.name = L"table";
    PushOrPopStyle(false);
    ApplyStyleRule(L"table", m_style);
    ReadTableAttributes(TagAttributes(text, 0), m_style, true, NULL, NULL);
    SelectStyle();
    int S = m_style.padding;
    bool dbl = m_style.borderStyle == 6;
    int bw = m_style.borderWidth;

    RECT inner = area;
    if (!Measuring())
    {
        long long C = S + (cols - 1), bottom = area.top + S + (rows - 1);
        for (int c = 0; c < cols; c++)
            C += S + table.columnWidths[c];
        for (int r = 0; r < rows; r++)
            bottom += S + table.rowHeights[r];
        int border = dbl ? 6 : 2 * bw;
        C += border;
        bottom += border;
        int A = area.right - area.left;
        int left = area.left;
        if (C < A)
        {
            int n = 0;
            for (int c = 0; c < cols; c++)
                n += table.columnFixed[c] == 0;
            long long D = A - C;
            for (int c = 0; c < cols && n > 0; c++)
            {
                if (table.columnFixed[c])
                    continue;
                int add = (int)(D / n);
                table.columnWidths[c] += add;
                C += add;
                D -= add;
                n--;
            }
            if (C < A)
            {
                if (m_style.hAlign == 1)
                    left += (int)((A - C) / 2);
                else if (m_style.hAlign == 2)
                    left = area.right - (int)C;
            }
        }
        RECT rc = {left, area.top, (int)std::min<long long>(left + C, 0x3FFFFFFF),
                   (int)std::min<long long>(bottom, 0x3FFFFFFF)};
        if (m_style.bkEffect >= 0)
            m_painter.FillEffect(m_dc, m_style.bkEffect, rc, m_style.bkColor, m_style.bkMidColor,
                                 m_style.bkEndColor, 5, 0);
        else if (!m_style.bkImage.empty())
            DrawBackgroundImage(m_dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                                m_style.bkImage);
        if (bw > 0)
            CEffectPainter::DrawFrameRect(m_dc, rc, StyleColor(m_style.borderLight),
                                          StyleColor(m_style.borderDark), m_style.borderStyle, bw);
        int shrink = dbl ? 3 : bw;
        inner = RECT{rc.left + shrink, rc.top + shrink, rc.right - shrink, rc.bottom - shrink};
        size.cx = rc.right - rc.left;
        size.cy = rc.bottom - rc.top;
    }

    if (rows > 0 && cols > 0)
    {
        size_t pos = 1;
        for (int i = 0; i < rows; i++)
        {
            size_t tr = FindTag(text, L"tr", pos);
            if (tr == std::wstring::npos)
                continue;
            size_t end = FindRowEnd(text, tr);
            LayOutRow(text.substr(tr, end - tr), inner, table, i);
            pos = end + 5;
            if (pos >= text.size())
                pos = text.size();
        }
    }

    if (Measuring())
    {
        for (int s = 1; s <= cols; s++)
            for (int r = 0; r < rows; r++)
                for (int c = 0; c < cols; c++)
                {
                    TableCell& cell = table.Cell(r, c);
                    if (cell.colspan != s)
                        continue;
                    if (s == 1)
                    {
                        table.columnWidths[c] = std::max(table.columnWidths[c], cell.outerWidth);
                        if (cell.fixedWidth)
                            table.columnFixed[c] = 1;
                        continue;
                    }
                    int last = std::min(cols, c + s);
                    long long sum = 0;
                    for (int k = c; k < last; k++)
                    {
                        sum += table.columnWidths[k];
                        if (cell.fixedWidth)
                            table.columnFixed[k] = 1;
                    }
                    if (sum < cell.outerWidth)
                    {
                        int shortfall = (int)(cell.outerWidth - sum);
                        for (int k = c; k < last; k++)
                            table.columnWidths[k] += shortfall / s;
                        table.columnWidths[last - 1] += shortfall % s;
                    }
                }
        for (int s = 1; s <= rows; s++)
            for (int r = 0; r < rows; r++)
                for (int c = 0; c < cols; c++)
                {
                    TableCell& cell = table.Cell(r, c);
                    if (cell.rowspan != s)
                        continue;
                    if (s == 1)
                    {
                        table.rowHeights[r] = std::max(table.rowHeights[r], cell.outerHeight);
                        continue;
                    }
                    int last = std::min(rows, r + s);
                    long long sum = 0;
                    for (int k = r; k < last; k++)
                        sum += table.rowHeights[k];
                    if (sum < cell.outerHeight)
                    {
                        int shortfall = (int)(cell.outerHeight - sum);
                        for (int k = r; k < last; k++)
                            table.rowHeights[k] += shortfall / s;
                        table.rowHeights[r] += shortfall % s;
                    }
                }
        long long w = S + (cols - 1), h = S + (rows - 1);
        for (int c = 0; c < cols; c++)
            w += S + table.columnWidths[c];
        for (int r = 0; r < rows; r++)
            h += S + table.rowHeights[r];
        int border = 2 * bw * (dbl ? 3 : 1);
        size.cx = (int)std::min<long long>(w + border, 0x3FFFFFFF);
        size.cy = (int)std::min<long long>(h + border, 0x3FFFFFFF);
        m_tables[index] = table;
    }

    m_style.name = L"table";
    if (PushOrPopStyle(true))
        SelectStyle();
    m_tableDepth--;
    return size;
}

void MarkupDrawer::LayOutRow(const std::wstring& text, const RECT& inner, TableLayout& table, int row)
{
    m_style.name = L"tr";
    PushOrPopStyle(false);
    ApplyStyleRule(L"tr", m_style);
    ReadTableAttributes(TagAttributes(text, 0), m_style, false, NULL, NULL);
    SelectStyle();
    int cols = table.columns, S = m_style.padding;
    int k = 0;
    size_t pos = 1;
    while (true)
    {
        size_t td = FindTag(text, L"td", pos);
        size_t nextRow = FindTag(text, L"tr", pos);
        if (td == std::wstring::npos || (nextRow != std::wstring::npos && nextRow < td))
            break;
        while (k < cols && table.Cell(row, k).colspan == -1)
            k++;
        if (k >= cols)
            break; // cells past the last column have no slot
        size_t end = FindCellEnd(text, td);
        TableCell& cell = table.Cell(row, k);
        RECT rc = {0, 0, 0, 0};
        if (!Measuring())
        {
            int cs = std::max(1, std::min(cell.colspan, cols - k));
            int rs = std::max(1, std::min(cell.rowspan, table.rows - row));
            long long left = inner.left + S, top = inner.top + S;
            for (int c = 0; c < k; c++)
                left += S + table.columnWidths[c] + 1;
            for (int r = 0; r < row; r++)
                top += table.rowHeights[r] + S + 1;
            long long right = left + (long long)(cs - 1) * (S + 1),
                      bottom = top + (long long)(rs - 1) * (S + 1);
            for (int c = k; c < k + cs; c++)
                right += table.columnWidths[c];
            for (int r = row; r < row + rs; r++)
                bottom += table.rowHeights[r];
            rc = RECT{(int)left, (int)top, (int)right, (int)bottom};
        }
        else
            rc = RECT{inner.left, inner.top, inner.left, inner.top};
        LayOutCell(text.substr(td, end - td), rc, cell);
        int cs = std::max(1, cell.colspan);
        if (Measuring())
        {
            // Covered slots stay inside the grid: spans past the last column
            // or row are cut there.
            int rs = std::max(1, cell.rowspan);
            cell.colspan = std::min(cs, cols - k);
            cell.rowspan = std::min(rs, table.rows - row);
            for (int c = k + 1; c < k + cell.colspan; c++)
                table.Cell(row, c).colspan = table.Cell(row, c).rowspan = -1;
            for (int r = row + 1; r < row + cell.rowspan; r++)
                table.Cell(r, k).colspan = table.Cell(r, k).rowspan = -1;
            cs = cell.colspan;
        }
        k += cs;
        if (end >= text.size())
            break;
        pos = end + 4;
    }
    m_style.name = L"tr";
    if (PushOrPopStyle(true))
        SelectStyle();
}

void MarkupDrawer::LayOutCell(const std::wstring& text, RECT rect, TableCell& cell)
{
    if (Measuring())
        cell.contentWidth = cell.contentHeight = 0;
    m_style.name = L"td";
    PushOrPopStyle(false);
    ApplyStyleRule(L"td", m_style);
    m_style.width = m_style.height = 0;
    int colspan = 1, rowspan = 1;
    ReadTableAttributes(TagAttributes(text, 0), m_style, false, &colspan, &rowspan);
    SelectStyle();
    int margin = m_style.margin, bw = m_style.borderWidth;
    RECT work = rect;
    if (Measuring())
    {
        cell.colspan = colspan;
        cell.rowspan = rowspan;
        cell.contentWidth = m_style.width;
        cell.contentHeight = 0;
        cell.fixedWidth = m_style.width > 0;
        work = RECT{rect.left, rect.top, rect.left + m_style.width, rect.top};
    }
    else
    {
        if (m_style.bkEffect >= 0)
            m_painter.FillEffect(m_dc, m_style.bkEffect, rect, m_style.bkColor, m_style.bkMidColor,
                                 m_style.bkEndColor, 5, 0);
        if (bw > 0)
            CEffectPainter::DrawFrameRect(m_dc, rect, StyleColor(m_style.borderLight),
                                          StyleColor(m_style.borderDark), m_style.borderStyle, 1);
        int in = margin + bw;
        work = RECT{rect.left + in, rect.top + in, rect.right - in, rect.bottom - in};
        int h = work.bottom - work.top;
        if (m_style.vAlign == 1)
            work.top += (h - cell.contentHeight) / 2;
        else if (m_style.vAlign == 2)
            work.top = work.bottom - cell.contentHeight;
    }

    size_t pos = AfterTag(text, 0);
    while (pos < text.size())
    {
        size_t td = FindTag(text, L"td", pos), table = FindTag(text, L"table", pos);
        size_t stop = std::min(td, table);
        if (stop == std::wstring::npos)
            stop = text.size();
        if (stop > pos)
        {
            SIZE s = LayOutText(text.substr(pos, stop - pos), work);
            if (Measuring())
            {
                cell.contentWidth = std::max(cell.contentWidth, (int)s.cx);
                cell.contentHeight += s.cy;
            }
            work.top += s.cy;
        }
        if (stop == text.size() || stop == td)
            break;
        size_t end = FindTableEnd(text, table + 6);
        SIZE s = LayOutTable(text.substr(table, end - table), work);
        if (Measuring())
        {
            cell.contentWidth = std::max(cell.contentWidth, (int)s.cx);
            cell.contentHeight += s.cy;
        }
        work.top += s.cy;
        pos = std::max(end, table + 1);
    }

    if (Measuring())
    {
        // The margins and borders surround the content as well as a given
        // width, so content never runs over the cell's border.
        int frame = 2 * margin + 2 * bw;
        cell.outerWidth = std::max(cell.contentWidth, m_style.width) + frame;
        cell.outerHeight = std::max(cell.contentHeight, m_style.height) + frame;
    }
    m_style.name = L"td";
    if (PushOrPopStyle(true))
        SelectStyle();
}
