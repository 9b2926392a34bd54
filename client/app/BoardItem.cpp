#include "BoardItem.h"

CBoardItem::CBoardItem() : m_strScore(L"3"), m_nFlags(0), m_nId(0)
{
}

CBoardItem::~CBoardItem()
{
}

CString CBoardItem::GetIdText() const
{
    CString text;
    text.Format(L"%d", m_nId);
    return text;
}

void CBoardItem::SetIdText(LPCWSTR text)
{
    m_nId = text ? _wtoi(text) : 0;
}
