// A buddy as the messaging library reports it, keyed by its messaging id: the
// e-mail address with every '@' written as '$', then '@' and the service's
// messaging domain (so a@b.com is a$b.com@<domain>).
#pragma once

#include "Framework.h"

#include <map>

// The messaging domain of every account id.
extern const wchar_t MESSAGING_DOMAIN[];

// Argument block of the full constructor.
struct BuddyFields
{
    CString id;
    CString firstText;
    CString secondText;
    int secondInt = 0;
    int firstInt = 0;
    CString firstAddress;
    CString secondAddress;
    int thirdInt = 0;
};

class CBuddyRecord : public CObject
{
  public:
    CBuddyRecord();
    explicit CBuddyRecord(const BuddyFields& fields);
    CBuddyRecord(const CBuddyRecord& other);
    CBuddyRecord& operator=(const CBuddyRecord& other);
    virtual ~CBuddyRecord();

    // Sets the id and derives the e-mail from it.
    HRESULT SetId(LPCWSTR id);
    HRESULT GetId(CString& out) const;
    const CString& GetId() const { return m_strId; }
    // Sets the e-mail and derives the id from it.
    HRESULT SetEmail(LPCWSTR email);
    const CString& GetEmail() const { return m_strEmail; }

    CString m_strId;
    int m_nFirst;
    int m_nSecond;
    CString m_strEmail;
    CString m_strFirstText;
    CString m_strSecondText;
    CString m_strFirstAddress;  // "address:port"
    CString m_strSecondAddress; // "address:port"
    int m_nThird;
    std::map<CString, CString> m_firstMap;
    std::map<CString, CString> m_secondMap;
};

// 0 and the e-mail of a messaging id; 1 and "" when the id lacks '$' or '@'.
HRESULT IdToEmail(LPCWSTR id, CString& out);
// 0 and the messaging id of an e-mail (isId clear) or of a text that already
// is an id (isId set, must hold '$'); 1 and "" for a text of the wrong form.
HRESULT EmailToId(LPCWSTR text, CString& out, BOOL isId);
