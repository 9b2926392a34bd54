// The mark-up language: built-in tables, text preparation, style sheet,
// declarations, lengths, colours and style tags.
#include "MarkupDrawer.h"
#include <algorithm>
#include <wchar.h>

namespace
{
struct NamedColor
{
    const wchar_t* name;
    DWORD rgb; // 0xRRGGBB
};

const NamedColor kColors[] = {
    {L"aqua", 0x00FFFF},
    {L"black", 0x000000},
    {L"blue", 0x0000FF},
    {L"brown", 0xA52A2A},
    {L"cyan", 0x00FFFF},
    {L"gold", 0xFFD700},
    {L"gray", 0x808080},
    {L"green", 0x008000},
    {L"magenta", 0xFF00FF},
    {L"maroon", 0x800000},
    {L"navy", 0x000080},
    {L"olive", 0x808000},
    {L"orange", 0xFFA500},
    {L"pink", 0xFFC0CB},
    {L"purple", 0x800080},
    {L"red", 0xFF0000},
    {L"silver", 0xC0C0C0},
    {L"snow", 0xFFFAFA},
    {L"violet", 0xEE82EE},
    {L"white", 0xFFFFFF},
    {L"yellow", 0xFFFF00},
    {L"aliceblue", 0xF0F8FF},
    {L"antiquewhite", 0xFAEBD7},
    {L"aquamarine", 0x7FFFD4},
    {L"azure", 0xF0FFFF},
    {L"beige", 0xF5F5DC},
    {L"bisque", 0xFFE4C4},
    {L"blanchedalmond", 0xFFEBCD},
    {L"blueviolet", 0x8A2BE2},
    {L"burlywood", 0xDEB887},
    {L"cadetblue", 0x5F9EA0},
    {L"chartreuse", 0x7FFF00},
    {L"chocolate", 0xD2691E},
    {L"coral", 0xFF7F50},
    {L"cornflowerblue", 0x6495ED},
    {L"cornsilk", 0xFFF8DC},
    {L"crimson", 0xDC143C},
    {L"darkblue", 0x00008B},
    {L"darkcyan", 0x008B8B},
    {L"darkgoldenrod", 0xB8860B},
    {L"darkgray", 0xA9A9A9},
    {L"darkgreen", 0x006400},
    {L"darkkhaki", 0xBDB76B},
    {L"darkmagenta", 0x8B008B},
    {L"darkolivegreen", 0x556B2F},
    {L"darkorange", 0xFF8C00},
    {L"darkorchid", 0x9932CC},
    {L"darkred", 0x8B0000},
    {L"darksalmon", 0xE9967A},
    {L"darkseagreen", 0x8FBC8F},
    {L"darkslateblue", 0x483D8B},
    {L"darkslategray", 0x2F4F4F},
    {L"darkturquoise", 0x00CED1},
    {L"darkviolet", 0x9400D3},
    {L"deeppink", 0xFF1493},
    {L"deepskyblue", 0x00BFFF},
    {L"dimgray", 0x696969},
    {L"dodgerblue", 0x1E90FF},
    {L"firebrick", 0xB22222},
    {L"floralwhite", 0xFFFAF0},
    {L"forestgreen", 0x228B22},
    {L"fuchsia", 0xFF00FF},
    {L"gainsboro", 0xDCDCDC},
    {L"ghostwhite", 0xF8F8FF},
    {L"goldenrod", 0xDAA520},
    {L"greenyellow", 0xADFF2F},
    {L"honeydew", 0xF0FFF0},
    {L"hotpink", 0xFF69B4},
    {L"indianred", 0xCD5C5C},
    {L"indigo", 0x4B0082},
    {L"ivory", 0xFFFFF0},
    {L"khaki", 0xF0E68C},
    {L"lavender", 0xE6E6FA},
    {L"lavenderblush", 0xFFF0F5},
    {L"lawngreen", 0x7CFC00},
    {L"lemonchiffon", 0xFFFACD},
    {L"lightblue", 0xADD8E6},
    {L"lightcoral", 0xF08080},
    {L"lightcyan", 0xE0FFFF},
    {L"lightgoldenrodyellow", 0xFAFAD2},
    {L"lightgreen", 0x90EE90},
    {L"lightgrey", 0xD3D3D3},
    {L"lightpink", 0xFFB6C1},
    {L"lightsalmon", 0xFFA07A},
    {L"lightseagreen", 0x20B2AA},
    {L"lightskyblue", 0x87CEFA},
    {L"lightslategray", 0x778899},
    {L"lightsteelblue", 0xB0C4DE},
    {L"lightyellow", 0xFFFFE0},
    {L"lime", 0x00FF00},
    {L"limegreen", 0x32CD32},
    {L"linen", 0xFAF0E6},
    {L"mediumaquamarine", 0x66CDAA},
    {L"mediumblue", 0x0000CD},
    {L"mediumorchid", 0xBA55D3},
    {L"mediumpurple", 0x9370DB},
    {L"mediumseagreen", 0x3CB371},
    {L"mediumslateblue", 0x7B68EE},
    {L"mediumspringgreen", 0x00FA9A},
    {L"mediumturquoise", 0x48D1CC},
    {L"mediumvioletred", 0xC71585},
    {L"midnightblue", 0x191970},
    {L"mintcream", 0xF5FFFA},
    {L"mistyrose", 0xFFE4E1},
    {L"moccasin", 0xFFE4B5},
    {L"navajowhite", 0xFFDEAD},
    {L"oldlace", 0xFDF5E6},
    {L"olivedrab", 0x6B8E23},
    {L"orangered", 0xFF4500},
    {L"orchid", 0xDA70D6},
    {L"palegoldenrod", 0xEEE8AA},
    {L"palegreen", 0x98FB98},
    {L"paleturquoise", 0xAFEEEE},
    {L"palevioletred", 0xDB7093},
    {L"papayawhip", 0xFFEFD5},
    {L"peachpuff", 0xFFDAB9},
    {L"peru", 0xCD853F},
    {L"plum", 0xDDA0DD},
    {L"powderblue", 0xB0E0E6},
    {L"rosybrown", 0xBC8F8F},
    {L"royalblue", 0x4169E1},
    {L"saddlebrown", 0x8B4513},
    {L"salmon", 0xFA8072},
    {L"sandybrown", 0xF4A460},
    {L"seagreen", 0x2E8B57},
    {L"seashell", 0xFFF5EE},
    {L"sienna", 0xA0522D},
    {L"skyblue", 0x87CEEB},
    {L"slateblue", 0x6A5ACD},
    {L"slategray", 0x708090},
    {L"springgreen", 0x00FF7F},
    {L"steelblue", 0x4682B4},
    {L"tan", 0xD2B48C},
    {L"teal", 0x008080},
    {L"thistle", 0xD8BFD8},
    {L"tomato", 0xFF6347},
    {L"turquoise", 0x40E0D0},
    {L"wheat", 0xF5DEB3},
    {L"whitesmoke", 0xF5F5F5},
    {L"yellowgreen", 0x9ACD32},
};

struct SysColorName
{
    const wchar_t* name;
    int index;
};

const SysColorName kSysColors[] = {
    {L"activeborder", COLOR_ACTIVEBORDER},
    {L"activecaption", COLOR_ACTIVECAPTION},
    {L"appworkspace", COLOR_APPWORKSPACE},
    {L"background", COLOR_BACKGROUND},
    {L"buttonface", COLOR_BTNFACE},
    {L"buttonhighlight", COLOR_BTNHIGHLIGHT},
    {L"buttonshadow", COLOR_BTNSHADOW},
    {L"buttontext", COLOR_BTNTEXT},
    {L"captiontext", COLOR_CAPTIONTEXT},
    {L"graytext", COLOR_GRAYTEXT},
    {L"highlight", COLOR_HIGHLIGHT},
    {L"highlighttext", COLOR_HIGHLIGHTTEXT},
    {L"inactiveborder", COLOR_INACTIVEBORDER},
    {L"inactivecaption", COLOR_INACTIVECAPTION},
    {L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT},
    {L"infobackground", COLOR_INFOBK},
    {L"infotext", COLOR_INFOTEXT},
    {L"menu", COLOR_MENU},
    {L"menutext", COLOR_MENUTEXT},
    {L"scrollbar", COLOR_SCROLLBAR},
    {L"threeddarkshadow", COLOR_3DDKSHADOW},
    {L"threedface", COLOR_BTNFACE},
    {L"threedhighlight", COLOR_BTNHIGHLIGHT},
    {L"threedlightshadow", COLOR_3DLIGHT},
    {L"threedshadow", COLOR_BTNSHADOW},
    {L"window", COLOR_WINDOW},
    {L"windowframe", COLOR_WINDOWFRAME},
    {L"windowtext", COLOR_WINDOWTEXT},
};

struct TagRow
{
    const wchar_t* name;
    int id;
    const wchar_t* group; // NULL: the tag's own name
};

const TagRow kTags[] = {
    {L"b", 1, L"bold"},
    {L"i", 2, L"italic"},
    {L"em", 2, L"italic"},
    {L"u", 3, L"underline"},
    {L"s", 4, L"strikeout"},
    {L"strike", 4, L"strikeout"},
    {L"font", 5, L"font"},
    {L"hr", 6, L""},
    {L"br", 7, L""},
    {L"\n", 7, L""},
    {L"t", 8, L""},
    {L"\t", 8, L""},
    {L"left", 9, L"left"},
    {L"center", 10, L"center"},
    {L"right", 11, L"right"},
    {L"justify", 12, L"justify"},
    {L"baseline", 13, L"baseline"},
    {L"top", 14, L"top"},
    {L"vcenter", 15, L"vcenter"},
    {L"middle", 15, L"vcenter"},
    {L"bottom", 16, L"vcenter"},
    {L"bmp", 17, L""},
    {L"icon", 18, L""},
    {L"ilst", 19, L""},
    {L"string", 20, L""},
    {L"body", 21, NULL},
    {L"h1", 21, NULL},
    {L"h2", 21, NULL},
    {L"h3", 21, NULL},
    {L"h4", 21, NULL},
    {L"h5", 21, NULL},
    {L"h6", 21, NULL},
    {L"code", 21, NULL},
    {L"pre", 21, NULL},
    {L"big", 21, NULL},
    {L"small", 21, NULL},
    {L"sub", 21, NULL},
    {L"sup", 21, NULL},
    {L"span", 22, L"span"},
    {L"a", 23, L"link"},
};

const wchar_t* const kEntities[][2] = {
    {L"&amp;", L"&"},        {L"&bull;", L"\x0095"},   {L"&copy;", L"\x00A9"}, {L"&euro;", L"\x0088"},
    {L"&gt;", L">"},         {L"&iquest;", L"\x00BF"}, {L"&lt;", L"<<"},       {L"&nbsp;", L" "},
    {L"&para;", L"\x00B6"},  {L"&pound;", L"\x00A3"},  {L"&quot;", L"\""},     {L"&reg;", L"\x00AE"},
    {L"&trade;", L"\x0099"},
};

const wchar_t kDefaultStyleSheet[] =
    L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
    L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
    L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
    L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
    L"code {color:#990000; font-family:Arial}\r\n"
    L"a:link {text-decoration:none; color:blue}\r\n"
    L"a:hover {text-decoration:underline; color:blue}\r\n"
    L"sub {font-size:65%; vertical-align:bottom}\r\n"
    L"sup {font-size:65%; vertical-align:top}\r\n"
    L"big {font-size:125%}\r\n"
    L"small {font-size:75%}\r\n"
    L".cpp-comment {color:green; font-style:italic}\r\n";

inline bool IsWordStart(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c < 128 && iswalpha(c)) || c == L'.';
}

