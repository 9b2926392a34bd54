#include "BuddyRecord.h"

const wchar_t MESSAGING_DOMAIN[] = L"im.yeb360.com";

CBuddyRecord::CBuddyRecord() : m_nFirst(0), m_nSecond(0), m_nThird(0)
{
}

CBuddyRecord::CBuddyRecord(const BuddyFields& fields)
    : m_strId(fields.id), m_nFirst(fields.firstInt), m_nSecond(fields.secondInt), m_strFirstText(fields.firstText),
      m_strSecondText(fields.secondText), m_strFirstAddress(fields.firstAddress),
      m_strSecondAddress(fields.secondAddress), m_nThird(fields.thirdInt)
{
    IdToEmail(m_strId, m_strEmail);
}

CBuddyRecord::CBuddyRecord(const CBuddyRecord& other) : CObject(other)
{
    *this = other;
}

CBuddyRecord& CBuddyRecord::operator=(const CBuddyRecord& other)
{
    if (this != &other)
    {
        m_strId = other.m_strId;
        m_nFirst = other.m_nFirst;
        m_nSecond = other.m_nSecond;
        m_strEmail = other.m_strEmail;
        m_strFirstText = other.m_strFirstText;
        m_strSecondText = other.m_strSecondText;
        m_strFirstAddress = other.m_strFirstAddress;
        m_strSecondAddress = other.m_strSecondAddress;
        m_nThird = other.m_nThird;
        m_firstMap = other.m_firstMap;
        m_secondMap = other.m_secondMap;
    }
    return *this;
}

CBuddyRecord::~CBuddyRecord()
{
}

HRESULT CBuddyRecord::SetId(LPCWSTR id)
{
    m_strId = id ? id : L"";
    IdToEmail(m_strId, m_strEmail);
    return S_OK;
}

HRESULT CBuddyRecord::GetId(CString& out) const
{
    out = m_strId;
    return S_OK;
}

HRESULT CBuddyRecord::SetEmail(LPCWSTR email)
{
    CString id;
    HRESULT hr = EmailToId(email, id, FALSE);
    m_strId = id;
    m_strEmail = (hr == S_OK) ? CString(email) : CString();
    return hr;
}

HRESULT IdToEmail(LPCWSTR id, CString& out)
{
    CString text(id ? id : L"");
    int at = text.Find(L'@');
    if (text.Find(L'$') < 0 || at < 0)
    {
        out.Empty();
        return 1;
    }
    out = text.Left(at);
    out.Replace(L'$', L'@');
    return S_OK;
}

HRESULT EmailToId(LPCWSTR text, CString& out, BOOL isId)
{
    CString s(text ? text : L"");
    if (isId)
    {
        if (s.Find(L'$') < 0)
        {
            out.Empty();
            return 1;
        }
        out = s;
        return S_OK;
    }
    if (s.Find(L'@') < 0)
    {
        out.Empty();
        return 1;
    }
    s.Replace(L'@', L'$');
    out = s + L"@" + MESSAGING_DOMAIN;
    return S_OK;
}
