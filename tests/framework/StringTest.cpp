// CString / CStringA behaviour and code-page conversion.
#include "Framework.h"
#include <gtest/gtest.h>

namespace
{
const wchar_t kChinese[] = L"\x4F60\x597D\xFF0C\x4E16\x754C"; // "你好，世界"
const wchar_t kNote[] = L"A\xD83C\xDFB5Z";                    // "A", U+1F3B5, "Z"
} // namespace

TEST(Convert, AnsiCodePageIs936)
{
    EXPECT_EQ(936u, GetACP());
}

TEST(Convert, Utf8RoundTripsChineseAndSurrogatePairs)
{
    CStringA utf8 = FwToUtf8(kChinese);
    EXPECT_EQ(CStringA("\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C"), utf8);
    EXPECT_EQ(CString(kChinese), FwFromUtf8(utf8));

    CStringA note = FwToUtf8(kNote);
    EXPECT_EQ(CStringA("A\xF0\x9F\x8E\xB5Z"), note);
    CString back = FwFromUtf8(note);
    EXPECT_EQ(4, back.GetLength());
    EXPECT_EQ(CString(kNote), back);
    EXPECT_EQ(CString(kNote), CString(CA2W(CW2A(kNote, CP_UTF8), CP_UTF8)));
}

TEST(Convert, AnsiRoundTripsChinese)
{
    CStringA gbk = FwToAnsi(kChinese);
    EXPECT_EQ(CStringA("\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7"), gbk);
    EXPECT_EQ(CString(kChinese), FwFromAnsi(gbk));
    // The narrow constructor and assignment read the ANSI code page.
    CString fromNarrow(gbk.GetString());
    EXPECT_EQ(CString(kChinese), fromNarrow);
    CStringA narrowed(fromNarrow);
    EXPECT_EQ(gbk, narrowed);
    // A character the code page lacks becomes '?' rather than vanishing.
    EXPECT_EQ(CStringA("A?Z"), FwToAnsi(kNote).Left(1) + "?" + FwToAnsi(kNote).Right(1));
}

TEST(StringFormat, WideFollowsWindowsRuntime)
{
    struct Case
    {
        const wchar_t* expected;
        CString actual;
    };
    auto f = [](const wchar_t* fmt, auto... args) {
        CString s;
        s.Format(fmt, args...);
        return s;
    };
    const Case cases[] = {
        {L"[wide]", f(L"[%s]", L"wide")},
        {L"[narrow]", f(L"[%S]", "narrow")},
        {L"[narrow]", f(L"[%hs]", "narrow")},
        {L"[wide]", f(L"[%ls]", L"wide")},
        {L"[wide]", f(L"[%ws]", L"wide")},
        {L"[\x4F60\x597D]", f(L"[%S]", "\xC4\xE3\xBA\xC3")},
        {L"x=y", f(L"%c=%C", L'x', 'y')},
        {L"-42 4294967254 42", f(L"%d %u %i", -42, -42, 42)},
        {L"ff FF 0xff 17", f(L"%x %X %#x %o", 255, 255, 255, 15)},
        {L"0A|  7|7  |007", f(L"%02X|%3d|%-3d|%.3d", 10, 7, 7, 7)},
        {L"-9223372036854775807 18446744073709551615 FFFFFFFFFFFF",
         f(L"%I64d %I64u %I64X", -9223372036854775807LL, 18446744073709551615ULL, 0xFFFFFFFFFFFFULL)},
        {L"123456789012 -5", f(L"%lld %ld", 123456789012LL, -5L)},
        {L"4294967295", f(L"%lu", 4294967295UL)},
        {L" 3.14|3.142e+00|0.5|2.5", f(L"%5.2f|%.3e|%g|%g", 3.14159, 3.14159, 0.5, 2.5)},
        {L"100%", f(L"%d%%", 100)},
        {L"   ab|ab   |abc", f(L"%5s|%-5s|%.3s", L"ab", L"ab", L"abcdef")},
        {L"  42|42", f(L"%*d|%.*s", 4, 42, 2, L"42xx")},
        {L"+5 -5  5", f(L"%+d %+d % d", 5, -5, 5)},
        // %p prints as many hexadecimal digits as a pointer has.
        {sizeof(void*) == 8 ? L"000000000012FF7C" : L"0012FF7C", f(L"%p", (void*)0x0012FF7C)},
        {L"(null)", f(L"%s", (const wchar_t*)NULL)},
        {L"-0042", f(L"%05d", -42)},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, c.actual) << c.expected;
}

