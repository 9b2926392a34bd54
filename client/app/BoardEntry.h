// One message board, identified by a text id (a song's board by the song's
// content hash), holding its items. Stored as a "BD" element: "H" id, "M" the
// rounded-up mean score, one "IM" per item.
#pragma once

#include "BoardItem.h"

#include <vector>

class CXmlElement;

class CBoardEntry
{
  public:
    CBoardEntry();
    CBoardEntry(const CBoardEntry& other);
    CBoardEntry& operator=(const CBoardEntry& other);
    virtual ~CBoardEntry();

    HRESULT SetId(LPCWSTR id);
    const CString& GetId() const { return m_strId; }
    const CString& GetMeanScore() const { return m_strMean; }
    int GetItemCount() const { return (int)m_items.size(); }

    // Raises the counter to the highest item id, adds 1 and returns it.
    int AssignNextId();
    // Nothing when an item of the same id exists; a pinned item first unpins
    // the pinned one.
    HRESULT InsertUnique(const CBoardItem& item);
    HRESULT UnpinFirst();
    HRESULT RemoveItem(LPCWSTR idText);
    HRESULT GetItem(int index, CBoardItem& out) const;
    HRESULT SetItemFlags(int id, int flags);
    int GetNewCount() const;
    HRESULT ClearNewFlags();
    HRESULT GetHeadlineText(CString& out) const;

    int ToXml(CXmlElement* element) const;
    // The board as one compact "BD" element (no declaration, no line breaks).
    int ToXmlText(CString& out) const;
    int FromXml(const CXmlElement* element);

  private:
    std::vector<CBoardItem> m_items;
    CString m_strId;
    CString m_strMean;
    int m_nNextId;
};
