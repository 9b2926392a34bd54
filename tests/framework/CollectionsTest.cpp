// Lists, arrays and maps as the program uses them.
#include "Framework.h"
#include <gtest/gtest.h>
#include <set>

namespace
{
template <typename F> bool ThrowsInvalidArg(F f)
{
    try
    {
        f();
    }
    catch (CException* e)
    {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)) != FALSE;
        e->Delete();
        return ok;
    }
    return false;
}

CString Walk(const CPtrList& list)
{
    CString out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out += (wchar_t)(INT_PTR)list.GetNext(pos);
    return out;
}
} // namespace

TEST(PtrList, OrderInsertionAndRemovalWhileWalking)
{
    CPtrList list(10);
    list.AddTail((void*)L'b');
    list.AddTail((void*)L'c');
    list.AddHead((void*)L'a');
    POSITION c = list.Find((void*)L'c');
    ASSERT_NE(nullptr, c);
    list.InsertBefore(c, (void*)L'X');
    list.InsertAfter(c, (void*)L'd');
    list.InsertAfter(NULL, (void*)L'e');
    EXPECT_STREQ(L"abXcde", Walk(list));
    EXPECT_EQ(6, list.GetCount());
    EXPECT_EQ((void*)L'X', list.GetAt(list.FindIndex(2)));
    EXPECT_EQ(nullptr, list.FindIndex(6));

    // Remove every upper-case entry while walking, the way callers do it.
    for (POSITION pos = list.GetHeadPosition(); pos;)
    {
        POSITION here = pos;
        wchar_t ch = (wchar_t)(INT_PTR)list.GetNext(pos);
        if (iswupper(ch))
            list.RemoveAt(here);
    }
    EXPECT_STREQ(L"abcde", Walk(list));

    CString backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards += (wchar_t)(INT_PTR)list.GetPrev(pos);
    EXPECT_STREQ(L"edcba", backwards);

    EXPECT_EQ((void*)L'a', list.RemoveHead());
    EXPECT_EQ((void*)L'e', list.RemoveTail());
    list.SetAt(list.GetHeadPosition(), (void*)L'B');
    EXPECT_STREQ(L"Bcd", Walk(list));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}

TEST(PtrList, MisuseThrowsInvalidArgument)
{
    CPtrList list;
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetAt(NULL); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveAt(NULL); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveHead(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetTail(); }));
}

TEST(Arrays, GrowInsertRemove)
{
    CArray<int, int> a;
    a.SetSize(3, 8);
    EXPECT_EQ(3, a.GetSize());
    EXPECT_EQ(0, a[0] + a[1] + a[2]); // new elements are zero
    a[1] = 5;
    EXPECT_EQ(3, a.Add(7));
    a.InsertAt(0, 9, 2);
    a.InsertAt(8, 1); // past the end: grows with zeros first
    // 9 9 0 5 0 7 0 0 1
    EXPECT_EQ(8, a.GetUpperBound());
    EXPECT_EQ(1, a.GetAt(8));
    a.RemoveAt(2, 3);
    a.SetAtGrow(7, 4);
    const int expected[] = {9, 9, 7, 0, 0, 1, 0, 4};
    ASSERT_EQ((INT_PTR)_countof(expected), a.GetCount());
    for (int i = 0; i < (int)_countof(expected); ++i)
        EXPECT_EQ(expected[i], a.GetData()[i]) << i;
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(8); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(7, 2); }));

    CStringArray s;
    s.Add(L"x");
    s.Add(CString(L"y"));
    s.Add(s[0]); // an element of the array itself
    CStringArray t;
    t.Copy(s);
    t.Append(s);
    EXPECT_EQ(6, t.GetSize());
    EXPECT_STREQ(L"x", t[5]);
    CDWordArray d;
    d.Add(0xFFFFFFFF);
    EXPECT_EQ(0xFFFFFFFFu, d[0]);
    CPtrArray p;
    p.SetSize(2);
    EXPECT_EQ(nullptr, p[1]);
}

