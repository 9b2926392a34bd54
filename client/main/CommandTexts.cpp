#include "CommandTexts.h"
#include "ServiceAddresses.h"

#include <cwctype>

CString BuddyListEntry(int number, LPCWSTR nick, LPCWSTR avatar, int presence, LPCWSTR email, int songs,
                       LPCWSTR signature)
{
    CString entry;
    entry.Format(L"&var%d=nick--%s++img--%s++state--%d++email--%s++mnum--%d++sign--%s", number, nick, avatar,
                 presence, email, songs, signature);
    return entry;
}

CString AvatarAddressOfUser(LPCWSTR avatarBase, int uid)
{
    CString address;
    address.Format(L"%s%03d/%03d/%d.jpg", avatarBase, uid % 1000, (uid / 1000) % 1000, uid);
    return address;
}

CString AvatarAddressOfEmail(LPCWSTR avatarBase, LPCWSTR email)
{
    CString address;
    address.Format(L"%s%s.jpg", avatarBase, email);
    return address;
}

CString AvatarBaseAddress()
{
    return CServiceAddresses::Get().ImageWebUrl(L"/avatar/");
}

void SplitProfileText(const CString& text, CString& first, CString& second)
{
    int at = text.Find(L"0$0");
    if (at < 0)
    {
        first.Empty();
        second.Empty();
        return;
    }
    first = text.Left(at);
    second = text.Mid(at + 3);
}

namespace
{
std::vector<CString> Split(const CString& text, LPCWSTR separator)
{
    std::vector<CString> parts;
    int length = (int)wcslen(separator), start = 0;
    for (;;)
    {
        int at = text.Find(separator, start);
        if (at < 0)
        {
            parts.push_back(text.Mid(start));
            return parts;
        }
        parts.push_back(text.Mid(start, at - start));
        start = at + length;
    }
}

CString LastPiece(const CString& field)
{
    std::vector<CString> pieces = Split(field, L"--");
    return pieces.back();
}
} // namespace

std::vector<RecommendedBuddy> ParseBuddyListPayload(const CString& payload)
{
    std::vector<RecommendedBuddy> entries;
    std::vector<CString> parts = Split(payload, L"&");
    for (size_t i = 0; i < parts.size(); ++i)
    {
        if (i == 0 && parts[i].IsEmpty())
            continue;
        std::vector<CString> fields = Split(parts[i], L"++");
        if (fields.size() <= 5)
            continue;
        RecommendedBuddy b;
        b.nick = LastPiece(fields[0]);
        b.img = LastPiece(fields[1]);
        b.state = LastPiece(fields[2]);
        b.email = LastPiece(fields[3]);
        b.mnum = LastPiece(fields[4]);
        b.sign = LastPiece(fields[5]);
        entries.push_back(b);
    }
    return entries;
}

CString RecommendationViewForm(LPCWSTR nick, LPCWSTR recommender, const std::vector<RecommendedBuddy>& entries)
{
    CString form;
    form.Format(L"nick=%s&page=12&infonum=%ld&email=%s", nick, (long)entries.size(), recommender);
    int number = 0;
    for (const RecommendedBuddy& b : entries)
        form.AppendFormat(L"&var%d=nick--%s++img--%s++state--%s++email--%s++mnum--%s++sign--%s++isfriend--%s",
                          ++number, b.nick, b.img, b.state, b.email, b.mnum, b.sign, b.isfriend);
    return form;
}

bool IsUsableBuddyId(const CString& id)
{
    int length = id.GetLength();
    if (length < 3 || length > MaxIdLength || id.Find(L"..") >= 0)
        return false;
    int ats = 0;
    for (int i = 0; i < length; ++i)
    {
        wchar_t c = id[i];
        if (c == L'@')
            ++ats;
        else if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                   wcschr(L"._%+-", c)))
            return false;
    }
    return ats == 1 && id[0] != L'@' && id[length - 1] != L'@';
}

bool ParseSlotNumber(const CString& text, int& value)
{
    value = 0;
    int length = text.GetLength(), i = 0;
    bool negative = false;
    if (i < length && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    if (i == length || length - i > 9)
        return false;
    int v = 0;
    for (; i < length; ++i)
    {
        if (text[i] < L'0' || text[i] > L'9')
            return false;
        v = v * 10 + (text[i] - L'0');
    }
    value = negative ? -v : v;
    return true;
}

int SlotNumberOrZero(const CString& text)
{
    const wchar_t* p = text;
    while (*p && iswspace(*p))
        ++p;
    bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    long long v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if ((v = v * 10 + (*p - L'0')) > 2147483647LL)
            return negative ? -2147483647 - 1 : 2147483647;
    return (int)(negative ? -v : v);
}

int PresenceOfExtra(int extra)
{
    int p = extra % 5;
    return p < 0 ? p + 5 : p;
}

CString LimitHeaderText(const CString& text)
{
    if (text.GetLength() <= 255)
        return text;
    return text.Left(252) + L"...";
}