std::wstring Lower(std::wstring s)
{
    for (auto& c : s)
        if (c >= L'A' && c <= L'Z')
            c = (wchar_t)(c - L'A' + L'a');
    return s;
}

void ReplaceAll(std::wstring& s, const std::wstring& from, const std::wstring& to)
{
    if (from.empty())
        return;
    for (size_t p = s.find(from); p != std::wstring::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

// Leading signed decimal integer (0 when none), saturated to the int range.
int LeadingInt(const std::wstring& s)
{
    long long v = 0;
    size_t i = 0;
    bool neg = false;
    while (i < s.size() && s[i] == L' ')
        i++;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
        neg = s[i++] == L'-';
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; i++)
        if ((v = v * 10 + (s[i] - L'0')) > 0x7FFFFFFF)
            v = 0x7FFFFFFF;
    return (int)(neg ? -v : v);
}

// An unsigned number with its base taken from the prefix ("0x", "0", decimal),
// saturated to 32 bits.
unsigned long ParseUnsigned(const std::wstring& s)
{
    unsigned long long v = 0;
    size_t i = 0;
    while (i < s.size() && s[i] == L' ')
        i++;
    int base = 10;
    if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X'))
        base = 16, i += 2;
    else if (i < s.size() && s[i] == L'0')
        base = 8;
    for (; i < s.size(); i++)
    {
        wchar_t c = s[i];
        int d = (c >= L'0' && c <= L'9')   ? c - L'0'
                : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                           : 99;
        if (d >= base)
            break;
        if ((v = v * base + d) > 0xFFFFFFFFull)
            v = 0xFFFFFFFFull;
    }
    return (unsigned long)v;
}
} // namespace

