#include "SFSkinPalette.h"
#include "SFUxThemeLibrary.h"

IMPLEMENT_DYNAMIC(CSFSkinPalette, CCmdTarget)

void CSFSkinPalette::ColorRecord::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << (DWORD)standard << (DWORD)custom;
    else
    {
        DWORD s, c;
        ar >> s >> c;
        standard = s;
        custom = c;
    }
}

void CSFSkinPalette::GradientRecord::Serialize(CArchive& ar)
{
    color1.Serialize(ar);
    color2.Serialize(ar);
    if (ar.IsStoring())
        ar << factor;
    else
        ar >> factor;
}

CSFSkinPalette::CSFSkinPalette()
    : m_allowRoyale(TRUE), m_allowAero(TRUE), m_forcePlain(FALSE), m_themeSetting(kFollowTheme),
      m_colorSource(NULL), m_detectedTheme(themeNone)
{
    for (COLORREF& c : m_standard)
        c = 0;
    for (int i = 0; i < kThemeColorCount; i++)
        m_custom[i] = m_theme[i] = (COLORREF)-1;
    Refresh();
    m_gradients[7].color1.standard = 0x8CD5FF;
    m_gradients[7].color2.standard = 0x55ADFF;
    m_gradients[8].color1.standard = 0x4B8EFE;
    m_gradients[8].color2.standard = 0x8BCFFF;
    m_gradients[9].color1.standard = 0xC8F2FF;
    m_gradients[9].color2.standard = 0x97D4FF;
}

BOOL CSFSkinPalette::IsLowColorDisplay(HDC dc)
{
    HWND desktop = ::GetDesktopWindow();
    HDC probe = dc ? dc : ::GetDC(desktop);
    int bits = probe ? ::GetDeviceCaps(probe, BITSPIXEL) : 0;
    if (!dc && probe)
        ::ReleaseDC(desktop, probe);
    return bits >= 1 && bits <= 8;
}

COLORREF CSFSkinPalette::MixColors(COLORREF a, COLORREF b, int weight)
{
    int scale = weight < 100 ? 100 : 1000;
    auto mix = [&](int x, int y) { return (x * weight + y * (scale - weight) + scale / 2) / scale; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

int CSFSkinPalette::DetectTheme(const CString& themeFile, const CString& colorName, BOOL allowRoyale,
                                BOOL allowAero)
{
    CString file(themeFile), color(colorName);
    file.MakeLower();
    color.MakeLower();
    if (file.Find(L"luna.msstyles") >= 0 || file.Find(L"winxp.luna.cjstyles") >= 0)
    {
        if (color == L"normalcolor")
            return themeLunaBlue;
        if (color == L"homestead")
            return themeLunaOlive;
        if (color == L"metallic")
            return themeLunaSilver;
    }
    if (allowRoyale && (file.Find(L"royale.msstyles") >= 0 || file.Find(L"winxp.royale.cjstyles") >= 0))
        return themeRoyale;
    if (allowAero && file.Find(L"aero.msstyles") >= 0)
        return themeAero;
    return themeNone;
}

int CSFSkinPalette::DetectCurrentTheme()
{
    CSFUxThemeLibrary uxtheme(TRUE);
    if (!uxtheme.IsThemeActive() || IsLowColorDisplay(NULL))
        return themeNone;
    wchar_t file[260] = L"", color[260] = L"", size[260] = L"";
    if (FAILED(uxtheme.GetCurrentThemeName(file, 260, color, 260, size, 260)))
        return themeNone;
    return DetectTheme(file, color, m_allowRoyale, m_allowAero);
}

void CSFSkinPalette::Refresh()
{
    m_detectedTheme = DetectCurrentTheme();
    m_standard[0] = 0;
    for (int i = 1; i < kStandardCount; i++)
        m_standard[i] = m_colorSource ? m_colorSource(i) : ::GetSysColor(i);
    // Nothing in the program reads theme colours of its own; the detected
    // theme is what callers ask for.
    for (COLORREF& c : m_theme)
        c = (COLORREF)-1;
}

COLORREF CSFSkinPalette::GetStandardColor(int index) const
{
    return index >= 0 && index < kStandardCount ? m_standard[index] : (COLORREF)-1;
}

COLORREF CSFSkinPalette::GetThemeColor(int index) const
{
    return index >= 0 && index < kThemeColorCount ? m_theme[index] : (COLORREF)-1;
}

CSFSkinPalette* GetSkinPalette()
{
    static CSFSkinPalette palette;
    return &palette;
}
