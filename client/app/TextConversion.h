// Text conversions into caller buffers and two predicates for searches in
// lists of texts.
#pragma once

#include "Framework.h"

// Converts a zero-terminated text with the code page into out (room for
// outLength characters, terminator included). Null arguments give null; out
// starts empty; the result is out, or null when the conversion fails (also
// when the text does not fit: out then holds an empty text, never a cut one).
wchar_t* MultiByteToWideBuf(wchar_t* out, const char* text, int outLength, UINT codePage);
char* WideToMultiByteBuf(char* out, const wchar_t* text, int outLength, UINT codePage);

// A pair of texts handed to a worker thread as its argument: first a copy of
// the text, second empty. The receiver deletes it.
struct StringPair
{
    CString first;
    CString second;
};
StringPair* NewStringPair(LPCWSTR text);

// 1 when a and b are equal (case-sensitive), else 0.
int StringEquals(const CString& a, const CString& b);
// 1 when a and text differ (case-sensitive), else 0.
int StringDiffers(const CString& a, LPCWSTR text);