// Attribute pairs of a tag's attribute text, in order.
std::vector<std::pair<std::wstring, std::wstring>> ParseMarkupAttributes(const std::wstring& text)
{
    std::vector<std::pair<std::wstring, std::wstring>> out;
    size_t i = 0, n = text.size();
    while (true)
    {
        while (i < n && !IsWordStart(text[i]))
            i++;
        if (i >= n)
            break;
        size_t s = i;
        while (i < n && text[i] != L' ' && text[i] != L'=')
            i++;
        std::wstring name = text.substr(s, i - s), value;
        while (i < n && text[i] == L' ')
            i++;
        if (i < n && text[i] == L'=')
        {
            while (i < n && (text[i] == L' ' || text[i] == L'='))
                i++;
            if (i < n && (text[i] == L'"' || text[i] == L'\''))
            {
                wchar_t q = text[i++];
                size_t e = text.find(q, i);
                if (e == std::wstring::npos)
                    e = n;
                value = text.substr(i, e - i);
                i = e < n ? e + 1 : n;
            }
            else
            {
                size_t e = i;
                while (e < n && text[e] != L' ')
                    e++;
                value = text.substr(i, e - i);
                i = e;
            }
        }
        out.emplace_back(name, value);
    }
    return out;
}

// ---------------------------------------------------------------------------

