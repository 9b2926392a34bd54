#include "DrawMarkupText.h"
#include "Framework.h"

#include <cwctype>

namespace
{
enum StyleBits
{
    STYLE_BOLD = 1,
    STYLE_ITALIC = 2,
    STYLE_UNDERLINE = 4,
    STYLE_SUPERSCRIPT = 8,
    STYLE_SUBSCRIPT = 16,
    STYLE_COUNT = 32
};

enum TagAction
{
    TAG_STYLE,
    TAG_LINE_BREAK,
    TAG_PARAGRAPH,
    TAG_COLOUR
};

struct TagRow
{
    const wchar_t* name;
    int length;
    TagAction action;
    int style;
    bool attributes;
};

// Searched from the last row to the first, so "br" wins over "b" and
// "strong" over nothing shorter.
const TagRow TagRows[] = {
    {L"b", 1, TAG_STYLE, STYLE_BOLD, false},         {L"br", 2, TAG_LINE_BREAK, 0, false},
    {L"font", 4, TAG_COLOUR, 0, true},               {L"em", 2, TAG_STYLE, STYLE_ITALIC, false},
    {L"i", 1, TAG_STYLE, STYLE_ITALIC, false},       {L"p", 1, TAG_PARAGRAPH, 0, false},
    {L"strong", 6, TAG_STYLE, STYLE_BOLD, false},    {L"sub", 3, TAG_STYLE, STYLE_SUBSCRIPT, false},
    {L"sup", 3, TAG_STYLE, STYLE_SUPERSCRIPT, false}, {L"u", 1, TAG_STYLE, STYLE_UNDERLINE, false},
};

// The colours saved by font tags. One store serves every call: a closing tag
// with nothing pushed in this call falls back to the first slot, which keeps
// the colour saved by the earliest push of the last call that pushed.
const int ColourDepth = 8;
COLORREF g_savedColours[ColourDepth];
int g_colourDepth = 0;

void PushColour(HDC hDC, COLORREF colour)
{
    if (g_colourDepth < ColourDepth)
        g_savedColours[g_colourDepth++] = ::GetTextColor(hDC);
    ::SetTextColor(hDC, colour);
}

bool PopColour(HDC hDC)
{
    if (g_colourDepth == 0)
    {
        ::SetTextColor(hDC, g_savedColours[0]);
        return false;
    }
    --g_colourDepth;
    ::SetTextColor(hDC, g_savedColours[g_colourDepth]);
    return true;
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return 0;
}

bool IsBlank(wchar_t c)
{
    return iswspace(c) != 0;
}

// One piece of the text: a word, or a tag with its row (null for a word).
struct Token
{
    int start = 0, end = 0; // [start, end) in the text
    const TagRow* row = nullptr;
    bool closing = false;
    bool precededByBlank = false;
};

class InlineTextDrawer
{
  public:
    InlineTextDrawer(HDC hDC, LPCWSTR text, int length, UINT format)
        : m_dc(hDC), m_text(text), m_length(length), m_format(format)
    {
    }

    int Draw(LPRECT rect);

  private:
    wchar_t At(int i) const { return i >= 0 && i < m_length ? m_text[i] : L'\0'; }
    bool NextToken(Token& token);
    bool MatchTag(Token& token);
    void ApplyTag(const Token& token, bool firstToken);
    void ReadFontColour(const Token& token);
    void SelectStyle();
    void DrawWord(const Token& token);

    HDC m_dc;
    LPCWSTR m_text;
    int m_length;
    UINT m_format;
    int m_pos = 0;
    bool m_blankCarried = false; // a tag preceded by white space hands it on

