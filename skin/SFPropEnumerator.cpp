#include "SFPropEnumerator.h"
#include "SFPropExchange.h"

CSFPropEnumerator::CSFPropEnumerator(CSFPropExchange* exchange, LPCWSTR name)
    : m_pExchange(exchange), m_name(name ? name : L""), m_count(0)
{
}

BOOL CSFPropEnumerator::Start(DWORD* count, BOOL useArchiveCount)
{
    if (m_pExchange->IsLoading())
    {
        if (useArchiveCount)
            m_count = m_pExchange->LoadCount();
        else
        {
            long value = 0;
            m_pExchange->ExchangeInt(L"Count", &value, 0);
            m_count = (DWORD)value;
        }
        if (count)
            *count = m_count;
    }
    else
    {
        m_count = count ? *count : 0;
        if (useArchiveCount)
            m_pExchange->StoreCount(m_count);
        else
        {
            long value = (long)m_count;
            m_pExchange->ExchangeInt(L"Count", &value, 0);
        }
    }
    return m_count != 0;
}

CSFPropExchange* CSFPropEnumerator::Next(int* position)
{
    if (position == NULL || *position <= 0 || (DWORD)*position > m_count)
        return NULL;
    CString section;
    section.Format(L"%s%i", (LPCWSTR)m_name, *position - 1);
    CSFPropExchange* child = m_pExchange->OpenSection(section);
    *position = (DWORD)*position < m_count ? *position + 1 : 0;
    return child;
}
