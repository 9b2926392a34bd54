#include "BoardStore.h"

#include "SongLibrary.h"
#include "Xml.h"

#include <memory>

CBoardStore::CBoardStore()
{
}

CBoardStore::~CBoardStore()
{
}

int CBoardStore::FindIndex(LPCWSTR id) const
{
    for (size_t i = 0; i < m_boards.size(); ++i)
        if (m_boards[i].GetId() == (id ? id : L""))
            return (int)i;
    return -1;
}

HRESULT CBoardStore::Load(LPCWSTR path)
{
    std::unique_ptr<CXmlElement> root(XmlLoadFile(path, FALSE, LIBRARY_MAX_FILE_SIZE));
    if (!root)
        return E_INVALIDARG;
    m_strPath = path;
    return LoadFromXml(root.get());
}

HRESULT CBoardStore::LoadFromXml(const CXmlElement* root)
{
    m_boards.clear();
    if (!CXmlNode::HasName(root, L"RT"))
        return E_INVALIDARG;
    HRESULT result = S_OK;
    POSITION pos = root->GetFirstChildPosition();
    while (pos)
    {
        CBoardEntry board;
        if (board.FromXml(root->GetNextChild(pos)) != 0)
        {
            result = 1;
            continue;
        }
        if (FindIndex(board.GetId()) < 0)
            m_boards.push_back(board);
    }
    return result;
}

HRESULT CBoardStore::Save()
{
    if (m_strPath.IsEmpty())
        return 1;
    return SaveToFile(m_strPath);
}

HRESULT CBoardStore::SaveToFile(LPCWSTR path)
{
    CXmlElement root(nullptr, L"RT");
    for (const CBoardEntry& board : m_boards)
    {
        std::unique_ptr<CXmlElement> element(new CXmlElement(nullptr, L"BD"));
        if (board.ToXml(element.get()) == 0)
            root.AppendChild(element.release());
    }
    return SaveXmlFileWithRetry(root, path);
}

HRESULT CBoardStore::CreateEmptyFile(LPCWSTR path)
{
    return CreateEmptyDataFile(path, [path] { return CBoardStore().SaveToFile(path); });
}

HRESULT CBoardStore::AddBoard(const CBoardEntry& board)
{
    if (FindIndex(board.GetId()) >= 0)
        return 1;
    m_boards.push_back(board);
    return S_OK;
}

HRESULT CBoardStore::FindBoard(LPCWSTR id, CBoardEntry& out) const
{
    int index = FindIndex(id);
    if (index < 0)
        return E_INVALIDARG;
    out = m_boards[index];
    return S_OK;
}

HRESULT CBoardStore::UpdateBoard(const CBoardEntry& board)
{
    int index = FindIndex(board.GetId());
    if (index < 0)
        return 1;
    m_boards[index] = board;
    if (!m_strPath.IsEmpty())
        SaveToFile(m_strPath);
    return S_OK;
}

int CBoardStore::ClearNew(LPCWSTR id)
{
    if (!id || !*id)
        return 0;
    int index = FindIndex(id);
    if (index < 0)
        return 0;
    CBoardEntry board(m_boards[index]);
    board.ClearNewFlags();
    UpdateBoard(board);
    return 1;
}

HRESULT CBoardStore::GetHeadline(LPCWSTR id, CString& out) const
{
    int index = FindIndex(id);
    if (index < 0)
        return E_INVALIDARG;
    return m_boards[index].GetHeadlineText(out);
}

int CBoardStore::GetNewCount(LPCWSTR id) const
{
    int index = (id && *id) ? FindIndex(id) : -1;
    return index < 0 ? 0 : m_boards[index].GetNewCount();
}

int CBoardStore::GetItemCount(LPCWSTR id) const
{
    int index = (id && *id) ? FindIndex(id) : -1;
    return index < 0 ? 0 : m_boards[index].GetItemCount();
}

int CBoardStore::GetNewCountTotal() const
{
    int n = 0;
    for (const CBoardEntry& board : m_boards)
        n += board.GetNewCount();
    return n;
}

HRESULT CBoardStore::GetBoardsWithNew(std::vector<CString>& out) const
{
    for (const CBoardEntry& board : m_boards)
        if (board.GetNewCount() > 0)
            out.push_back(board.GetId());
    return S_OK;
}
