#include "SongListTexts.h"

#include <cwchar>
#include <vector>

namespace
{
void MissingLanguageBox()
{
    ::MessageBoxW(NULL, L"Load language file fails!", L"yeb360", MB_OK);
}
} // namespace

void (*g_showMissingLanguage)() = MissingLanguageBox;

void ShowMissingLanguage()
{
    if (g_showMissingLanguage)
        g_showMissingLanguage();
}

CString FormatListText(const CString& format, std::initializer_list<ListTextArg> args)
{
    std::vector<const ListTextArg*> values;
    for (const ListTextArg& a : args)
        values.push_back(&a);
    size_t next = 0;
    CString out;
    int n = format.GetLength();
    for (int i = 0; i < n; ++i)
    {
        wchar_t c = format[i];
        if (c != L'%')
        {
            out += c;
            continue;
        }
        if (i + 1 < n && format[i + 1] == L'%')
        {
            out += L'%';
            ++i;
            continue;
        }
        // Flags, width and precision up to the conversion letter.
        int j = i + 1;
        while (j < n && (wcschr(L"-+ #0123456789.", format[j]) != NULL))
            ++j;
        if (j >= n)
        {
            out += format.Mid(i);
            break;
        }
        wchar_t conversion = format[j];
        CString spec = format.Mid(i, j - i);
        const ListTextArg* value = next < values.size() ? values[next++] : NULL;
        if (value)
        {
            if ((conversion == L'd' || conversion == L'i') && value->isNumber)
            {
                CString piece;
                piece.Format(spec + L"d", value->number);
                out += piece;
            }
            else if (value->isNumber)
            {
                CString piece;
                piece.Format(L"%d", value->number);
                out += piece;
            }
            else
                out += value->text;
        }
        i = j;
    }
    return out;
}
