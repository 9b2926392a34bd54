#include "RecordingMessaging.h"
#include <gtest/gtest.h>

RecordingMessaging* RecordingMessaging::current = nullptr;

namespace
{
void Add(const RecordedCall& call)
{
    if (RecordingMessaging::current)
        RecordingMessaging::current->calls.push_back(call);
}

int Push(CommandData& record)
{
    RecordedCall call;
    call.what = "push";
    call.code = record.code;
    call.extra = record.extra;
    const CommandText* slots[8] = {&record.s1, &record.s2, &record.s3, &record.s4,
                                   &record.s5, &record.s6, &record.s7, &record.s8};
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_NE(nullptr, slots[i]->m_str) << "a slot of a record to code " << record.code << " is null";
        call.s[i] = (BSTR)*slots[i];
    }
    Add(call);
    return 0;
}

RecordedCall Call(const char* what, const wchar_t* a, const wchar_t* b = L"", int flag = 0)
{
    RecordedCall call;
    call.what = what;
    call.s[0] = a ? a : L"";
    call.s[1] = b ? b : L"";
    call.flag = flag;
    return call;
}

void Accept(const wchar_t* requester, int accept)
{
    Add(Call("accept", requester, L"", accept));
}
void Reject(const wchar_t* requester)
{
    Add(Call("reject", requester));
}
int AddFriend(const wchar_t* address, const wchar_t* text)
{
    Add(Call("addFriend", address, text));
    return 0;
}
int DelFriend(const wchar_t* buddy)
{
    Add(Call("delFriend", buddy));
    return 0;
}
void Cancel()
{
    Add(Call("cancel", L""));
}
} // namespace

RecordingMessaging::RecordingMessaging() : m_saved(Messaging())
{
    current = this;
    Messaging() = MessagingLink{&Push, &Accept, &Reject, &AddFriend, &DelFriend, &Cancel};
}

RecordingMessaging::~RecordingMessaging()
{
    Messaging() = m_saved;
    current = nullptr;
}

std::vector<RecordedCall> RecordingMessaging::Pushed(int code) const
{
    std::vector<RecordedCall> found;
    for (const auto& c : calls)
        if (c.what == "push" && c.code == code)
            found.push_back(c);
    return found;
}

std::vector<CString> RecordingMessaging::PushedTo(int code) const
{
    std::vector<CString> to;
    for (const auto& c : Pushed(code))
        to.push_back(c.s[0]);
    return to;
}
