#include "FirstTextSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// The texts of items that are the first of their text, entered in order into
// a set made for expected items.
std::vector<CString> FirstOnes(const std::vector<CString>& items, size_t expected)
{
    std::vector<CString> kept;
    auto textAt = [&](size_t i) -> const CString& { return kept[i]; };
    CFirstTextSet set(expected);
    for (const CString& item : items)
    {
        kept.push_back(item);
        if (!set.Insert(kept.size() - 1, kept.back(), textAt))
            kept.pop_back();
    }
    return kept;
}

} // namespace

TEST(FirstTextSet, KeepsTheFirstOfEachTextInOrder)
{
    // Exact comparison: case, an empty text and a text that only differs past
    // its start all count as their own.
    EXPECT_EQ((std::vector<CString>{L"b", L"a", L"A", L"", L"ab"}),
              FirstOnes({L"b", L"a", L"A", L"", L"a", L"b", L"ab", L"", L"ab"}, 0));

    // Far more items than expected, each twice (the set grows while full of
    // entries), and an id-like text of every value.
    std::vector<CString> items;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 5000; ++i)
        {
            CString id;
            id.Format(L"ID%030d", i * 7919 % 5000);
            items.push_back(id);
        }
    std::vector<CString> kept = FirstOnes(items, 3);
    ASSERT_EQ(5000u, kept.size());
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(items[i], kept[i]);
}
