#include "VersionNumber.h"

#include <stdio.h>

const wchar_t NOT_INSTALLED_VERSION[] = L"-1.0.0.0";

void ParseVersion(LPCWSTR text, int parts[4])
{
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    if (text && *text)
        swscanf(text, L"%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]);
}

int CompareVersion(LPCWSTR a, LPCWSTR b)
{
    int left[4], right[4];
    ParseVersion(a, left);
    ParseVersion(b, right);
    for (int i = 0; i < 4; ++i)
    {
        if (left[i] > right[i])
            return 1;
        if (left[i] < right[i])
            return -1;
    }
    return 0;
}
