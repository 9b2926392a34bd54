#include "BuddyList.h"

CBuddyList::CBuddyList() : m_nValue(1)
{
}

CBuddyList::~CBuddyList()
{
}

HRESULT CBuddyList::GetAt(int index, CBuddyRecord& out) const
{
    if (index < 0 || index >= (int)m_records.size())
        return E_INVALIDARG;
    out = m_records[index];
    return S_OK;
}

HRESULT CBuddyList::AddOrUpdate(const CBuddyRecord& record)
{
    for (CBuddyRecord& existing : m_records)
        if (existing.GetId() == record.GetId())
        {
            existing = record;
            return S_OK;
        }
    m_records.push_back(record);
    return S_OK;
}

HRESULT CBuddyList::Remove(LPCWSTR text, BOOL isId)
{
    CString id;
    if (EmailToId(text, id, isId) != S_OK)
        return E_INVALIDARG;
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].GetId() == id)
        {
            m_records.erase(m_records.begin() + i);
            return S_OK;
        }
    return 1;
}