    RECT m_area = {};       // left and top where drawing starts, bottom of every word
    RECT m_given = {};      // the caller's rectangle
    int m_width = 0;        // usable width, widened by words that need it
    int m_lineHeight = 0;
    int m_referenceWidth = 0;
    int m_x = 0, m_y = 0, m_widest = 0;
    int m_style = 0;
    int m_selectedStyle = -1;
    int m_blankWidth = 0;
    HFONT m_fonts[STYLE_COUNT] = {};
    LOGFONTW m_baseFont = {};
};

bool InlineTextDrawer::MatchTag(Token& token)
{
    int p = token.start + 1;
    if (At(p) == L'/')
    {
        token.closing = true;
        ++p;
    }
    int nameEnd = p;
    while (nameEnd < m_length && !IsBlank(At(nameEnd)) && At(nameEnd) != L'<' && At(nameEnd) != L'>')
        ++nameEnd;
    for (int r = (int)(sizeof(TagRows) / sizeof(TagRows[0])) - 1; r >= 0; --r)
    {
        const TagRow& row = TagRows[r];
        if (p + row.length > m_length || _wcsnicmp(m_text + p, row.name, row.length) != 0)
            continue;
        if (!row.attributes && At(nameEnd) != L'>')
            return false; // "<b x>" is text
        int end = nameEnd;
        if (row.attributes && !token.closing)
            while (end < m_length && At(end) != L'>' && At(end) != L'<')
                ++end;
        if (At(end) == L'>')
            ++end;
        token.row = &row;
        token.end = end;
        return true;
    }
    return false;
}

bool InlineTextDrawer::NextToken(Token& token)
{
    for (;;)
    {
        bool blank = false;
        while (m_pos < m_length && IsBlank(m_text[m_pos]))
        {
            ++m_pos;
            blank = true;
        }
        if (m_pos >= m_length)
            return false;
        token = Token();
        token.start = m_pos;
        token.precededByBlank = blank || m_blankCarried;
        m_blankCarried = false;
        int p = m_pos;
        if (m_text[m_pos] == L'<')
        {
            if (MatchTag(token))
            {
                m_pos = token.end;
                return true;
            }
            // A candidate no row takes: an opening one is a word up to and
            // with its ">", a closing one is dropped.
            p = m_pos + 1;
            bool closing = At(p) == L'/';
            if (closing)
                ++p;
            while (p < m_length && !IsBlank(m_text[p]) && m_text[p] != L'<' && m_text[p] != L'>')
                ++p;
            if (At(p) == L'>')
                ++p;
            token.end = m_pos = p;
            if (!closing)
                return true;
            m_blankCarried = token.precededByBlank;
            continue;
        }
        while (p < m_length && !IsBlank(m_text[p]) && m_text[p] != L'<')
            ++p;
        token.end = m_pos = p;
        return true;
    }
}

void InlineTextDrawer::ReadFontColour(const Token& token)
{
    // Only "<font color=..." (one blank, then the attribute) sets a colour.
    static const wchar_t Prefix[] = L"color=";
    int attribute = token.start + 6;
    if (At(token.start + 5) != L' ' || attribute + 6 > token.end || _wcsnicmp(m_text + attribute, Prefix, 6) != 0)
        return;
    int p = attribute + 6;
    if (At(p) == L'\'' || At(p) == L'"')
        ++p;
    if (At(p) == L'#')
        ++p;
    int channels[3];
    for (int c = 0; c < 3; ++c, p += 2)
    {
        // Characters past the tag's end count as 0, as any non-digit does.
        int high = p < token.end ? HexValue(At(p)) : 0;
        int low = p + 1 < token.end ? HexValue(At(p + 1)) : 0;
        channels[c] = high * 16 + low;
    }
    PushColour(m_dc, RGB(channels[0], channels[1], channels[2]));
}

void InlineTextDrawer::ApplyTag(const Token& token, bool firstToken)
{
    const TagRow& row = *token.row;
    bool singleLine = (m_format & DT_SINGLELINE) != 0;
    switch (row.action)
    {
    case TAG_STYLE:
        if (token.closing)
            m_style &= ~row.style;
        else
            m_style |= row.style;
        break;
    case TAG_LINE_BREAK:
        if (!token.closing && !singleLine)
        {
            m_y += m_lineHeight;
            m_x = 0;
        }
        break;
    case TAG_PARAGRAPH:
        if (!token.closing && !singleLine && !firstToken)
        {
            m_y += m_lineHeight * 3 / 2;
            m_x = 0;
        }
        break;
    case TAG_COLOUR:
        if (token.closing)
            PopColour(m_dc);
        else
            ReadFontColour(token);
        break;
    }
    bool lineBreak = row.action == TAG_LINE_BREAK || row.action == TAG_PARAGRAPH;
    m_blankCarried = token.precededByBlank && !lineBreak;
    if (lineBreak || token.precededByBlank)
        while (m_pos < m_length && IsBlank(m_text[m_pos]))
            ++m_pos;
}

void InlineTextDrawer::SelectStyle()
{
    if (m_style == m_selectedStyle)
        return;
    if (!m_fonts[m_style])
    {
        LOGFONTW font = m_baseFont;
        font.lfWeight = (m_style & STYLE_BOLD) ? 700 : 400;
        font.lfItalic = (m_style & STYLE_ITALIC) ? TRUE : FALSE;
        font.lfUnderline = (m_style & STYLE_UNDERLINE) ? TRUE : FALSE;
        if (m_style & (STYLE_SUBSCRIPT | STYLE_SUPERSCRIPT))
            font.lfHeight = font.lfHeight * 7 / 10;
        m_fonts[m_style] = ::CreateFontIndirectW(&font);
    }
    if (m_fonts[m_style])
        ::SelectObject(m_dc, m_fonts[m_style]);
    m_selectedStyle = m_style;
    SIZE blank = {0, 0};
    ::GetTextExtentPoint32W(m_dc, L" ", 1, &blank);
    m_blankWidth = blank.cx;
}

void InlineTextDrawer::DrawWord(const Token& token)
{
    SelectStyle();
    int length = token.end - token.start;
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_dc, m_text + token.start, length, &size);
    int wordWidth = size.cx;
    if (wordWidth > m_width)
        m_width = wordWidth;
    if (token.precededByBlank)
    {
        bool lineStarted = m_x > 0;
        m_x += m_blankWidth;
        if (m_x + wordWidth > m_width && lineStarted)
        {
            if (m_format & DT_WORDBREAK)
            {
                m_y += m_lineHeight;
                m_x = 0;
            }
            else
                m_width = m_x + wordWidth;
        }
    }
    if (!(m_format & DT_CALCRECT))
    {
        if (m_format & DT_END_ELLIPSIS)
            m_width = m_given.right - m_given.left;
        RECT word = {m_area.left + m_x, m_area.top + m_y, m_area.left + m_width, m_area.bottom};
        if (!(m_format & DT_END_ELLIPSIS))
        {
            UINT flags = m_format | ((m_style & STYLE_SUBSCRIPT) ? DT_SINGLELINE | DT_BOTTOM : 0);
            ::DrawTextW(m_dc, m_text + token.start, length, &word, flags);
        }
        else if (word.right - word.left > m_referenceWidth)
            ::DrawTextW(m_dc, m_text + token.start, length, &word, m_format | DT_SINGLELINE);
        if ((m_style & STYLE_UNDERLINE) && token.precededByBlank && m_x >= m_blankWidth)
        {
            // The underline runs on through the gap before the word.
            RECT gap = {m_area.left + m_x - m_blankWidth, m_area.top + m_y, m_area.left + m_x,
                        m_area.top + m_y + m_lineHeight};
            ::DrawTextW(m_dc, L" ", 1, &gap, m_format | DT_SINGLELINE);
        }
    }
    m_x += wordWidth;
    if (m_x > m_widest)
        m_widest = m_x;
}