TEST(StringFormat, NarrowFollowsWindowsRuntime)
{
    CStringA s;
    s.Format("[%s][%S][%d][%02X][%I64u][%c%C]", "narrow", L"wide", -7, 0xA, 12345678901ULL, 'a', L'b');
    EXPECT_STREQ("[narrow][wide][-7][0A][12345678901][ab]", s);
    s.Format("%S", kChinese);
    EXPECT_EQ(FwToAnsi(kChinese), s);
    s.AppendFormat("%s%d", "+", 1);
    EXPECT_EQ(FwToAnsi(kChinese) + "+1", s);

    CString w(L"x");
    w.AppendFormat(L"%d-%s", 5, L"y");
    EXPECT_STREQ(L"x5-y", w);
    // CString arguments go in as their text, as callers expect.
    CString name(L"Ann");
    CStringA narrowName("Bo");
    w.Format(L"%s/%S/%s", name, narrowName, CString(L"tmp"));
    EXPECT_STREQ(L"Ann/Bo/tmp", w);
    s.Format("%s|%S", narrowName, name);
    EXPECT_STREQ("Bo|Ann", s);
}

TEST(String, SearchAndExtract)
{
    CString s(L"Hello, World, Hello");
    EXPECT_EQ(0, s.Find(L"Hello"));
    EXPECT_EQ(14, s.Find(L"Hello", 1));
    EXPECT_EQ(-1, s.Find(L"Hello", 15));
    EXPECT_EQ(4, s.Find(L'o'));
    EXPECT_EQ(8, s.Find(L'o', 5));
    EXPECT_EQ(-1, s.Find(L'o', 100));
    EXPECT_EQ(18, s.ReverseFind(L'o'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(5, s.FindOneOf(L",W"));
    EXPECT_STREQ(L"Hello", s.Left(5));
    EXPECT_STREQ(L"World, Hello", s.Mid(7));
    EXPECT_STREQ(L"World", s.Mid(7, 5));
    EXPECT_STREQ(L"Hello", s.Right(5));
    // Out-of-range counts are clamped, never overrun.
    EXPECT_STREQ(L"", s.Left(-1));
    EXPECT_EQ(s, s.Left(1000));
    EXPECT_STREQ(L"", s.Mid(1000));
    EXPECT_STREQ(L"Hello, World, Hello", s.Mid(-3));
    EXPECT_EQ(s, s.Right(1000));
    EXPECT_STREQ(L"Hell", CString(L"Hello").SpanIncluding(L"Hel"));
    EXPECT_STREQ(L"Hello", s.SpanExcluding(L",;"));
    EXPECT_EQ(L'W', s[7]);
    EXPECT_EQ(L'W', s.GetAt(7));
    EXPECT_THROW(
        try { s.GetAt(100); } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
            e->Delete();
            throw 1;
        },
        int);
}

TEST(String, ChangesInPlace)
{
    CString s(L"a-b-c");
    EXPECT_EQ(2, s.Replace(L'-', L'+'));
    EXPECT_STREQ(L"a+b+c", s);
    EXPECT_EQ(2, s.Replace(L"+", L"<->"));
    EXPECT_STREQ(L"a<->b<->c", s);
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(2, s.Replace(L"<->", L""));
    EXPECT_STREQ(L"abc", s);
    EXPECT_EQ(1, s.Remove(L'b'));
    EXPECT_EQ(3, s.Insert(1, L'B'));
    EXPECT_EQ(5, s.Insert(100, L"yz"));
    EXPECT_STREQ(L"aBcyz", s);
    EXPECT_EQ(3, s.Delete(3, 10));
    EXPECT_STREQ(L"aBc", s);
    EXPECT_STREQ(L"abc", CString(s).MakeLower());
    EXPECT_STREQ(L"ABC", CString(s).MakeUpper());
    EXPECT_STREQ(L"cBa", CString(s).MakeReverse());
    EXPECT_STREQ(L"\x00E9", CString(L"\x00C9").MakeLower()); // beyond ASCII in wide text

    EXPECT_STREQ(L"x y", CString(L" \t x y\r\n").Trim());
    EXPECT_STREQ(L"x y\r\n", CString(L" \t x y\r\n").TrimLeft());
    EXPECT_STREQ(L"x", CString(L"--x--").Trim(L'-'));
    EXPECT_STREQ(L"x", CString(L"-+x+-").Trim(L"+-"));
    EXPECT_STREQ(L"-+x", CString(L"-+x+-").TrimRight(L"+-"));
    EXPECT_STREQ(L"", CString(L"----").Trim(L'-'));

    // 8-bit case folding leaves double-byte characters of code page 936 whole
    // (0xC4 0x41 would otherwise become 0xC4 0x61).
    CStringA gbk("\xC4"
                 "AAb");
    EXPECT_STREQ("\xC4\x41"
                 "ab",
                 gbk.MakeLower());
}

TEST(String, CompareTokenizeAndBuffers)
{
    CString a(L"apple"), b(L"Banana");
    EXPECT_LT(0, a.Compare(b)); // ordinal: 'a' > 'B'
    EXPECT_GT(0, a.CompareNoCase(b));
    EXPECT_EQ(0, CString(L"ABC").CompareNoCase(L"abc"));
    EXPECT_TRUE(a == L"apple");
    EXPECT_TRUE(L"apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a + L"!" == CString(L"apple!"));
    EXPECT_TRUE(L'<' + a + L'>' == L"<apple>");
    CStringA n("abc");
    EXPECT_TRUE(n == "abc");
    EXPECT_TRUE(n + "d" == "abcd");

    CString list(L"  one, two;;three  ");
    int pos = 0;
    CString tokens;
    for (CString t = list.Tokenize(L" ,;", pos); pos != -1; t = list.Tokenize(L" ,;", pos))
        tokens += L"[" + t + L"]";
    EXPECT_STREQ(L"[one][two][three]", tokens);

    CString buf;
    wchar_t* p = buf.GetBuffer(MAX_PATH);
    wcscpy(p, L"filled");
    buf.ReleaseBuffer();
    EXPECT_EQ(6, buf.GetLength());
    p = buf.GetBufferSetLength(3);
    p[2] = L'X';
    buf.ReleaseBuffer();
    EXPECT_STREQ(L"fiX", buf);
    buf.GetBuffer(10);
    buf.ReleaseBuffer(1);
    EXPECT_STREQ(L"f", buf);

    BSTR bstr = CString(kChinese).AllocSysString();
    ASSERT_NE(nullptr, bstr);
    EXPECT_EQ(5u, SysStringLen(bstr));
    EXPECT_STREQ(kChinese, bstr);
    CString(L"second").SetSysString(&bstr);
    EXPECT_STREQ(L"second", bstr);
    SysFreeString(bstr);
}

TEST(String, LoadsFromTheStringTable)
{
    CString s;
    EXPECT_TRUE(s.LoadString(101));
    EXPECT_STREQ(L"Hello %s, you have %d songs", s);
    s.Format(101, L"Ann", 3);
    EXPECT_STREQ(L"Hello Ann, you have 3 songs", s);
    EXPECT_STREQ(L"\x4F60\x597D", CString(MAKEINTRESOURCEW(102)));
    EXPECT_TRUE(s.LoadString(117));
    EXPECT_STREQ(L"second block", s);
    EXPECT_FALSE(s.LoadString(999));
    CStringA narrow;
    EXPECT_TRUE(narrow.LoadString(102));
    EXPECT_STREQ("\xC4\xE3\xBA\xC3", narrow);
}
