// One message of a message board: author, text, time, score, flags (bit 0
// pinned to the top, bit 1 new) and its number within the board. Stored as an
// "IM" element (D id, T time, A author, Y flags, S score; the text as content).
#pragma once

#include "Framework.h"

enum
{
    BOARD_ITEM_PINNED = 1,
    BOARD_ITEM_NEW = 2,
};

class CBoardItem
{
  public:
    CBoardItem();
    CBoardItem(const CBoardItem& other) = default;
    CBoardItem& operator=(const CBoardItem& other) = default;
    ~CBoardItem();

    const CString& GetAuthor() const { return m_strAuthor; }
    void SetAuthor(LPCWSTR author) { m_strAuthor = author ? author : L""; }
    const CString& GetText() const { return m_strText; }
    void SetText(LPCWSTR text) { m_strText = text ? text : L""; }
    const CString& GetTime() const { return m_strTime; }
    void SetTime(LPCWSTR time) { m_strTime = time ? time : L""; }
    void SetFlags(int flags) { m_nFlags = flags; }
    int GetFlags() const { return m_nFlags; }
    // The id as "%d", and from decimal text.
    CString GetIdText() const;
    void SetIdText(LPCWSTR text);

    CString m_strAuthor;
    CString m_strText;
    CString m_strTime;
    CString m_strScore; // decimal, "3" after construction
    int m_nFlags;
    int m_nId;
};
