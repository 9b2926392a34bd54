#include "SongLibrary.h"

#include "FirstTextSet.h"
#include "Xml.h"

#include <memory>
#include <utility>
#include <new>
#include <string>

CSongLibrary::CSongLibrary()
{
}

CSongLibrary::CSongLibrary(const CSongLibrary& other)
    : CObject(other), m_strName(other.m_strName), m_songs(other.m_songs), m_playlists(other.m_playlists)
{
}

CSongLibrary& CSongLibrary::operator=(const CSongLibrary& other)
{
    if (this != &other)
    {
        m_strName = other.m_strName;
        m_songs = other.m_songs;
        m_playlists = other.m_playlists;
    }
    return *this;
}

CSongLibrary::~CSongLibrary()
{
}

void CSongLibrary::Swap(CSongLibrary& other)
{
    std::swap(m_strName, other.m_strName);
    m_songs.swap(other.m_songs);
    m_playlists.swap(other.m_playlists);
}

HRESULT CSongLibrary::GetSongAt(int index, CSongInfo& out) const
{
    if (index < 0 || index >= (int)m_songs.size())
        return E_INVALIDARG;
    out = m_songs[index];
    return S_OK;
}

int CSongLibrary::IndexOfSong(LPCWSTR id) const
{
    CString key(id ? id : L"");
    for (size_t i = 0; i < m_songs.size(); ++i)
        if (m_songs[i].GetId() == key)
            return (int)i;
    return -1;
}

HRESULT CSongLibrary::GetSongById(LPCWSTR id, CSongInfo& out) const
{
    return GetSongAt(IndexOfSong(id), out);
}

int CSongLibrary::FindPlaylist(LPCWSTR name) const
{
    for (size_t i = 0; i < m_playlists.size(); ++i)
        if (m_playlists[i].GetName() == (name ? name : L""))
            return (int)i;
    return -1;
}

HRESULT CSongLibrary::GetPlaylistAt(int index, CPlaylist& out) const
{
    if (index < 0 || index >= (int)m_playlists.size())
        return E_INVALIDARG;
    out = m_playlists[index];
    return S_OK;
}

HRESULT CSongLibrary::GetPlaylistByName(LPCWSTR name, CPlaylist& out) const
{
    return GetPlaylistAt(FindPlaylist(name), out);
}

HRESULT CSongLibrary::AddSong(const CSongInfo& song)
{
    if (IndexOfSong(song.GetId()) >= 0)
        return E_INVALIDARG;
    m_songs.push_back(song);
    return S_OK;
}

HRESULT CSongLibrary::AppendSong(const CSongInfo& song)
{
    m_songs.push_back(song);
    return S_OK;
}

HRESULT CSongLibrary::RemoveSong(const CSongInfo& song)
{
    CString id = song.GetId();
    int index = IndexOfSong(id);
    if (index < 0)
        return E_INVALIDARG;
    m_songs.erase(m_songs.begin() + index);
    for (CPlaylist& playlist : m_playlists)
        while (playlist.RemoveSongId(id) == S_OK)
        {
        }
    return S_OK;
}

HRESULT CSongLibrary::AddOrUpdatePlaylist(const CPlaylist& playlist)
{
    int index = FindPlaylist(playlist.GetName());
    if (index < 0)
        m_playlists.push_back(playlist);
    else
        m_playlists[index] = playlist;
    return S_OK;
}

HRESULT CSongLibrary::UpdatePlaylist(const CPlaylist& playlist)
{
    int index = FindPlaylist(playlist.GetName());
    if (index < 0)
        return E_INVALIDARG;
    m_playlists[index] = playlist;
    return S_OK;
}

HRESULT CSongLibrary::RemovePlaylist(const CPlaylist& playlist)
{
    int index = FindPlaylist(playlist.GetName());
    if (index < 0)
        return E_INVALIDARG;
    m_playlists.erase(m_playlists.begin() + index);
    return S_OK;
}

