// The values the skin puts in place of the system's: the 31 system colours
// with a solid brush each, three fonts, border, edge, scroll-bar and
// caption sizes, and a few brushes derived from them.
#pragma once
#include <Framework.h>

class CSFSkinFramework;

class CSFSkinMetrics
{
public:
    enum
    {
        kColorCount = 31
    };

    explicit CSFSkinMetrics(CSFSkinFramework* manager);
    virtual ~CSFSkinMetrics();
    CSFSkinMetrics(const CSFSkinMetrics&) = delete;
    CSFSkinMetrics& operator=(const CSFSkinMetrics&) = delete;

    // Takes every value again from the loaded style (or, without one, the
    // system's colours). A colour that stays the same keeps its brush, so
    // brushes handed out earlier stay valid.
    virtual void ReloadMetrics();

    COLORREF GetColor(int index) const { return index >= 0 && index < kColorCount ? m_colors[index] : 0; }
    HBRUSH GetBrush(int index) const { return index >= 0 && index < kColorCount ? m_brushes[index] : NULL; }
    // The handle is a brush and one of the 31 colour brushes.
    BOOL IsMetricsBrush(HBRUSH brush) const;
    // Colours used where the style has none (COLORREF values).
    static COLORREF GetDefaultColor(int index);

    CFont& GetCaptionFont() { return m_captionFont; }
    CFont& GetMenuFont() { return m_menuFont; }
    CFont& GetSmallCaptionFont() { return m_smallCaptionFont; }
    HBRUSH GetBackgroundBrush() const { return m_backgroundBrush; }
    HBRUSH GetTabPageBrush() const { return m_tabPageBrush; }
    void SetTabPageBrush(HBRUSH brush);
    BOOL IsRefreshing() const { return m_refreshing; }

    int m_borderMultiplier;
    int m_cxBorder, m_cyBorder, m_cxEdge, m_cyEdge;
    int m_cxHScroll, m_cyHScroll, m_cxVScroll, m_cyVScroll;
    int m_captionHeight, m_smallCaptionHeight;
    int m_systemCaptionHeight, m_systemSmallCaptionHeight;
    COLORREF m_3dLight, m_3dHighlight, m_3dShadow, m_3dDarkShadow;

private:
    static void ReplaceFont(CFont& font, const LOGFONTW& logFont);

    CFont m_captionFont;
    CFont m_menuFont;
    CFont m_smallCaptionFont;
    CSFSkinFramework* m_manager;
    HBRUSH m_backgroundBrush;
    HBRUSH m_tabPageBrush;
    COLORREF m_colors[kColorCount];
    HBRUSH m_brushes[kColorCount];
    BOOL m_refreshing;
};
