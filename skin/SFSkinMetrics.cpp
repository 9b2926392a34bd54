#include "SFSkinMetrics.h"
#include "SFSkinFramework.h"
#include "SFSkinSchema.h"
#include "SchemaNames.h"

namespace
{
const COLORREF kDefaultColors[CSFSkinMetrics::kColorCount] = {
    0xC0C0C0, 0xA56E3A, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xC0C0C0,
    0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000,
    0xDFDFDF, 0x000000, 0xE1FFFF, 0xB4B4B4, 0xFF0000, 0xD08410, 0xB5B5B5, 0x800000, 0xC0C0C0,
};
} // namespace

CSFSkinMetrics::CSFSkinMetrics(CSFSkinFramework* manager)
    : m_borderMultiplier(0), m_cxBorder(0), m_cyBorder(0), m_cxEdge(0), m_cyEdge(0), m_cxHScroll(0), m_cyHScroll(0),
      m_cxVScroll(0), m_cyVScroll(0), m_captionHeight(0), m_smallCaptionHeight(0), m_systemCaptionHeight(0),
      m_systemSmallCaptionHeight(0), m_3dLight(0), m_3dHighlight(0), m_3dShadow(0), m_3dDarkShadow(0),
      m_manager(manager), m_backgroundBrush(NULL), m_tabPageBrush(NULL), m_refreshing(FALSE)
{
    for (int i = 0; i < kColorCount; i++)
    {
        m_colors[i] = (COLORREF)-1;
        m_brushes[i] = NULL;
    }
}

CSFSkinMetrics::~CSFSkinMetrics()
{
    if (m_backgroundBrush)
        ::DeleteObject(m_backgroundBrush);
    if (m_tabPageBrush)
        ::DeleteObject(m_tabPageBrush);
    for (HBRUSH brush : m_brushes)
        if (brush)
            ::DeleteObject(brush);
}

COLORREF CSFSkinMetrics::GetDefaultColor(int index)
{
    return index >= 0 && index < kColorCount ? kDefaultColors[index] : 0;
}

BOOL CSFSkinMetrics::IsMetricsBrush(HBRUSH brush) const
{
    if (brush == NULL || ::GetObjectType(brush) != OBJ_BRUSH)
        return FALSE;
    for (HBRUSH own : m_brushes)
        if (own == brush)
            return TRUE;
    return FALSE;
}

void CSFSkinMetrics::SetTabPageBrush(HBRUSH brush)
{
    if (m_tabPageBrush && m_tabPageBrush != brush)
        ::DeleteObject(m_tabPageBrush);
    m_tabPageBrush = brush;
}

void CSFSkinMetrics::ReplaceFont(CFont& font, const LOGFONTW& logFont)
{
    font.DeleteObject();
    font.CreateFontIndirect(&logFont);
}

void CSFSkinMetrics::ReloadMetrics()
{
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema == NULL)
    {
        for (int i = 0; i < kColorCount; i++)
        {
            m_colors[i] = ::GetSysColor(i);
            if (m_brushes[i])
                ::DeleteObject(m_brushes[i]);
            m_brushes[i] = NULL;
        }
        return;
    }
    m_refreshing = TRUE;
    const int sys = SCHEMA_CLASS_SYSMETRICS;

    // The size of the record without its last field: every system since 2000 takes it.
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = 500;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &ncm, 0))
    {
        ReplaceFont(m_captionFont, ncm.lfCaptionFont);
        ReplaceFont(m_smallCaptionFont, ncm.lfSmCaptionFont);
        ReplaceFont(m_menuFont, ncm.lfMenuFont);
    }

    m_borderMultiplier = 1;
    ::SystemParametersInfoW(SPI_GETBORDER, 0, &m_borderMultiplier, 0);
    m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
    m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_captionHeight = m_systemCaptionHeight = ::GetSystemMetrics(SM_CYCAPTION);
    m_smallCaptionHeight = m_systemSmallCaptionHeight = ::GetSystemMetrics(SM_CYSMCAPTION);

    if (m_manager->GetApplyOptions() & SF_APPLY_METRICS)
    {
        int value = 0;
        if (SUCCEEDED(schema->GetIntProperty(sys, 0, 0, SCHEMA_PROP_CAPTIONBARHEIGHT, &value)))
            m_captionHeight = value;
        m_captionHeight += 1;
        if (SUCCEEDED(schema->GetIntProperty(sys, 0, 0, SCHEMA_PROP_SMCAPTIONBARHEIGHT, &value)))
            m_smallCaptionHeight = value;
        m_smallCaptionHeight += 1;
        if (SUCCEEDED(schema->GetIntProperty(sys, 0, 0, SCHEMA_PROP_SCROLLBARWIDTH, &value)) && value > 0)
            m_cxVScroll = m_cxHScroll = value;
        if (SUCCEEDED(schema->GetIntProperty(sys, 0, 0, SCHEMA_PROP_SCROLLBARHEIGHT, &value)) && value > 0)
            m_cyVScroll = m_cyHScroll = value;
        LOGFONTW font;
        if (SUCCEEDED(schema->GetFontProperty(sys, 0, 0, SCHEMA_PROP_CAPTIONFONT, &font)))
            ReplaceFont(m_captionFont, font);
        if (SUCCEEDED(schema->GetFontProperty(sys, 0, 0, SCHEMA_PROP_SMALLCAPTIONFONT, &font)))
            ReplaceFont(m_smallCaptionFont, font);
        if (SUCCEEDED(schema->GetFontProperty(sys, 0, 0, SCHEMA_PROP_MENUFONT, &font)))
            ReplaceFont(m_menuFont, font);
    }

    for (int i = 0; i < kColorCount; i++)
    {
        COLORREF old = m_colors[i];
        m_colors[i] = (COLORREF)-1;
        COLORREF color;
        if (FAILED(schema->GetColorProperty(sys, 0, 0, SCHEMA_PROP_SYSCOLOR_FIRST + i, &color)))
        {
            color = kDefaultColors[i];
            m_manager->ApplyColorFilter(color);
        }
        m_colors[i] = color;
        if (color != old || m_brushes[i] == NULL)
        {
            if (m_brushes[i])
                ::DeleteObject(m_brushes[i]);
            m_brushes[i] = ::CreateSolidBrush(color);
        }
    }

    m_3dLight = m_colors[COLOR_3DLIGHT];
    m_3dHighlight = m_colors[COLOR_BTNHIGHLIGHT];
    m_3dShadow = m_colors[COLOR_BTNSHADOW];
    m_3dDarkShadow = m_colors[COLOR_3DDKSHADOW];
    if (m_backgroundBrush)
        ::DeleteObject(m_backgroundBrush);
    m_backgroundBrush = ::CreateSolidBrush(m_colors[COLOR_BTNFACE]);
    SetTabPageBrush(NULL);
    m_refreshing = FALSE;
}