HRESULT CSongLibrary::RenamePlaylist(LPCWSTR oldName, LPCWSTR newName)
{
    CString from(oldName ? oldName : L""), to(newName ? newName : L"");
    if (from == to)
        return S_OK;
    int index = FindPlaylist(from);
    if (index < 0)
        return E_INVALIDARG;
    if (FindPlaylist(to) >= 0)
        return 1;
    m_playlists[index].SetName(to);
    return S_OK;
}

HRESULT CSongLibrary::AddSongToPlaylist(const CSongInfo& song, const CPlaylist& playlist)
{
    if (IndexOfSong(song.GetId()) < 0)
        m_songs.push_back(song);
    int index = FindPlaylist(playlist.GetName());
    if (index < 0)
        return 1;
    m_playlists[index].AddSong(song);
    return S_OK;
}

HRESULT CSongLibrary::RemoveSongFromPlaylist(const CSongInfo& song, const CPlaylist& playlist)
{
    int index = FindPlaylist(playlist.GetName());
    if (index < 0)
        return 1;
    return m_playlists[index].RemoveSong(song);
}

namespace
{

bool IsListedType(const CString& type)
{
    return type.IsEmpty() || type == L"0" || type == L"1" || type == L"3";
}

} // namespace

int CSongLibrary::CountSongsOfType(LPCWSTR type) const
{
    int n = 0;
    for (const CSongInfo& song : m_songs)
        if (song.GetType() == (type ? type : L""))
            ++n;
    return n;
}

int CSongLibrary::CountListedSongs() const
{
    int n = 0;
    for (const CSongInfo& song : m_songs)
        if (IsListedType(song.GetType()))
            ++n;
    return n;
}

HRESULT CSongLibrary::CollectOtherTypeSongs(std::vector<CSongInfo>& out) const
{
    for (const CSongInfo& song : m_songs)
        if (!IsListedType(song.GetType()))
            out.push_back(song);
    return S_OK;
}

HRESULT CSongLibrary::RemoveTemporaryItems(int flag)
{
    std::vector<CPlaylist> keptLists;
    for (const CPlaylist& playlist : m_playlists)
        if (playlist.GetKind() == PLAYLIST_KIND_USER)
            keptLists.push_back(playlist);
    m_playlists.swap(keptLists);
    std::vector<CSongInfo> keptSongs;
    for (const CSongInfo& song : m_songs)
    {
        CString type = song.GetType();
        bool keep = flag == 0 ? type == L"0" : (type == L"0" || type == L"1" || type == L"3");
        if (keep)
            keptSongs.push_back(song);
    }
    m_songs.swap(keptSongs);
    return S_OK;
}

HRESULT CSongLibrary::SetBoardValueByHash(LPCWSTR hash, LPCWSTR text)
{
    for (CSongInfo& song : m_songs)
        if (song.GetHash() == (hash ? hash : L""))
            song.SetBoardValue(text);
    return S_OK;
}

HRESULT CSongLibrary::GetBoardValueByHash(LPCWSTR hash, CString& out) const
{
    for (const CSongInfo& song : m_songs)
        if (song.GetHash() == (hash ? hash : L""))
            return song.GetBoardValue(out);
    return 1;
}

HRESULT CSongLibrary::LoadFromFile(LPCWSTR path)
{
    std::unique_ptr<CXmlElement> root(XmlLoadFile(path, FALSE, LIBRARY_MAX_FILE_SIZE));
    if (!root)
        return E_INVALIDARG;
    return LoadFromXml(root.get());
}

