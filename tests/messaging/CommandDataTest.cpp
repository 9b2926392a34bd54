// The command record's rules: slots are never null, assignment copies by
// byte length and skips self-assignment, copies are deep, and the library
// refuses to send without a session.
#include "Vossel.h"
#include <gtest/gtest.h>

namespace
{
CommandText* Slots(CommandData& r, int i)
{
    CommandText* all[] = {&r.s1, &r.s2, &r.s3, &r.s4, &r.s5, &r.s6, &r.s7, &r.s8};
    return all[i];
}
} // namespace

TEST(CommandDataTest, NewRecordHasEightEmptyNonNullSlotsAndNoCommand)
{
    CommandData r;
    for (int i = 0; i < 8; ++i)
    {
        ASSERT_NE(nullptr, Slots(r, i)->m_str) << "slot " << i + 1;
        EXPECT_EQ(0u, Slots(r, i)->Length());
        EXPECT_EQ(L'\0', Slots(r, i)->m_str[0]);
    }
    EXPECT_EQ(0, r.extra);
    EXPECT_EQ(0, r.code);
    // The record is the virtual table and nine words: the layout both sides share.
    EXPECT_EQ(sizeof(void*) + 8 * sizeof(BSTR) + 2 * sizeof(int), sizeof(CommandData));
}

TEST(CommandDataTest, AssigningCopiesTheTextByByteLength)
{
    CommandText a;
    a = L"abc";
    BSTR withNul = SysAllocStringLen(L"x\0y", 3); // an inner zero is part of the text
    CommandText b;
    SysFreeString(b.m_str);
    b.m_str = withNul;
    a = b;
    EXPECT_NE(a.m_str, b.m_str);
    ASSERT_EQ(3u, a.Length());
    EXPECT_EQ(0, memcmp(a.m_str, L"x\0y", 3 * sizeof(wchar_t)));

    // An odd byte length survives the copy too.
    BSTR odd = SysAllocStringByteLen("abc", 3);
    CommandText c;
    SysFreeString(c.m_str);
    c.m_str = odd;
    CommandText d(c);
    EXPECT_EQ(3u, SysStringByteLen(d.m_str));
}

TEST(CommandDataTest, SelfAssignmentKeepsTheAllocationAndNullBecomesEmpty)
{
    CommandText a;
    a = L"song";
    BSTR before = a.m_str;
    a = a;
    EXPECT_EQ(before, a.m_str);
    a = a.m_str; // the same allocation given as a text
    EXPECT_EQ(before, a.m_str);
    EXPECT_STREQ(L"song", a.m_str);
    a = static_cast<const wchar_t*>(nullptr);
    ASSERT_NE(nullptr, a.m_str);
    EXPECT_EQ(0u, a.Length());
}

TEST(CommandDataTest, CopyOfARecordIsDeepAndKeepsCodeAndExtra)
{
    CommandData original;
    original.code = 12;
    original.extra = 7;
    for (int i = 0; i < 8; ++i)
        *Slots(original, i) = (L"slot" + std::to_wstring(i + 1)).c_str();
    CommandData* copy = new CommandData(original);
    EXPECT_EQ(12, copy->code);
    EXPECT_EQ(7, copy->extra);
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_NE(Slots(original, i)->m_str, Slots(*copy, i)->m_str);
        EXPECT_STREQ(Slots(original, i)->m_str, Slots(*copy, i)->m_str);
    }
    original.s1 = L"changed";
    EXPECT_STREQ(L"slot1", copy->s1.m_str);
    delete copy; // through the virtual destructor, as the receiver frees it
}

TEST(CommandDataTest, CallsWithoutASessionDoNothing)
{
    CommandData r;
    r.code = 24;
    EXPECT_EQ(-1, yebJinPushCommand(r));
    EXPECT_EQ(-1, yebJinMessage(L"bob@yeb.test", L"hello"));
    yebJinCancelOldSession();
    yebJinRelease(0);
}
