#include "BuddyList.h"

#include <gtest/gtest.h>

TEST(Buddy, IdAndEmailConversions)
{
    CString domain(MESSAGING_DOMAIN);
    struct
    {
        LPCWSTR text;
        BOOL isId;
        HRESULT hr;
        CString id;
    } toId[] = {
        {L"L@D.com", FALSE, S_OK, L"L$D.com@" + domain},
        {L"a@b@c", FALSE, S_OK, L"a$b$c@" + domain},
        {L"x$y", TRUE, S_OK, L"x$y"},
        {L"plain", FALSE, 1, L""},
        {L"a@b", TRUE, 1, L""},
    };
    for (auto& c : toId)
    {
        CString out = L"junk";
        EXPECT_EQ(c.hr, EmailToId(c.text, out, c.isId));
        EXPECT_STREQ(c.id, out);
    }
    CString email;
    EXPECT_EQ(S_OK, IdToEmail(L"L$D.com@" + domain, email));
    EXPECT_STREQ(L"L@D.com", email);
    EXPECT_EQ(S_OK, IdToEmail(L"a$b$c@" + domain, email));
    EXPECT_STREQ(L"a@b@c", email);
    EXPECT_EQ(1, IdToEmail(L"nodollar@x", email));
    EXPECT_STREQ(L"", email);

    CBuddyRecord record;
    record.SetId(L"me$mail.com@" + domain);
    EXPECT_STREQ(L"me@mail.com", record.GetEmail());
    CBuddyRecord byEmail;
    byEmail.SetEmail(L"me@mail.com");
    EXPECT_STREQ(record.GetId(), byEmail.GetId());
    BuddyFields fields;
    fields.id = L"f$g.h@" + domain;
    fields.firstAddress = L"1.2.3.4:5";
    CBuddyRecord full(fields);
    EXPECT_STREQ(L"f@g.h", full.GetEmail());
    EXPECT_STREQ(L"1.2.3.4:5", full.m_strFirstAddress);
}

TEST(Buddy, ListKeepsOneRecordPerId)
{
    CBuddyList list;
    CBuddyRecord a;
    a.SetEmail(L"a@x.com");
    a.m_strFirstText = L"first";
    list.AddOrUpdate(a);
    a.m_strFirstText = L"second";
    list.AddOrUpdate(a);
    CBuddyRecord b;
    b.SetEmail(L"b@x.com");
    list.AddOrUpdate(b);
    ASSERT_EQ(2, list.GetCount());
    CBuddyRecord out;
    ASSERT_EQ(S_OK, list.GetAt(0, out));
    EXPECT_STREQ(L"second", out.m_strFirstText);
    EXPECT_EQ(E_INVALIDARG, list.GetAt(2, out));
    EXPECT_EQ(E_INVALIDARG, list.GetAt(-1, out));

    EXPECT_EQ(1, list.Remove(L"c@x.com"));
    EXPECT_EQ(E_INVALIDARG, list.Remove(L"not-an-email"));
    EXPECT_EQ(E_INVALIDARG, list.Remove(L"no-dollar", TRUE));
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(S_OK, list.Remove(L"a@x.com"));
    EXPECT_EQ(S_OK, list.Remove(b.GetId(), TRUE));
    EXPECT_EQ(0, list.GetCount());
}
