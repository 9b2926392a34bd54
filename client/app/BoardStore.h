// Every message board the client knows, saved as "board.xml" in the signed-in
// user's private folder: root "RT" with one "BD" per board.
#pragma once

#include "BoardEntry.h"

#include <vector>

class CBoardStore
{
  public:
    CBoardStore();
    virtual ~CBoardStore();

    // E_INVALIDARG when the file cannot be opened or parsed (path unchanged);
    // otherwise remembers the path and returns LoadFromXml.
    HRESULT Load(LPCWSTR path);
    // E_INVALIDARG for a root other than "RT". A board element that cannot be
    // read is skipped and the load goes on with the next one (result 1), so a
    // later save keeps every readable board; 0 when all were read.
    HRESULT LoadFromXml(const CXmlElement* root);
    HRESULT Save();
    HRESULT SaveToFile(LPCWSTR path);
    HRESULT CreateEmptyFile(LPCWSTR path);

    int GetBoardCount() const { return (int)m_boards.size(); }
    const CString& GetPath() const { return m_strPath; }
    HRESULT AddBoard(const CBoardEntry& board);
    HRESULT FindBoard(LPCWSTR id, CBoardEntry& out) const;
    HRESULT UpdateBoard(const CBoardEntry& board);
    int ClearNew(LPCWSTR id);
    HRESULT GetHeadline(LPCWSTR id, CString& out) const;
    int GetNewCount(LPCWSTR id) const;
    int GetItemCount(LPCWSTR id) const;
    int GetNewCountTotal() const;
    HRESULT GetBoardsWithNew(std::vector<CString>& out) const;

  private:
    int FindIndex(LPCWSTR id) const;

    std::vector<CBoardEntry> m_boards;
    CString m_strPath;
};