MarkupDrawer::MarkupDrawer()
    : m_tableCounter(-1), m_tableDepth(0), m_hoverWnd(NULL), m_hoverMsg(0), m_hoverParam(0), m_linkWnd(NULL),
      m_linkMsg(0), m_linkParam(0), m_imageList(NULL), m_imageWidth(0), m_imageHeight(0), m_resModule(NULL),
      m_resModuleOwned(FALSE), m_handCursor(NULL), m_savedFont(NULL), m_savedBkMode(TRANSPARENT),
      m_savedTextColor(0), m_savedBkColor(0), m_enabled(TRUE),
      m_disabledColor(::GetSysColor(COLOR_BTNSHADOW)), m_dc(NULL), m_mode(1), m_tabWidth(32), m_maxWidth(0),
      m_lineCounter(0), m_hoveredLink(-2), m_linkCounter(-1), m_animationCounter(-1), m_breaksAsTags(TRUE),
      m_gradientShadow(TRUE), m_shadowX(4), m_shadowY(4), m_blurWidth(7), m_blurHeight(7), m_font(NULL),
      m_x(0), m_y(0), m_lineStartX(0), m_widthMax(0), m_drawRemainWidth(0), m_drawRemainBlanks(0)
{
    int grey = MulDiv(255, 50, 100);
    m_shadowColor = m_imageShadowColor = RGB(grey, grey, grey);
    m_area = RECT{0, 0, 0, 0};
    memset(&m_tm, 0, sizeof(m_tm));
    memset(&m_logFont, 0, sizeof(m_logFont));
    for (const auto& t : kTags)
        AddTag(t.name, t.id, t.group ? t.group : t.name);
    for (const auto& e : kEntities)
        AddEntity(e[0], e[1]);
    for (const auto& c : kColors)
        AddColorName(c.name, RGB((c.rgb >> 16) & 0xFF, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF));
    for (const auto& c : kSysColors)
        AddColorName(c.name, ::GetSysColor(c.index));
    LoadHandCursor();
    SetDefaultStyleSheet();
}

MarkupDrawer::~MarkupDrawer()
{
    if (m_resModuleOwned && m_resModule != NULL)
        ::FreeLibrary(m_resModule);
    if (m_handCursor != NULL)
        ::DestroyCursor(m_handCursor);
    if (m_imageList != NULL)
        ImageList_Destroy(m_imageList);
    if (m_font != NULL)
        ::DeleteObject(m_font);
}

void MarkupDrawer::AddTag(const std::wstring& name, int id, const std::wstring& group)
{
    m_tags[name] = TagInfo{id, group};
}

void MarkupDrawer::AddEntity(const std::wstring& text, const std::wstring& replacement)
{
    m_entities[text] = replacement;
}

void MarkupDrawer::AddColorName(const std::wstring& name, COLORREF value)
{
    m_colors[name] = value & 0xFFFFFF;
}

