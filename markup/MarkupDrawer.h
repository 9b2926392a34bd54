// MarkupDrawer: measures and draws texts written in the client's HTML-like
// mark-up into a device context. Every text is handled in two passes: a
// measuring pass breaks it into lines and records each line (and each table),
// and a drawing pass replays those records to place and draw every piece.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "EffectPainter.h"
#include "MarkupStyle.h"

struct MarkupLine
{
    int width = 0;  // pixels of content
    int height = 0; // measuring: largest ascent; after the line ends: ascent + descent
    int descent = 0;
    int percent = 0; // sum of the percentage widths of rules on the line
    int align = 0;
    int blanks = 0;
    int wrapped = 0; // 1 when the line ended because the next piece did not fit
};

struct HotArea
{
    RECT rect;
    int kind;   // 1 shell link, 2 message link
    int number; // number of the link in the pass
    std::wstring target;
};

struct TableCell
{
    int colspan = 0, rowspan = 0;
    int contentWidth = 0, contentHeight = 0;
    int outerWidth = 0, outerHeight = 0;
    int fixedWidth = 0;
};

struct TableLayout
{
    int columns = 0, rows = 0;
    std::vector<TableCell> cells; // rows x columns
    std::vector<int> columnWidths, rowHeights, columnFixed;
    TableCell& Cell(int row, int col) { return cells[(size_t)row * columns + col]; }
};

struct MarkupImage
{
    int index = 0;
    int idRes = 0;
    int idDll = 0;
    UINT_PTR handle = 0;
    int cx = 0, cy = 0;
    int width = 100, height = 100;
    BOOL widthPercent = TRUE, heightPercent = TRUE;
    int speed = 0;
    UINT style = 0, hotStyle = 0;
    BOOL useMask = FALSE;
    COLORREF mask = 0xFF00FF;
    std::wstring file;
    std::wstring module;
};

struct MarkupAnimation
{
    int frame = 0, frames = 0, tick = 0, ticksPerFrame = 0;
};

class MarkupDrawer
{
  public:
    MarkupDrawer();
    virtual ~MarkupDrawer();

    MarkupDrawer(const MarkupDrawer&) = delete;
    MarkupDrawer& operator=(const MarkupDrawer&) = delete;

    // --- Passes ----------------------------------------------------------
    void Measure(HDC hDC, LPCWSTR text, SIZE* size);
    void Draw(HDC hDC, const RECT& rect);

    // --- Language ----------------------------------------------------------
    void SetStyleSheet(LPCWSTR text);
    void SetDefaultStyleSheet();
    const std::wstring& GetStyleSheet() const { return m_styleSheetSource; }
    bool ApplyStyleRule(const std::wstring& selector, MarkupStyle& style);
    void ApplyStyleText(const std::wstring& text, MarkupStyle& style);
    int ParseLength(const std::wstring& text, int def, bool fontSizeMode);
    COLORREF ParseColor(const std::wstring& text, COLORREF def);
    COLORREF ColorByName(const std::wstring& name, COLORREF def);
    static int ParseFontWeight(const std::wstring& text, int def);
    static int ParseHAlign(const std::wstring& text, int def);
    static int ParseVAlign(const std::wstring& text, int def);
    static int ParseTextTransform(const std::wstring& text, int def);
    static int ParseBorderStyle(const std::wstring& text, int def);
    int ParseBkEffect(const std::wstring& text, int def);
    void AddTag(const std::wstring& name, int id, const std::wstring& group);
    void AddEntity(const std::wstring& text, const std::wstring& replacement);
    void AddColorName(const std::wstring& name, COLORREF value);
    // Replaces entities, removes CRs and turns LF and TAB into tags.
    void PrepareText();
    // A plain text (a user's name, a message) written so that the drawer shows
    // it as it stands: no tag, entity or picture of it takes effect.
    static std::wstring EscapeText(const std::wstring& text);
    bool PushOrPopStyle(bool closing);
    void ResetStyle(MarkupStyle& style) { style = MarkupStyle(); }
    void SelectStyle();
    UINT ParseImageStyle(const std::wstring& text);

    // --- Mouse and links ---------------------------------------------------
    void SetHoverNotify(HWND hWnd, UINT message, LPARAM lParam);
    void SetMessageLink(HWND hWnd, UINT message, LPARAM lParam);
    bool UpdateHover(POINT pt);
    void Click(POINT pt);
    int HitTest(POINT pt) const;
    void ActivateLink(int index);
    // Opens a link as CLinkPolicy allows (web and mail addresses through the
    // shell, page commands to the main window); FALSE when refused or not taken.
    BOOL OpenLink(const std::wstring& target, int showCommand);
    static bool IsOpenableLink(const std::wstring& target);
    bool AnimationStep();
    CEffectPainter& GetPainter() { return m_painter; }

    // --- Images ------------------------------------------------------------
    void ReadImageAttributes(const std::wstring& attributes, MarkupImage& image);
    void DrawBackgroundImage(HDC hDC, int left, int top, int width, int height, const std::wstring& source);
    HICON LoadIconResource(UINT id, int width, int height);
    HICON LoadIconFile(const std::wstring& file, int width, int height);
    HICON LoadIconFromModule(UINT id, int width, int height, LPCWSTR module);
    HBITMAP LoadBitmapResource(UINT id);
    HBITMAP LoadBitmapFile(const std::wstring& file);
    HBITMAP LoadBitmapFromModule(UINT id, LPCWSTR module);
    static bool IsSafeModulePath(const std::wstring& path);
    void LoadHandCursor();

