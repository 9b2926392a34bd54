// Texts of the song pane's lists built from language texts with printf-like
// fields. The fields are filled from typed values in order, so a language
// file whose fields do not match the values can never read past them.
#pragma once

#include "Framework.h"

#include <initializer_list>

struct ListTextArg
{
    ListTextArg(const CString& t) : text(t), number(0), isNumber(false) {}
    ListTextArg(LPCWSTR t) : text(t), number(0), isNumber(false) {}
    ListTextArg(int n) : number(n), isNumber(true) {}
    CString text;
    int number;
    bool isNumber;
};

// "%s" takes a text, "%d" (with flags, width and precision, e.g. "%.2d") a
// number; "%%" is a percent sign. A field without a value is left out; a
// number given to "%s" is written in decimal, a text given to "%d" as it is.
CString FormatListText(const CString& format, std::initializer_list<ListTextArg> args);

// "Load language file fails!" in a plain message box, where a list needs a
// language text that is missing. Tests replace the box.
extern void (*g_showMissingLanguage)();
void ShowMissingLanguage();
