#include "DrawMarkupText.h"
#include "Framework.h"
#include <algorithm>
#include <string>
#include <vector>

namespace
{
struct InlineStyle
{
    std::wstring tag;
    bool bold, italic, underline;
    COLORREF color;
    int script; // 0 normal, 1 sub, 2 sup
};

struct Segment
{
    std::wstring text;
    InlineStyle style;
    int width = 0, height = 0, ascent = 0;
};

struct Line
{
    std::vector<Segment> segments;
    int width = 0, height = 0, ascent = 0;
};

COLORREF ParseInlineColor(const std::wstring& v, COLORREF def)
{
    static const struct
    {
        const wchar_t* name;
        COLORREF color;
    } names[] = {
        {L"black", RGB(0, 0, 0)},      {L"white", RGB(255, 255, 255)}, {L"red", RGB(255, 0, 0)},
        {L"green", RGB(0, 128, 0)},    {L"blue", RGB(0, 0, 255)},      {L"gray", RGB(128, 128, 128)},
        {L"yellow", RGB(255, 255, 0)}, {L"orange", RGB(255, 165, 0)},  {L"navy", RGB(0, 0, 128)},
        {L"maroon", RGB(128, 0, 0)},   {L"purple", RGB(128, 0, 128)},  {L"silver", RGB(192, 192, 192)}};
    if (v.size() == 7 && v[0] == L'#')
    {
        wchar_t* end = NULL;
        unsigned long rgb = wcstoul(v.c_str() + 1, &end, 16);
        if (end != NULL && *end == 0)
            return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        return def;
    }
    for (const auto& n : names)
        if (_wcsicmp(v.c_str(), n.name) == 0)
            return n.color;
    return def;
}

std::wstring ReadColorAttribute(const std::wstring& attributes)
{
    size_t p = attributes.find(L"color");
    if (p == std::wstring::npos)
        return std::wstring();
    p = attributes.find(L'=', p);
    if (p == std::wstring::npos)
        return std::wstring();
    p = attributes.find_first_not_of(L" ", p + 1);
    if (p == std::wstring::npos)
        return std::wstring();
    if (attributes[p] == L'"' || attributes[p] == L'\'')
    {
        size_t e = attributes.find(attributes[p], p + 1);
        return attributes.substr(p + 1, e == std::wstring::npos ? std::wstring::npos : e - p - 1);
    }
    size_t e = attributes.find(L' ', p);
    return attributes.substr(p, e == std::wstring::npos ? std::wstring::npos : e - p);
}

std::wstring LowerCase(std::wstring s)
{
    for (auto& c : s)
        c = (wchar_t)towlower(c);
    return s;
}

void ReplaceEntities(std::wstring& s)
{
    static const wchar_t* const pairs[][2] = {
        {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&nbsp;", L" "}, {L"&amp;", L"&"}};
    for (const auto& p : pairs)
    {
        std::wstring from = p[0], to = p[1];
        for (size_t i = s.find(from); i != std::wstring::npos; i = s.find(from, i + to.size()))
            s.replace(i, from.size(), to);
    }
}

class FontCache
{
  public:
    explicit FontCache(const LOGFONTW& base) : m_base(base) {}
    ~FontCache()
    {
        for (auto& f : m_fonts)
            ::DeleteObject(f.second);
    }
    HFONT Get(const InlineStyle& st)
    {
        int key = (st.bold ? 1 : 0) | (st.italic ? 2 : 0) | (st.underline ? 4 : 0) | (st.script << 3);
        for (auto& f : m_fonts)
            if (f.first == key)
                return f.second;
        LOGFONTW lf = m_base;
        if (st.bold)
            lf.lfWeight = std::max<LONG>(lf.lfWeight, FW_BOLD);
        if (st.italic)
            lf.lfItalic = TRUE;
        if (st.underline)
            lf.lfUnderline = TRUE;
        if (st.script != 0)
            lf.lfHeight = lf.lfHeight * 2 / 3;
        HFONT h = ::CreateFontIndirectW(&lf);
        m_fonts.push_back({key, h});
        return h;
    }

  private:
    LOGFONTW m_base;
    std::vector<std::pair<int, HFONT>> m_fonts;
};
// The lines of a text as the tags style them; a new line at each LF (unless
// single-line), "br" and a "p" that does not open the line.
class LineBuilder
{
  public:
    explicit LineBuilder(bool singleLine) : m_single(singleLine), m_lines(1) {}

    void AddText(std::wstring run, const InlineStyle& style)
    {
        ReplaceEntities(run);
        for (auto& c : run)
            if (c == L'\r' || c == L'\t')
                c = L' ';
        size_t s = 0;
        while (s <= run.size())
        {
            size_t nl = m_single ? std::wstring::npos : run.find(L'\n', s);
            std::wstring part = run.substr(s, nl == std::wstring::npos ? std::wstring::npos : nl - s);
            if (m_single)
                std::replace(part.begin(), part.end(), L'\n', L' ');
            if (!part.empty())
                m_lines.back().segments.push_back(Segment{part, style});
            if (nl == std::wstring::npos)
                break;
            m_lines.emplace_back();
            s = nl + 1;
        }
    }
    void BreakLine(bool paragraph)
    {
        if (!m_single && (!paragraph || !m_lines.back().segments.empty()))
            m_lines.emplace_back();
    }
    std::vector<Line>& Lines() { return m_lines; }

  private:
    bool m_single;
    std::vector<Line> m_lines;
};

// The style stack of the inline tags: an opening tag saves the style and
// changes it; its closing tag restores what was saved (and drops what was
// opened after it).
class InlineStyles
{
  public:
    explicit InlineStyles(COLORREF textColor) : m_style{L"", false, false, false, textColor, 0} {}

    const InlineStyle& Current() const { return m_style; }

    static bool IsStyleTag(const std::wstring& name)
    {
        return name == L"b" || name == L"strong" || name == L"i" || name == L"em" || name == L"u" ||
               name == L"font" || name == L"sub" || name == L"sup";
    }
    void Open(const std::wstring& name, const std::wstring& attributes)
    {
        if (m_stack.size() >= kMaxDepth)
            return;
        InlineStyle saved = m_style;
        saved.tag = name;
        m_stack.push_back(saved);
        if (name == L"b" || name == L"strong")
            m_style.bold = true;
        else if (name == L"i" || name == L"em")
            m_style.italic = true;
        else if (name == L"u")
            m_style.underline = true;
        else if (name == L"sub")
            m_style.script = 1;
        else if (name == L"sup")
            m_style.script = 2;
        else if (name == L"font")
            m_style.color = ParseInlineColor(ReadColorAttribute(attributes), m_style.color);
    }
    void Close(const std::wstring& name)
    {
        for (size_t i = m_stack.size(); i-- > 0;)
            if (m_stack[i].tag == name)
            {
                m_style = m_stack[i];
                m_style.tag.clear();
                m_stack.resize(i);
                return;
            }
    }

  private:
    static const size_t kMaxDepth = 64;
    InlineStyle m_style;
    std::vector<InlineStyle> m_stack;
};

// Cuts the text into lines of styled segments; unknown tags are dropped, an
// unterminated "<" is kept as text.
std::vector<Line> ParseLines(const std::wstring& source, COLORREF textColor, bool singleLine)
{
    LineBuilder builder(singleLine);
    InlineStyles styles(textColor);
    size_t p = 0;
    while (p < source.size())
    {
        size_t lt = source.find(L'<', p);
        size_t gt = lt == std::wstring::npos ? std::wstring::npos : source.find(L'>', lt);
        if (lt == std::wstring::npos || gt == std::wstring::npos)
        {
            builder.AddText(source.substr(p), styles.Current());
            break;
        }
        builder.AddText(source.substr(p, lt - p), styles.Current());
        std::wstring tag = source.substr(lt + 1, gt - lt - 1);
        p = gt + 1;
        bool closing = !tag.empty() && tag[0] == L'/';
        if (closing)
            tag.erase(0, 1);
        size_t sp = tag.find_first_of(L" \t/");
        std::wstring name = LowerCase(tag.substr(0, sp));
        if (name == L"br" || name == L"p")
            builder.BreakLine(name == L"p");
        else if (InlineStyles::IsStyleTag(name) && closing)
            styles.Close(name);
        else if (InlineStyles::IsStyleTag(name))
            styles.Open(name, sp == std::wstring::npos ? std::wstring() : tag.substr(sp));
    }
    return std::move(builder.Lines());
}

// Sizes every segment in its font; gives the height of all lines and the
// widest line.
void MeasureLines(HDC hDC, FontCache& fonts, std::vector<Line>& lines, int& total, int& widest)
{
    total = widest = 0;
    TEXTMETRICW baseTm;
    ::GetTextMetricsW(hDC, &baseTm);
    for (auto& line : lines)
    {
        line.height = baseTm.tmHeight;
        line.ascent = baseTm.tmAscent;
        for (auto& seg : line.segments)
        {
            ::SelectObject(hDC, fonts.Get(seg.style));
            SIZE sz = {0, 0};
            ::GetTextExtentPoint32W(hDC, seg.text.c_str(), (int)seg.text.size(), &sz);
            TEXTMETRICW tm;
            ::GetTextMetricsW(hDC, &tm);
            seg.width = sz.cx;
            seg.height = tm.tmHeight;
            seg.ascent = tm.tmAscent;
            line.width += sz.cx;
            line.ascent = std::max<int>(line.ascent, tm.tmAscent);
        }
        total += line.height;
        widest = std::max(widest, line.width);
    }
}

// Cuts a line wider than the area and ends it with "...": the last segment
// is shortened, or dropped when not one of its characters fits.
void CutWithEllipsis(HDC hDC, FontCache& fonts, Line& line, int areaWidth)
{
    while (!line.segments.empty())
    {
        Segment& last = line.segments.back();
        ::SelectObject(hDC, fonts.Get(last.style));
        SIZE dots = {0, 0};
        ::GetTextExtentPoint32W(hDC, L"...", 3, &dots);
        int before = line.width - last.width;
        int room = areaWidth - before - dots.cx;
        int fit = 0;
        SIZE full = {0, 0};
        ::GetTextExtentExPointW(hDC, last.text.c_str(), (int)last.text.size(), std::max(room, 0), &fit, NULL,
                                &full);
        if (room > 0 && fit > 0)
        {
            last.text = last.text.substr(0, (size_t)fit) + L"...";
            SIZE sz = {0, 0};
            ::GetTextExtentPoint32W(hDC, last.text.c_str(), (int)last.text.size(), &sz);
            line.width = before + sz.cx;
            last.width = sz.cx;
            return;
        }
        InlineStyle style = last.style;
        line.width = before;
        line.segments.pop_back();
        if (line.segments.empty() || line.width + dots.cx <= areaWidth)
        {
            line.segments.push_back(Segment{L"...", style});
            line.segments.back().width = dots.cx;
            line.width += dots.cx;
            return;
        }
    }
}

// Draws the lines aligned in rect as the format asks, each segment in its
// font and colour, sub- and superscripts moved off the baseline.
void DrawLines(HDC hDC, FontCache& fonts, const std::vector<Line>& lines, const RECT& rect, UINT format, int total)
{
    int areaWidth = rect.right - rect.left;
    int y = rect.top;
    if (format & DT_VCENTER)
        y = rect.top + (rect.bottom - rect.top - total) / 2;
    else if (format & DT_BOTTOM)
        y = rect.bottom - total;
    if (!(format & DT_NOCLIP))
        ::IntersectClipRect(hDC, rect.left, rect.top, rect.right, rect.bottom);
    for (const auto& line : lines)
    {
        int x = rect.left;
        if (format & DT_CENTER)
            x += (areaWidth - line.width) / 2;
        else if (format & DT_RIGHT)
            x += areaWidth - line.width;
        for (const auto& seg : line.segments)
        {
            ::SelectObject(hDC, fonts.Get(seg.style));
            ::SetTextColor(hDC, seg.style.color);
            int top = y + line.ascent - seg.ascent;
            if (seg.style.script == 1)
                top += seg.height / 3;
            else if (seg.style.script == 2)
                top = y;
            ::TextOutW(hDC, x, top, seg.text.c_str(), (int)seg.text.size());
            x += seg.width;
        }
        y += line.height;
    }
}

// The context's font, or the GUI font when it has none.
LOGFONTW SelectedFont(HDC hDC)
{
    LOGFONTW base;
    HFONT current = (HFONT)::GetCurrentObject(hDC, OBJ_FONT);
    if (current == NULL || !::GetObjectW(current, sizeof(base), &base))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    return base;
}
} // namespace

int DrawMarkupText(CDC* pDC, LPCWSTR text, int length, LPRECT rect, UINT format)
{
    return DrawMarkupText(pDC ? pDC->GetSafeHdc() : NULL, text, length, rect, format);
}

int DrawMarkupText(HDC hDC, LPCWSTR text, int length, LPRECT rect, UINT format)
{
    if (hDC == NULL || text == NULL || rect == NULL)
        return 0;
    std::wstring source = length < 0 ? std::wstring(text) : std::wstring(text, (size_t)length);
    FontCache fonts(SelectedFont(hDC));
    std::vector<Line> lines = ParseLines(source, ::GetTextColor(hDC), (format & DT_SINGLELINE) != 0);

    // The context's state (font, colour, clip) is given back as it was.
    int saved = ::SaveDC(hDC);
    int total = 0, widest = 0;
    MeasureLines(hDC, fonts, lines, total, widest);
    if (format & DT_CALCRECT)
    {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
    }
    else
    {
        if (format & DT_END_ELLIPSIS)
            for (auto& line : lines)
                if (line.width > rect->right - rect->left)
                    CutWithEllipsis(hDC, fonts, line, rect->right - rect->left);
        DrawLines(hDC, fonts, lines, *rect, format, total);
    }
    ::RestoreDC(hDC, saved);
    return total;
}
