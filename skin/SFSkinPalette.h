// The process-wide colour manager: the system colours, the Windows visual
// style in force, colour mixing, and the one question the skin manager asks
// before loading a skin: is the display limited to 256 colours or fewer.
#pragma once
#include <Framework.h>

class CSFSkinPalette : public CCmdTarget
{
    DECLARE_DYNAMIC(CSFSkinPalette)
public:
    // A colour given as a standard colour and a custom one (-1: unset).
    struct ColorRecord
    {
        COLORREF standard = (COLORREF)-1;
        COLORREF custom = (COLORREF)-1;
        virtual ~ColorRecord() {}
        virtual void Serialize(CArchive& ar);
    };
    struct GradientRecord
    {
        ColorRecord color1, color2;
        float factor = 0.5f;
        virtual ~GradientRecord() {}
        virtual void Serialize(CArchive& ar);
    };
    enum Theme
    {
        themeNone = 0,
        themeLunaBlue = 1,
        themeLunaOlive = 2,
        themeLunaSilver = 3,
        themeRoyale = 4,
        themeAero = 5,
    };
    enum
    {
        kGradientCount = 10,
        kStandardCount = 30,
        kThemeColorCount = 63,
        kFollowTheme = 6,
    };

    CSFSkinPalette();

    // BITSPIXEL of the DC (the desktop's when NULL) is 1..8.
    static BOOL IsLowColorDisplay(HDC dc);
    // Per channel (a * weight + b * (scale - weight) + scale / 2) / scale with
    // scale 100 for weights below 100, else 1000 (per mille).
    static COLORREF MixColors(COLORREF a, COLORREF b, int weight);
    // The visual style a theme file and colour scheme stand for (0 when none).
    static int DetectTheme(const CString& themeFile, const CString& colorName, BOOL allowRoyale, BOOL allowAero);

    // Detects the Windows theme, reloads the standard colours and
    // recomputes the theme colours.
    void Refresh();
    int GetDetectedTheme() const { return m_detectedTheme; }
    COLORREF GetStandardColor(int index) const;
    COLORREF GetThemeColor(int index) const;
    const GradientRecord& GetGradient(int index) const { return m_gradients[index]; }
    void SetColorSource(COLORREF (*source)(int)) { m_colorSource = source; }

    BOOL m_allowRoyale;
    BOOL m_allowAero;
    BOOL m_forcePlain;
    int m_themeSetting;

private:
    int DetectCurrentTheme();

    GradientRecord m_gradients[kGradientCount];
    COLORREF m_standard[kStandardCount];
    COLORREF m_custom[kThemeColorCount];
    COLORREF m_theme[kThemeColorCount];
    COLORREF (*m_colorSource)(int);
    int m_detectedTheme;
};

CSFSkinPalette* GetSkinPalette();
