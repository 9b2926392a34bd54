// The system's visual-styles library, called without linking to it: each
// entry point is looked up on first use and every call is guarded, so the
// program runs the same where the library is missing or misbehaves.
#pragma once
#include <Framework.h>

typedef HANDLE SFHTHEME;

class CSFUxThemeLibrary
{
public:
    // A following wrapper notices when another UXTHEME module has taken the
    // place of the one it looked its entry points up in.
    explicit CSFUxThemeLibrary(BOOL followModule);
    // A wrapper over another library (tests name one that lacks the entry points).
    CSFUxThemeLibrary(BOOL followModule, LPCWSTR libraryName);
    ~CSFUxThemeLibrary();
    CSFUxThemeLibrary(const CSFUxThemeLibrary&) = delete;
    CSFUxThemeLibrary& operator=(const CSFUxThemeLibrary&) = delete;

    // Closes a held theme first; the result becomes the held theme.
    SFHTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
    void CloseThemeData();
    HRESULT GetCurrentThemeName(LPWSTR file, int cchFile, LPWSTR color, int cchColor, LPWSTR size, int cchSize);
    HRESULT GetThemeColor(int part, int state, int property, COLORREF* color);
    BOOL IsAppThemed();
    BOOL IsThemeActive();
    SFHTHEME GetTheme() const { return m_theme; }

    struct EntryTable;

private:
    void Follow();

    SFHTHEME m_theme;
    BOOL m_followModule;
    EntryTable* m_table;
    BOOL m_ownsTable;
};