    // --- Tables ------------------------------------------------------------
    SIZE LayOutTable(const std::wstring& text, RECT area);
    void CountTable(const std::wstring& text, int* columns, int* rows);
    void ReadTableAttributes(const std::wstring& attributes, MarkupStyle& style, bool table, int* colspan,
                             int* rowspan);
    static size_t FindTableEnd(const std::wstring& text, size_t pos);
    static size_t FindRowEnd(const std::wstring& text, size_t pos);
    static size_t FindCellEnd(const std::wstring& text, size_t pos);

    // --- Settings ----------------------------------------------------------
    void SetMaxWidth(int width) { m_maxWidth = width < 0 ? 0 : width; }
    void SetEnabled(BOOL enabled) { m_enabled = enabled; }
    void SetImageList(HIMAGELIST hList);
    void SetResourceModule(HINSTANCE hModule, BOOL owned);
    void SetHoveredLink(int link) { m_hoveredLink = link; }

    // --- State for the owner and for checks ------------------------------------
    const std::vector<MarkupLine>& GetLines() const { return m_lines; }
    const std::vector<HotArea>& GetHotAreas() const { return m_hotAreas; }
    const std::vector<TableLayout>& GetTables() const { return m_tables; }
    const std::vector<MarkupAnimation>& GetAnimations() const { return m_animations; }
    const std::wstring& GetText() const { return m_text; }
    const MarkupStyle& GetStyle() const { return m_style; }
    int GetHoveredLink() const { return m_hoveredLink; }
    HCURSOR GetHandCursor() const { return m_handCursor; }
    // Most nested tables laid out; deeper ones occupy no room.
    static const int kMaxTableDepth = 16;
    // Most style tags open at once; further ones are ignored.
    static const size_t kMaxStyleDepth = 256;

  private:
    struct TagInfo
    {
        int id;
        std::wstring group;
    };

    SIZE RunPass(RECT area);
    SIZE LayOutText(const std::wstring& piece, RECT area);
    void PlaceText(std::wstring run);
    std::wstring BreakText(std::wstring& run, int areaWidth, int room, int* pieceWidth);
    int BeginLine(int x);
    void NewLine(int count, int wrapped);
    int TextTop(int y, int textHeight);
    int ImageTop(int y, int imageHeight);
    MarkupLine& CurrentLine();
    void HandleTag(const std::wstring& name, const std::wstring& attributes, bool closing);
    void OpenStyleTag(const TagInfo& tag, const std::wstring& name, const std::wstring& attributes);
    void ApplyFontAttributes(const std::wstring& attributes);
    void LayOutRule(const std::wstring& attributes);
    void NextTabStop(int count);
    void AddHotArea(const RECT& rect);
    void PlaceImage(int tag, const std::wstring& attributes);
    void PlaceBox(int boxWidth, int boxHeight, int alignHeight, const std::function<void(int, int)>& draw);
    void PlaceString(const std::wstring& attributes);
    HBITMAP LoadImageBitmap(const MarkupImage& image, bool* owned);
    void LayOutRow(const std::wstring& text, const RECT& inner, TableLayout& table, int row);
    void LayOutCell(const std::wstring& text, RECT rect, TableCell& cell);
    COLORREF StyleColor(COLORREF c) const { return m_enabled ? c : m_disabledColor; }
    bool Measuring() const { return m_mode == 1; }

    std::vector<TableLayout> m_tables;
    int m_tableCounter;
    int m_tableDepth;
    HWND m_hoverWnd;
    UINT m_hoverMsg;
    LPARAM m_hoverParam;
    HWND m_linkWnd;
    UINT m_linkMsg;
    LPARAM m_linkParam;
    MarkupStyle m_style;
    MarkupLine m_line;
    CEffectPainter m_painter;
    HIMAGELIST m_imageList;
    int m_imageWidth, m_imageHeight;
    HINSTANCE m_resModule;
    BOOL m_resModuleOwned;
    HCURSOR m_handCursor;
    HFONT m_savedFont;
    int m_savedBkMode;
    COLORREF m_savedTextColor, m_savedBkColor;
    BOOL m_enabled;
    COLORREF m_disabledColor;
    RECT m_area;
    HDC m_dc;
    std::wstring m_text;
    int m_mode;
    int m_tabWidth;
    int m_maxWidth;
    int m_lineCounter;
    int m_hoveredLink;
    int m_linkCounter;
    int m_animationCounter;
    BOOL m_breaksAsTags;
    BOOL m_gradientShadow;
    int m_shadowX, m_shadowY;
    int m_blurWidth, m_blurHeight;
    COLORREF m_shadowColor;
    COLORREF m_imageShadowColor;
    TEXTMETRICW m_tm;
    LOGFONTW m_logFont;
    HFONT m_font;
    std::wstring m_styleSheetSource;
    std::vector<MarkupLine> m_lines;
    std::vector<MarkupStyle> m_stack;
    std::vector<HotArea> m_hotAreas;
    std::vector<MarkupAnimation> m_animations;
    std::map<std::wstring, COLORREF> m_colors;
    std::map<std::wstring, std::wstring> m_styleSheet;
    std::map<std::wstring, std::wstring> m_entities;
    std::map<std::wstring, TagInfo> m_tags;

    // Pass state
    int m_x, m_y;
    int m_lineStartX;
    int m_widthMax;
    int m_drawRemainWidth, m_drawRemainBlanks;
};