HRESULT CSongLibrary::LoadFromXml(const CXmlElement* root)
{
    if (!CXmlNode::HasName(root, L"UR"))
    {
        m_songs.clear();
        m_playlists.clear();
        return E_INVALIDARG;
    }
    // Read aside and taken over whole: a library cut short by a lack of memory
    // would later be saved over the complete file.
    try
    {
        CSongLibrary loaded;
        HRESULT result = loaded.LoadSections(root);
        m_songs.swap(loaded.m_songs);
        m_playlists.swap(loaded.m_playlists);
        return result;
    }
    catch (const std::bad_alloc&)
    {
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return E_OUTOFMEMORY;
}

HRESULT CSongLibrary::LoadSections(const CXmlElement* root)
{
    HRESULT result = 1;
    POSITION pos = root->GetFirstChildPosition();
    while (pos)
    {
        const CXmlElement* child = root->GetNextChild(pos);
        result = 1;
        if (child->HasName(L"MD"))
            result = LoadSongs(child);
        else if (child->HasName(L"PS"))
            result = LoadPlaylists(child);
    }
    return result;
}

HRESULT CSongLibrary::LoadSongs(const CXmlElement* section)
{
    HRESULT result = 1;
    m_songs.reserve(m_songs.size() + (size_t)section->GetChildCount() + 1);
    auto idAt = [this](size_t i) -> const CString& { return m_songs[i].GetId(); };
    CFirstTextSet ids(m_songs.capacity());
    for (size_t i = 0; i < m_songs.size(); ++i)
        ids.Insert(i, m_songs[i].GetId(), idAt);
    // The candidate is read into the slot behind the last song, so that its
    // id can be looked up among the others without a copy.
    POSITION pos = section->GetFirstChildPosition();
    while (pos)
    {
        const CXmlElement* element = section->GetNextChild(pos);
        m_songs.emplace_back();
        if (m_songs.back().LoadFromXml(element) != 0)
        {
            m_songs.pop_back();
            continue;
        }
        result = S_OK;
        if (!ids.Insert(m_songs.size() - 1, m_songs.back().GetId(), idAt)) // the first song of an id wins
            m_songs.pop_back();
    }
    return result;
}

HRESULT CSongLibrary::LoadPlaylists(const CXmlElement* section)
{
    HRESULT result = 1;
    POSITION pos = section->GetFirstChildPosition();
    while (pos)
    {
        CPlaylist playlist;
        if (playlist.LoadFromXml(section->GetNextChild(pos)) != 0)
            continue;
        result = S_OK;
        int index = FindPlaylist(playlist.GetName());
        if (index < 0)
            m_playlists.push_back(std::move(playlist));
        else
            m_playlists[index] = std::move(playlist);
    }
    return result;
}

HRESULT CSongLibrary::SaveToFile(LPCWSTR path) const
{
    CXmlElement root(nullptr, L"UR");
    CXmlElement* songs = root.AppendChild(new CXmlElement(nullptr, L"MD"));
    for (const CSongInfo& song : m_songs)
    {
        std::unique_ptr<CXmlElement> element(new CXmlElement(nullptr, L"MS"));
        if (song.SaveToXml(element.get()) == 0)
            songs->AppendChild(element.release());
    }
    CXmlElement* lists = root.AppendChild(new CXmlElement(nullptr, L"PS"));
    for (const CPlaylist& playlist : m_playlists)
        playlist.SaveToXml(lists->AppendChild(new CXmlElement(nullptr, L"PL")));
    return SaveXmlFileWithRetry(root, path);
}

HRESULT CSongLibrary::CreateEmptyFile(LPCWSTR path) const
{
    return CreateEmptyDataFile(path, [path] { return CSongLibrary().SaveToFile(path); });
}

// ---------------------------------------------------------------------------

void CreateFoldersAlongPath(LPCWSTR path)
{
    if (!path)
        return;
    CString p(path);
    for (int i = 0; i < p.GetLength(); ++i)
    {
        wchar_t c = p[i];
        if ((c == L'\\' || c == L'/') && i > 0 && p[i - 1] != L':')
            CreateDirectoryW(p.Left(i), nullptr);
    }
}

HRESULT SaveXmlFileWithRetry(const CXmlElement& root, LPCWSTR path)
{
    if (root.SaveFile(path))
        return S_OK;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 1;
    SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return root.SaveFile(path) ? S_OK : 1;
}

HRESULT PrepareDataFile(LPCWSTR path)
{
    if (!path || wcslen(path) < 2)
        return E_INVALIDARG;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    // Make sure the file can be made; its content is then written whole by the
    // save, which replaces the file in one step.
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND)
    {
        CreateFoldersAlongPath(path);
        file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(file);
    return S_OK;
}