void MarkupDrawer::PrepareText()
{
    for (const auto& e : m_entities)
        ReplaceAll(m_text, e.first, e.second);
    m_text.erase(std::remove(m_text.begin(), m_text.end(), L'\r'), m_text.end());
    if (m_breaksAsTags)
    {
        ReplaceAll(m_text, L"\n", L"<br>");
        ReplaceAll(m_text, L"\t", L"<t>");
    }
    else
    {
        m_text.erase(
            std::remove_if(m_text.begin(), m_text.end(), [](wchar_t c) { return c == L'\n' || c == L'\t'; }),
            m_text.end());
    }
}

std::wstring MarkupDrawer::EscapeText(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size() + 8);
    for (wchar_t c : text)
    {
        if (c == L'&')
            out += L"&amp;";
        else if (c == L'<')
            out += L"<<";
        else
            out += c;
    }
    return out;
}

// ---------------------------------------------------------------------------
// Style sheet and declarations

void MarkupDrawer::SetDefaultStyleSheet()
{
    SetStyleSheet(kDefaultStyleSheet);
}

void MarkupDrawer::SetStyleSheet(LPCWSTR text)
{
    if (text == NULL)
    {
        SetDefaultStyleSheet();
        return;
    }
    m_styleSheet.clear();
    m_styleSheetSource = text;
    const std::wstring& s = m_styleSheetSource;
    size_t i = 0, n = s.size();
    while (true)
    {
        while (i < n && !IsWordStart(s[i]))
            i++;
        if (i >= n)
            break;
        size_t e = s.find_first_of(L" {", i);
        if (e == std::wstring::npos)
            break;
        std::wstring selector = s.substr(i, e - i);
        size_t open = s.find(L'{', i);
        if (open == std::wstring::npos)
            break;
        size_t close = s.find(L'}', open + 1);
        if (close == std::wstring::npos)
            break;
        std::wstring decl = s.substr(open + 1, close - open - 1);
        if (!decl.empty())
            m_styleSheet[Lower(selector)] = decl;
        i = close + 1;
    }
}

bool MarkupDrawer::ApplyStyleRule(const std::wstring& selector, MarkupStyle& style)
{
    auto it = m_styleSheet.find(Lower(selector));
    if (it == m_styleSheet.end())
        return false;
    ApplyStyleText(it->second, style);
    return true;
}

int MarkupDrawer::ParseFontWeight(const std::wstring& v, int def)
{
    (void)def;
    if (v == L"normal" || v.empty())
        return 400;
    if (v == L"bold")
        return 700;
    if (v == L"bolder")
        return 900;
    if (v == L"lighter")
        return 100;
    return std::max(0, std::min(1000, LeadingInt(v)));
}

namespace
{
struct Keyword
{
    const wchar_t* text;
    int value;
};

// The value of the keyword in the table (an empty text is the first row's
// value), or def.
template <size_t N> int KeywordValue(const std::wstring& v, const Keyword (&table)[N], int def)
{
    if (v.empty())
        return table[0].value;
    for (const Keyword& k : table)
        if (v == k.text)
            return k.value;
    return def;
}
} // namespace

int MarkupDrawer::ParseHAlign(const std::wstring& v, int def)
{
    static const Keyword table[] = {{L"left", 0}, {L"center", 1}, {L"right", 2}};
    return KeywordValue(v, table, def);
}

int MarkupDrawer::ParseVAlign(const std::wstring& v, int def)
{
    static const Keyword table[] = {
        {L"baseline", 3}, {L"middle", 1}, {L"vcenter", 1}, {L"top", 0}, {L"bottom", 2}};
    return KeywordValue(v, table, def);
}

int MarkupDrawer::ParseTextTransform(const std::wstring& v, int def)
{
    static const Keyword table[] = {{L"none", 0}, {L"uppercase", 1}, {L"lowercase", 2}, {L"capitalize", 3}};
    return KeywordValue(v, table, def);
}

int MarkupDrawer::ParseBorderStyle(const std::wstring& v, int def)
{
    static const Keyword table[] = {
        {L"none", 0}, {L"solid", 1}, {L"dotted", 3}, {L"dashed", 2}, {L"double", 6}};
    return KeywordValue(v, table, def);
}

