// A named list inside a property exchange: its count, then one child
// section per item named after the list and the item's index.
#pragma once
#include <Framework.h>

class CSFPropExchange;

class CSFPropEnumerator
{
public:
    CSFPropEnumerator(CSFPropExchange* exchange, LPCWSTR name);

    // Stores or loads the count (through the store's own count encoding with
    // useArchiveCount, else as property "Count"); TRUE when it is not 0.
    BOOL Start(DWORD* count, BOOL useArchiveCount);
    // First position of the walk: 1, or 0 for an empty list.
    int GetStartPosition() const { return m_count ? 1 : 0; }
    // The section of the item at position (owned by the caller); the
    // position moves on and becomes 0 after the last item.
    CSFPropExchange* Next(int* position);

    const CString& GetName() const { return m_name; }
    DWORD GetCount() const { return m_count; }

private:
    CSFPropExchange* m_pExchange;
    CString m_name;
    DWORD m_count;
};
