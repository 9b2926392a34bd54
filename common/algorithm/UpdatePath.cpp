#include "UpdatePath.h"

#include <wchar.h>

namespace
{

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDeviceName(const wchar_t* level, size_t length)
{
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    // The device meaning holds also with an extension ("nul.txt").
    size_t stem = 0;
    while (stem < length && level[stem] != L'.')
        ++stem;
    for (const wchar_t* device : devices)
        if (wcslen(device) == stem && _wcsnicmp(level, device, stem) == 0)
            return true;
    if (stem == 4 && (_wcsnicmp(level, L"COM", 3) == 0 || _wcsnicmp(level, L"LPT", 3) == 0) &&
        level[3] >= L'0' && level[3] <= L'9')
        return true;
    return false;
}

bool IsSafeLevel(const wchar_t* level, size_t length)
{
    if (length == 0 || length > 255)
        return false;
    if (level[length - 1] == L'.' || level[length - 1] == L' ')
        return false; // also "." and ".."
    for (size_t i = 0; i < length; ++i)
    {
        wchar_t c = level[i];
        if (c < 0x20 || wcschr(L"<>:\"|?*", c))
            return false;
    }
    return !IsDeviceName(level, length);
}

} // namespace

BOOL IsSafeRelativePath(LPCWSTR relative, BOOL allowFolder)
{
    if (!relative || !*relative || IsSeparator(relative[0]))
        return FALSE;
    const wchar_t* level = relative;
    for (const wchar_t* p = relative;; ++p)
    {
        if (*p == 0 || IsSeparator(*p))
        {
            size_t length = (size_t)(p - level);
            if (*p == 0 && length == 0)
                return allowFolder; // the path ended with a separator
            if (!IsSafeLevel(level, length))
                return FALSE;
            if (*p == 0)
                return TRUE;
            level = p + 1;
        }
    }
}

BOOL IsSafeFileName(LPCWSTR name)
{
    if (!name || !*name)
        return FALSE;
    for (const wchar_t* p = name; *p; ++p)
        if (IsSeparator(*p))
            return FALSE;
    return IsSafeLevel(name, wcslen(name));
}

BOOL BuildUpdateTarget(LPCWSTR folder, LPCWSTR dest, LPCWSTR middle, LPCWSTR name, CString& target)
{
    CString destText = dest ? dest : L"";
    if (!destText.IsEmpty() && (!IsSeparator(destText[destText.GetLength() - 1]) || !IsSafeRelativePath(destText, TRUE)))
        return FALSE;
    if (!IsSafeRelativePath(name))
        return FALSE;
    CString base = folder ? folder : L"";
    if (base.IsEmpty() || base[base.GetLength() - 1] != L'\\')
        return FALSE;
    CString joined = base + destText + (middle ? middle : L"") + name;

    // The checks above keep the join inside the folder; the full paths confirm it.
    wchar_t fullBase[MAX_PATH * 2], fullTarget[MAX_PATH * 2];
    DWORD nb = GetFullPathNameW(base, MAX_PATH * 2, fullBase, nullptr);
    DWORD nt = GetFullPathNameW(joined, MAX_PATH * 2, fullTarget, nullptr);
    if (nb == 0 || nb >= MAX_PATH * 2 || nt == 0 || nt >= MAX_PATH * 2 || nt >= MAX_PATH)
        return FALSE;
    if (_wcsnicmp(fullBase, fullTarget, nb) != 0 || fullTarget[nb] == 0)
        return FALSE;
    target = joined;
    return TRUE;
}