int MarkupDrawer::ParseBkEffect(const std::wstring& v, int def)
{
    static const wchar_t* const names[] = {L"solid",      L"hgradient",  L"vgradient",  L"hcgradient",
                                           L"vcgradient", L"3hgradient", L"3vgradient", L"noise",
                                           L"diagshade",  L"hshade",     L"vshade",     L"hbump",
                                           L"vbump",      L"softbump",   L"hardbump",   L"metal"};
    if (v.empty())
        return def;
    if (v == L"transparent")
        return -1;
    for (int i = 0; i < 16; i++)
        if (v == names[i])
            return i;
    int n = ParseLength(v, def, false);
    return (n >= -1 && n <= 15) ? n : def;
}

// Font sizes outside this range make no sensible font (and huge ones can
// exhaust the font cache).
static int ClampFontSize(int size)
{
    return std::max(1, std::min(size, 500));
}
static int ClampGap(int v)
{
    return std::max(0, std::min(v, 1000));
}

void MarkupDrawer::ApplyStyleText(const std::wstring& source, MarkupStyle& st)
{
    std::wstring s = Lower(source);
    size_t i = 0, n = s.size();
    while (true)
    {
        while (i < n && !IsWordStart(s[i]))
            i++;
        if (i >= n)
            break;
        size_t e = s.find_first_of(L" :", i);
        if (e == std::wstring::npos)
            break;
        std::wstring prop = s.substr(i, e - i), value;
        i = e;
        while (i < n && s[i] == L' ')
            i++;
        if (i < n && s[i] == L':')
        {
            i++;
            while (i < n && s[i] == L' ')
                i++;
            if (i < n && s[i] == L'"')
            {
                size_t q = s.find(L'"', i + 1);
                if (q != std::wstring::npos)
                {
                    value = s.substr(i + 1, q - i - 1);
                    i = q + 1;
                }
                else
                    i = n;
            }
            else
            {
                size_t q = s.find(L';', i);
                if (q == std::wstring::npos)
                    q = n;
                value = s.substr(i, q - i);
                i = q;
            }
        }

        if (prop == L"font-size")
            st.fontSize = ClampFontSize(ParseLength(value, st.fontSize, true));
        else if (prop == L"font-family")
        {
            if (!value.empty())
                st.fontFamily = value;
        }
        else if (prop == L"font-style")
        {
            if (value == L"normal" || value.empty())
                st.italic = 0;
            else if (value == L"italic" || value == L"oblique")
                st.italic = 1;
        }
        else if (prop == L"font-weight")
            st.fontWeight = ParseFontWeight(value, st.fontWeight);
        else if (prop == L"text-align")
            st.hAlign = ParseHAlign(value, st.hAlign);
        else if (prop == L"text-transform")
            st.textTransform = ParseTextTransform(value, st.textTransform);
        else if (prop == L"color")
            st.textColor = StyleColor(ParseColor(value, st.textColor));
        else if (prop == L"background-color")
        {
            if (value == L"transparent" || value.empty() || !m_enabled)
                st.bkMode = TRANSPARENT;
            else
            {
                st.bkMode = OPAQUE;
                st.bkColor = ParseColor(value, st.bkColor);
            }
        }
        else if (prop == L"text-decoration")
        {
            std::wstring words = value.empty() ? std::wstring(L"none") : value;
            size_t p = 0;
            while (p < words.size())
            {
                size_t q = words.find_first_of(L" ,", p);
                if (q == std::wstring::npos)
                    q = words.size();
                std::wstring w = words.substr(p, q - p);
                if (w == L"none")
                    st.underline = st.strikeout = st.overline = 0;
                else if (w == L"underline")
                    st.underline = 1;
                else if (w == L"line-through")
                    st.strikeout = 1;
                else if (w == L"overline")
                    st.overline = 1;
                p = q + 1;
            }
        }
        else if (prop == L"vertical-align")
            st.vAlign = ParseVAlign(value, st.vAlign);
        else if (prop == L"border-color")
            st.borderLight = st.borderDark = StyleColor(ParseColor(value, st.borderLight));
        else if (prop == L"border-width" || prop == L"size")
        {
            int w;
            if (value == L"thin")
                w = MulDiv(st.borderWidth, 75, 100);
            else if (value == L"thick")
                w = MulDiv(st.borderWidth, 125, 100);
            else if (value == L"medium")
                w = st.borderWidth;
            else
                w = ParseLength(value, st.borderWidth, false);
            st.SetBorderWidth(w);
        }
        else if (prop == L"border-style")
            st.SetBorderStyle(ParseBorderStyle(value, st.borderStyle));
        else if (prop == L"margin")
            st.margin = ClampGap(ParseLength(value, st.margin, false));
        else if (prop == L"padding")
            st.padding = ClampGap(ParseLength(value, st.padding, false));
    }
}