TEST(Maps, LookupReplaceAndRemoveWhileWalking)
{
    CMapStringToString map;
    map.InitHashTable(10);
    const wchar_t* keys[] = {L"alpha", L"beta", L"gamma", L"delta", L"\x4F60\x597D", L"epsilon"};
    for (const wchar_t* k : keys)
        map.SetAt(k, CString(k) + L"!");
    map[L"beta"] = L"B";
    EXPECT_EQ(6, map.GetCount());
    CString v;
    EXPECT_TRUE(map.Lookup(L"beta", v));
    EXPECT_STREQ(L"B", v);
    EXPECT_TRUE(map.Lookup(L"\x4F60\x597D", v));
    EXPECT_FALSE(map.Lookup(L"Beta", v)); // keys are case-sensitive

    // Every key is visited once; removing the key just returned is safe.
    std::set<std::wstring> seen;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        CString k, val;
        map.GetNextAssoc(pos, k, val);
        seen.insert(k.GetString());
        if (k.GetLength() > 4)
        {
            EXPECT_TRUE(map.RemoveKey(k));
        }
    }
    EXPECT_EQ(6u, seen.size());
    EXPECT_EQ(2, map.GetCount());
    EXPECT_TRUE(map.Lookup(L"beta", v));
    EXPECT_FALSE(map.RemoveKey(L"alpha"));

    // Resizing the table keeps the entries.
    map.InitHashTable(199);
    EXPECT_TRUE(map.Lookup(L"\x4F60\x597D", v));
    EXPECT_EQ(199u, map.GetHashTableSize());

    POSITION none = NULL;
    CString k;
    EXPECT_TRUE(ThrowsInvalidArg([&] { map.GetNextAssoc(none, k, v); }));
}

TEST(Maps, OrderFollowsBuckets)
{
    // Keys whose hashes land in buckets 1, 2, 3 of a 17-bucket table are
    // visited in bucket order whatever the order of insertion.
    CMapStringToPtr map(10);
    ASSERT_EQ(1u, HashKey(L"\x0001") % 17);
    map[L"\x0003"] = (void*)3;
    map[L"\x0001"] = (void*)1;
    map[L"\x0002"] = (void*)2;
    map[L"\x0012"] = (void*)18; // bucket 1 as well, added last: visited first in it
    INT_PTR order[4] = {};
    int n = 0;
    for (POSITION pos = map.GetStartPosition(); pos && n < 4;)
    {
        CString k;
        void* p;
        map.GetNextAssoc(pos, k, p);
        order[n++] = (INT_PTR)p;
    }
    EXPECT_EQ(18, order[0]);
    EXPECT_EQ(1, order[1]);
    EXPECT_EQ(2, order[2]);
    EXPECT_EQ(3, order[3]);

    CMap<CString, LPCWSTR, int, int> generic;
    generic[L"a"] = 1;
    int value = 0;
    EXPECT_TRUE(generic.Lookup(L"a", value));
    EXPECT_EQ(1, value);
    CMap<DWORD, DWORD, CString, LPCWSTR> byId;
    byId.SetAt(1234, L"x");
    EXPECT_STREQ(L"x", byId[1234]);
}

TEST(Maps, TableGrowsWithTheKeys)
{
    // A table that stayed at 17 buckets made each insert walk thousands of
    // keys here; a growing one keeps the chains short.
    CMapStringToPtr map;
    const int kKeys = 100000;
    for (INT_PTR i = 0; i < kKeys; ++i)
        map[(L"key" + std::to_wstring(i)).c_str()] = (void*)i;
    EXPECT_EQ(kKeys, map.GetCount());
    EXPECT_GE(map.GetHashTableSize(), (UINT)kKeys / 2);
    int wrong = 0;
    for (INT_PTR i = 0; i < kKeys; i += 7)
    {
        void* value = nullptr;
        if (!map.Lookup((L"key" + std::to_wstring(i)).c_str(), value) || value != (void*)i)
            ++wrong;
    }
    EXPECT_EQ(0, wrong);
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++visited)
    {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
    }
    EXPECT_EQ(kKeys, visited);
    EXPECT_TRUE(map.RemoveKey(L"key99999"));
    EXPECT_EQ(kKeys - 1, map.GetCount());
}
