// The buddies the messaging library has reported, in insertion order, unique
// by messaging id (compared exactly).
#pragma once

#include "BuddyRecord.h"

#include <vector>

class CBuddyList : public CObject
{
  public:
    CBuddyList();
    virtual ~CBuddyList();

    int GetCount() const { return (int)m_records.size(); }
    HRESULT GetAt(int index, CBuddyRecord& out) const;
    // Overwrites the record of the same id, or appends a copy; 0.
    HRESULT AddOrUpdate(const CBuddyRecord& record);
    // text is an e-mail (isId clear) or an id; E_INVALIDARG when it is of
    // neither form, 0 when removed, 1 when there is no such buddy.
    HRESULT Remove(LPCWSTR text, BOOL isId = FALSE);

  private:
    std::vector<CBuddyRecord> m_records;
    CString m_strText;
    int m_nValue;
};