// ---------------------------------------------------------------------------
// Values

int MarkupDrawer::ParseLength(const std::wstring& text, int def, bool fontSizeMode)
{
    if (text.empty())
        return def;
    if (text.back() == L'%')
        return MulDiv(def, LeadingInt(text.substr(0, text.size() - 1)), 100);
    std::wstring t = text;
    if (!t.empty() && (t[0] == L'+' || t[0] == L'-'))
        t.erase(0, 1);
    int n = std::max(0, LeadingInt(t));
    std::wstring unit = t.size() > 1 ? t.substr(t.size() - 2) : std::wstring();
    // Lengths are capped so that later sums and products stay in range.
    const long long cap = 100000;
    if (unit == L"px")
        return (int)std::min<long long>(n, cap);
    HDC dc = m_dc;
    HDC screen = NULL;
    if (dc == NULL)
        dc = screen = ::GetDC(NULL);
    long long result = -1;
    if (unit == L"ex")
    {
        SIZE sz = {0, 0};
        ::GetTextExtentPoint32W(dc, L"x", 1, &sz);
        result = (long long)n * sz.cy;
    }
    else if (unit == L"em")
    {
        TEXTMETRICW tm;
        if (!::GetTextMetricsW(dc, &tm))
            tm.tmHeight = 0;
        result = (long long)n * tm.tmHeight;
    }
    else if (unit == L"in" || unit == L"cm" || unit == L"mm" || unit == L"pt" || unit == L"pc")
    {
        long long d = (long long)n * ::GetDeviceCaps(dc, LOGPIXELSY);
        if (unit == L"in")
            result = d;
        else if (unit == L"cm")
            result = (long long)(d * 0.39370078740157477);
        else if (unit == L"mm")
            result = (long long)(d * 0.03937007874015748);
        else if (unit == L"pt")
            result = d / 72;
        else
            result = d / 6;
    }
    if (screen != NULL)
        ::ReleaseDC(NULL, screen);
    if (result >= 0)
        return (int)std::min(result, cap);
    unsigned long v = ParseUnsigned(t); // the sign is dropped here too: "+1" is the HTML font size 1
    if (fontSizeMode && v >= 1 && v <= 7)
    {
        static const int sizes[] = {8, 10, 12, 14, 18, 24, 36};
        return sizes[v - 1];
    }
    return (int)std::min<unsigned long>(v, (unsigned long)cap);
}