int InlineTextDrawer::Draw(LPRECT rect)
{
    m_format = (m_format & ~(DT_CENTER | DT_RIGHT | DT_TABSTOP)) | DT_NOPREFIX;
    if (rect)
    {
        m_given = *rect;
        m_area = *rect;
        m_width = rect->right > rect->left ? rect->right - rect->left : 0;
    }
    else
    {
        POINT at = {0, 0};
        ::GetCurrentPositionEx(m_dc, &at);
        m_area = {at.x, at.y, ::GetDeviceCaps(m_dc, HORZRES), ::GetDeviceCaps(m_dc, VERTRES)};
        m_width = m_area.right > at.x ? m_area.right - at.x : 0;
        m_given = m_area;
    }

    int saved = ::SaveDC(m_dc);
    HFONT base = (HFONT)::GetCurrentObject(m_dc, OBJ_FONT);
    if (!base || !::GetObjectW(base, sizeof(m_baseFont), &m_baseFont))
    {
        base = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        ::GetObjectW(base, sizeof(m_baseFont), &m_baseFont);
    }
    m_fonts[0] = base;
    ::SelectObject(m_dc, base);
    // A wide character and its terminator: a line's height, and the least
    // room in which a cut word is still drawn.
    SIZE reference = {0, 0};
    ::GetTextExtentPoint32W(m_dc, L"\x822E\0", 2, &reference);
    m_lineHeight = reference.cy;
    m_referenceWidth = reference.cx;
    g_colourDepth = 0;

    Token token;
    bool first = true;
    while (NextToken(token))
    {
        if (token.row)
            ApplyTag(token, first);
        else
            DrawWord(token);
        first = false;
    }

    ::RestoreDC(m_dc, saved);
    for (int style = 1; style < STYLE_COUNT; ++style)
        if (m_fonts[style])
            ::DeleteObject(m_fonts[style]);
    if ((m_format & DT_CALCRECT) && rect)
    {
        rect->right = rect->left + m_widest;
        rect->bottom = rect->top < 0 ? rect->top - (m_y + m_lineHeight) : rect->top + (m_y + m_lineHeight);
    }
    return m_y;
}
} // namespace

int DrawMarkupText(CDC* pDC, LPCWSTR text, int length, LPRECT rect, UINT format)
{
    return DrawMarkupText(pDC ? pDC->GetSafeHdc() : NULL, text, length, rect, format);
}

int DrawMarkupText(HDC hDC, LPCWSTR text, int length, LPRECT rect, UINT format)
{
    if (hDC == NULL || text == NULL)
        return 0;
    if (length < 0)
        length = (int)wcslen(text);
    InlineTextDrawer drawer(hDC, text, length, format);
    return drawer.Draw(rect);
}
