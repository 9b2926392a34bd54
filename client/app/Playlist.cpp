#include "Playlist.h"

#include "FirstTextSet.h"
#include "SongInfo.h"
#include "Xml.h"

#include <string>

CPlaylist::CPlaylist() : m_nKind(PLAYLIST_KIND_USER)
{
}

CPlaylist::CPlaylist(const CPlaylist& other)
    : CObject(other), m_songIds(other.m_songIds), m_strName(other.m_strName), m_nKind(other.m_nKind)
{
}

CPlaylist& CPlaylist::operator=(const CPlaylist& other)
{
    if (this != &other)
    {
        m_songIds = other.m_songIds;
        m_strName = other.m_strName;
        m_nKind = other.m_nKind;
    }
    return *this;
}

CPlaylist::~CPlaylist()
{
}

HRESULT CPlaylist::GetName(CString& out) const
{
    out = m_strName;
    return S_OK;
}

HRESULT CPlaylist::SetName(LPCWSTR name)
{
    m_strName = name ? name : L"";
    return S_OK;
}

HRESULT CPlaylist::SetKind(int kind)
{
    m_nKind = kind;
    return S_OK;
}

HRESULT CPlaylist::GetSongIdAt(int index, CString& out) const
{
    if (index < 0 || index >= (int)m_songIds.size())
        return E_INVALIDARG;
    out = m_songIds[index];
    return S_OK;
}

int CPlaylist::IndexOfSong(LPCWSTR id) const
{
    for (size_t i = 0; i < m_songIds.size(); ++i)
        if (m_songIds[i] == (id ? id : L""))
            return (int)i;
    return -1;
}

int CPlaylist::ContainsSong(const CSongInfo& song) const
{
    return IndexOfSong(song.GetId()) >= 0 ? 1 : 0;
}

int CPlaylist::ContainsSongKey(LPCWSTR text, BOOL isId) const
{
    if (isId)
        return IndexOfSong(text) >= 0 ? 1 : 0;
    return ContainsSong(CSongInfo(CString(text), TRUE));
}

HRESULT CPlaylist::AddSong(const CSongInfo& song)
{
    return AddSongKey(song.GetId(), TRUE);
}

HRESULT CPlaylist::AddSongKey(LPCWSTR text, BOOL isId)
{
    if (!isId)
        return AddSong(CSongInfo(CString(text), TRUE));
    if (IndexOfSong(text) < 0)
        m_songIds.push_back(CString(text ? text : L""));
    return S_OK;
}

HRESULT CPlaylist::RemoveSong(const CSongInfo& song)
{
    return RemoveSongId(song.GetId());
}

HRESULT CPlaylist::RemoveSongId(LPCWSTR id)
{
    int index = IndexOfSong(id);
    if (index < 0)
        return E_INVALIDARG;
    m_songIds.erase(m_songIds.begin() + index);
    return S_OK;
}

int CPlaylist::SaveToXml(CXmlElement* element) const
{
    element->SetAttribute(L"NM", m_strName);
    if (m_nKind != PLAYLIST_KIND_USER)
    {
        CString kind;
        kind.Format(L"%d", m_nKind);
        element->SetAttribute(L"X", kind);
    }
    for (const CString& id : m_songIds)
        element->AppendChild(new CXmlElement(nullptr, L"IT"))->SetAttribute(L"A", id);
    return 0;
}

int CPlaylist::LoadFromXml(const CXmlElement* element)
{
    CString name, kind;
    if (!CXmlNode::HasName(element, L"PL") || !element->LookupAttribute(L"NM", name))
        return 1;
    m_strName = std::move(name);
    m_nKind = element->LookupAttribute(L"X", kind) ? _wtoi(kind) : 0;
    auto idAt = [this](size_t i) -> const CString& { return m_songIds[i]; };
    m_songIds.reserve(m_songIds.size() + (size_t)element->GetChildCount());
    CFirstTextSet ids(m_songIds.capacity());
    for (size_t i = 0; i < m_songIds.size(); ++i)
        ids.Insert(i, m_songIds[i], idAt);
    POSITION pos = element->GetFirstChildPosition();
    while (pos)
    {
        CXmlElement* item = element->GetNextChild(pos);
        if (!item->HasName(L"IT"))
            continue;
        // Read into the place behind the last id, kept when it is new: ids
        // already in the list stay once.
        m_songIds.emplace_back();
        item->LookupAttribute(L"A", m_songIds.back());
        if (!ids.Insert(m_songIds.size() - 1, m_songIds.back(), idAt))
            m_songIds.pop_back();
    }
    return 0;
}