COLORREF MarkupDrawer::ParseColor(const std::wstring& text, COLORREF def)
{
    if (text.empty())
        return def;
    if (text[0] == L'#')
    {
        if (text.size() != 7)
            return def;
        unsigned long rgb = 0;
        for (size_t i = 1; i < 7; i++)
        {
            wchar_t c = text[i];
            int d = (c >= L'0' && c <= L'9')   ? c - L'0'
                    : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                    : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                               : -1;
            if (d < 0)
                return def;
            rgb = rgb * 16 + d;
        }
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    if (text[0] >= L'0' && text[0] <= L'9')
        return (COLORREF)ParseUnsigned(text); // the number is the COLORREF itself, top byte included
    return ColorByName(text, def);
}

COLORREF MarkupDrawer::ColorByName(const std::wstring& name, COLORREF def)
{
    if (!m_enabled)
        return m_disabledColor;
    auto it = m_colors.find(name);
    return it == m_colors.end() ? def : it->second;
}

// ---------------------------------------------------------------------------
// Style tags

bool MarkupDrawer::PushOrPopStyle(bool closing)
{
    bool changed = false;
    if (closing)
    {
        if (!m_stack.empty() && m_stack.back().name == m_style.name)
        {
            m_style = m_stack.back();
            m_stack.pop_back();
            changed = true;
        }
    }
    else if (m_stack.size() < kMaxStyleDepth)
    {
        m_stack.push_back(m_style);
        changed = true;
    }
    m_style.name.clear();
    return changed;
}

void MarkupDrawer::ApplyFontAttributes(const std::wstring& attributes)
{
    for (const auto& a : ParseMarkupAttributes(attributes))
    {
        const std::wstring& v = a.second;
        if (a.first == L"face")
        {
            if (!v.empty())
                m_style.fontFamily = v;
        }
        else if (a.first == L"size")
            m_style.fontSize = ClampFontSize(ParseLength(v, m_style.fontSize, true));
        else if (a.first == L"color")
            m_style.textColor = StyleColor(ParseColor(v, m_style.textColor));
        else if (a.first == L"style")
        {
            int sign = 1;
            for (wchar_t c : v)
            {
                switch (c)
                {
                case L'+':
                    sign = 1;
                    break;
                case L'-':
                    sign = 0;
                    break;
                case L'b':
                    m_style.fontWeight = sign ? 700 : 400;
                    sign = 1;
                    break;
                case L'i':
                    m_style.italic = sign, sign = 1;
                    break;
                case L'u':
                    m_style.underline = sign, sign = 1;
                    break;
                case L's':
                    m_style.strikeout = sign, sign = 1;
                    break;
                case L'o':
                    m_style.overline = sign, sign = 1;
                    break;
                }
            }
        }
        else if (a.first == L"weight")
            m_style.fontWeight = ParseFontWeight(v, m_style.fontWeight);
        else if (a.first == L"bkgnd")
        {
            if (v == L"transparent" || v.empty() || !m_enabled)
                m_style.bkMode = TRANSPARENT;
            else
            {
                m_style.bkMode = OPAQUE;
                m_style.bkColor = ParseColor(v, m_style.bkColor);
            }
        }
    }
}

void MarkupDrawer::OpenStyleTag(const TagInfo& tag, const std::wstring& name, const std::wstring& attributes)
{
    m_style.name = tag.group;
    MarkupStyle before = m_style;
    if (m_stack.size() >= kMaxStyleDepth)
    {
        m_style.name.clear();
        return; // too deeply nested: ignored, so its closing tag finds nothing to undo
    }
    m_stack.push_back(before);
    switch (tag.id)
    {
    case 1:
        m_style.fontWeight = std::min(m_style.fontWeight * 2, 900);
        break;
    case 2:
        m_style.italic = !m_style.italic;
        break;
    case 3:
        m_style.underline = !m_style.underline;
        break;
    case 4:
        m_style.strikeout = !m_style.strikeout;
        break;
    case 5:
        ApplyFontAttributes(attributes);
        break;
    case 9:
    case 10:
    case 11:
    case 12:
        m_style.hAlign = tag.id - 9;
        break;
    case 13:
        m_style.vAlign = 3;
        break;
    case 14:
        m_style.vAlign = 0;
        break;
    case 15:
        m_style.vAlign = 1;
        break;
    case 16:
        m_style.vAlign = 2;
        break;
    case 21:
        ApplyStyleRule(name, m_style);
        break;
    case 22:
        for (const auto& a : ParseMarkupAttributes(attributes))
            if (a.first == L"class")
                ApplyStyleRule(L"." + a.second, m_style);
        break;
    case 23:
        m_style.linkKind = 2;
        m_style.linkTarget.clear();
        for (const auto& a : ParseMarkupAttributes(attributes))
        {
            if (a.first == L"href")
                m_style.linkKind = 1, m_style.linkTarget = a.second;
            else if (a.first == L"msg")
                m_style.linkKind = 2, m_style.linkTarget = a.second;
        }
        m_linkCounter++;
        ApplyStyleRule(m_linkCounter == m_hoveredLink ? L"a:hover" : L"a:link", m_style);
        break;
    }
    SelectStyle();
}

void MarkupDrawer::HandleTag(const std::wstring& name, const std::wstring& attributes, bool closing)
{
    auto it = m_tags.find(name);
    if (it == m_tags.end())
        return;
    const TagInfo& tag = it->second;
    if (!tag.group.empty())
    {
        if (closing)
        {
            m_style.name = tag.group;
            if (PushOrPopStyle(true))
                SelectStyle();
        }
        else
            OpenStyleTag(tag, name, attributes);
        return;
    }
    switch (tag.id)
    {
    case 6:
        LayOutRule(attributes);
        break;
    case 7:
    case 8: {
        int count = 1;
        if (!attributes.empty())
            count = std::max(0, std::min(LeadingInt(attributes.substr(1)), 1000));
        if (tag.id == 7)
        {
            CurrentLine().wrapped = 0;
            NewLine(count, 0);
        }
        else
            NextTabStop(count);
        break;
    }
    case 17:
    case 18:
    case 19:
        PlaceImage(tag.id, attributes);
        break;
    case 20:
        PlaceString(attributes);
        break;
    }
}
