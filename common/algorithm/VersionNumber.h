// Module version numbers of the update files: up to four decimal integers
// separated by "." ("1.2.0.7"); missing or unreadable parts count as 0, and
// "-1.0.0.0" stands for a module that is not installed.
#pragma once

#include "Framework.h"

// The four parts of a version text.
void ParseVersion(LPCWSTR text, int parts[4]);
// 1 when a > b, 0 when equal, -1 when a < b: the parts are compared from the
// left as signed integers and the first difference decides.
int CompareVersion(LPCWSTR a, LPCWSTR b);

// The version of a module that is not installed.
extern const wchar_t NOT_INSTALLED_VERSION[];
