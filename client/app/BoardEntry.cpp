#include "BoardEntry.h"

#include "Xml.h"

#include <memory>

CBoardEntry::CBoardEntry() : m_strMean(L"3"), m_nNextId(0)
{
}

CBoardEntry::CBoardEntry(const CBoardEntry& other)
    : m_items(other.m_items), m_strId(other.m_strId), m_strMean(other.m_strMean), m_nNextId(0)
{
}

CBoardEntry& CBoardEntry::operator=(const CBoardEntry& other)
{
    if (this != &other)
    {
        m_items = other.m_items;
        m_strId = other.m_strId;
        m_strMean = other.m_strMean;
    }
    return *this;
}

CBoardEntry::~CBoardEntry()
{
}

HRESULT CBoardEntry::SetId(LPCWSTR id)
{
    m_strId = id ? id : L"";
    return S_OK;
}

int CBoardEntry::AssignNextId()
{
    for (const CBoardItem& item : m_items)
        if (item.m_nId > m_nNextId)
            m_nNextId = item.m_nId;
    return ++m_nNextId;
}

HRESULT CBoardEntry::UnpinFirst()
{
    for (CBoardItem& item : m_items)
        if (item.m_nFlags & BOARD_ITEM_PINNED)
        {
            item.m_nFlags &= ~BOARD_ITEM_PINNED;
            break;
        }
    return S_OK;
}

HRESULT CBoardEntry::InsertUnique(const CBoardItem& item)
{
    for (const CBoardItem& existing : m_items)
        if (existing.m_nId == item.m_nId)
            return S_OK;
    if (item.m_nFlags & BOARD_ITEM_PINNED)
        UnpinFirst();
    m_items.push_back(item);
    return S_OK;
}

HRESULT CBoardEntry::RemoveItem(LPCWSTR idText)
{
    CString text(idText ? idText : L"");
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].GetIdText() == text)
        {
            m_items.erase(m_items.begin() + i);
            return S_OK;
        }
    return E_INVALIDARG;
}

HRESULT CBoardEntry::GetItem(int index, CBoardItem& out) const
{
    if (index < 0 || index >= (int)m_items.size())
        return E_INVALIDARG;
    out = m_items[index];
    return S_OK;
}

HRESULT CBoardEntry::SetItemFlags(int id, int flags)
{
    for (CBoardItem& item : m_items)
        if (item.m_nId == id)
        {
            item.m_nFlags = flags;
            return S_OK;
        }
    return 1;
}

int CBoardEntry::GetNewCount() const
{
    int n = 0;
    for (const CBoardItem& item : m_items)
        if (item.m_nFlags & BOARD_ITEM_NEW)
            ++n;
    return n;
}

HRESULT CBoardEntry::ClearNewFlags()
{
    for (CBoardItem& item : m_items)
        item.m_nFlags &= ~BOARD_ITEM_NEW;
    return S_OK;
}

HRESULT CBoardEntry::GetHeadlineText(CString& out) const
{
    out.Empty();
    for (const CBoardItem& item : m_items)
        if (item.m_nFlags & BOARD_ITEM_PINNED)
        {
            out = item.m_strText;
            break;
        }
    if (out.IsEmpty() && !m_items.empty())
        out = m_items.front().m_strText;
    return S_OK;
}

int CBoardEntry::ToXml(CXmlElement* element) const
{
    element->SetAttribute(L"H", m_strId);
    unsigned long sum = 0;
    for (const CBoardItem& item : m_items)
    {
        CXmlElement* im = element->AppendChild(new CXmlElement(nullptr, L"IM"));
        CString number;
        number.Format(L"%d", item.m_nId);
        im->SetAttribute(L"D", number);
        im->SetAttribute(L"T", item.m_strTime);
        im->SetAttribute(L"A", item.m_strAuthor);
        number.Format(L"%d", item.m_nFlags);
        im->SetAttribute(L"Y", number);
        im->SetAttribute(L"S", item.m_strScore);
        im->SetValue(item.m_strText);
        sum += (unsigned long)_wtol(item.m_strScore);
    }
    // The mean score, rounded up.
    CString mean(L"3");
    if (!m_items.empty())
    {
        unsigned long n = (unsigned long)m_items.size();
        mean.Format(L"%ld", (long)(sum / n + (sum % n ? 1 : 0)));
    }
    element->SetAttribute(L"M", mean);
    return 0;
}

int CBoardEntry::ToXmlText(CString& out) const
{
    out.Empty();
    std::unique_ptr<CXmlElement> element(new (std::nothrow) CXmlElement(nullptr, L"BD"));
    if (!element)
        return 1;
    ToXml(element.get());
    out = element->GetXml(FALSE, FALSE);
    return 0;
}

int CBoardEntry::FromXml(const CXmlElement* element)
{
    if (!CXmlNode::HasName(element, L"BD") || !element->FindAttribute(L"H") || !element->FindAttribute(L"M"))
        return 1;
    m_items.clear();
    m_strId = element->GetAttribute(L"H");
    m_strMean = element->GetAttribute(L"M");
    POSITION pos = element->GetFirstChildPosition();
    while (pos)
    {
        const CXmlElement* child = element->GetNextChild(pos);
        if (!child->HasName(L"IM"))
            continue;
        CBoardItem item;
        item.m_nId = _wtoi(child->GetAttribute(L"D", L"0"));
        item.m_strAuthor = child->GetAttribute(L"A");
        item.m_strText = child->GetValue();
        item.m_strTime = child->GetAttribute(L"T");
        item.m_nFlags = _wtoi(child->GetAttribute(L"Y"));
        item.m_strScore = child->GetAttribute(L"S");
        m_nNextId = item.m_nId;
        InsertUnique(item);
    }
    return 0;
}
