// One user's song library, the content of a "playlist.xml": the songs the
// user keeps and the named playlists over them.
//   <UR>
//     <MD> <MS A=id B=path C=title .../> ... </MD>
//     <PS> <PL NM=name [X=kind]> <IT A=id/> ... </PL> ... </PS>
//   </UR>
#pragma once

#include "Framework.h"
#include "Playlist.h"
#include "SongInfo.h"

#include <vector>

class CXmlElement;

// Largest library or board file the client reads (its own files may outgrow
// the 4 MiB limit of documents from the network).
const DWORD LIBRARY_MAX_FILE_SIZE = 64 * 1024 * 1024;

class CSongLibrary : public CObject
{
  public:
    CSongLibrary();
    CSongLibrary(const CSongLibrary& other);
    CSongLibrary& operator=(const CSongLibrary& other);
    virtual ~CSongLibrary();
    // Exchanges the contents of two libraries without copying their songs.
    void Swap(CSongLibrary& other);

    const CString& GetName() const { return m_strName; }
    void SetName(LPCWSTR name) { m_strName = name ? name : L""; }

    int GetSongCount() const { return (int)m_songs.size(); }
    int GetPlaylistCount() const { return (int)m_playlists.size(); }
    HRESULT GetSongAt(int index, CSongInfo& out) const;
    // The song in place (no copy), NULL out of range; valid until the
    // library changes.
    const CSongInfo* SongAt(int index) const
    {
        return index >= 0 && index < (int)m_songs.size() ? &m_songs[index] : NULL;
    }
    // The list in place, NULL when no list has the name; valid until the
    // library changes.
    const CPlaylist* PlaylistNamed(LPCWSTR name) const
    {
        int at = FindPlaylist(name);
        return at >= 0 ? &m_playlists[at] : NULL;
    }
    // The list at index in place, NULL out of range; valid until the library
    // changes.
    const CPlaylist* PlaylistAt(int index) const
    {
        return index >= 0 && index < (int)m_playlists.size() ? &m_playlists[index] : NULL;
    }
    HRESULT GetSongById(LPCWSTR id, CSongInfo& out) const;
    int IndexOfSong(LPCWSTR id) const;
    HRESULT GetPlaylistAt(int index, CPlaylist& out) const;
    HRESULT GetPlaylistByName(LPCWSTR name, CPlaylist& out) const;

    HRESULT AddSong(const CSongInfo& song);
    HRESULT AppendSong(const CSongInfo& song);
    HRESULT RemoveSong(const CSongInfo& song);
    HRESULT AddOrUpdatePlaylist(const CPlaylist& playlist);
    HRESULT UpdatePlaylist(const CPlaylist& playlist);
    HRESULT RemovePlaylist(const CPlaylist& playlist);
    // 0 when the names are equal or the list now bears the new name;
    // E_INVALIDARG when no list has the old name; 1 when another list already
    // bears the new name (two lists of one name could not both be reached).
    HRESULT RenamePlaylist(LPCWSTR oldName, LPCWSTR newName);
    HRESULT AddSongToPlaylist(const CSongInfo& song, const CPlaylist& playlist);
    HRESULT RemoveSongFromPlaylist(const CSongInfo& song, const CPlaylist& playlist);

    int CountSongsOfType(LPCWSTR type) const;
    int CountListedSongs() const;
    HRESULT CollectOtherTypeSongs(std::vector<CSongInfo>& out) const;
    HRESULT RemoveTemporaryItems(int flag);
    HRESULT SetBoardValueByHash(LPCWSTR hash, LPCWSTR text);
    HRESULT GetBoardValueByHash(LPCWSTR hash, CString& out) const;

    // Replace the library by the songs and playlists of a file or document.
    // 0 when the last section read songs or playlists, 1 when it held none.
    // A root other than "UR" empties the library and gives E_INVALIDARG. A
    // file that cannot be read or parsed (E_INVALIDARG) and a lack of memory
    // while the library is built (E_OUTOFMEMORY) leave it as it was.
    HRESULT LoadFromFile(LPCWSTR path);
    HRESULT LoadFromXml(const CXmlElement* root);
    // 0 when written, 1 otherwise (the library in memory is unchanged).
    HRESULT SaveToFile(LPCWSTR path) const;
    // Writes an empty library (making missing folders); 0 when written, 1 when
    // the file cannot be made or written, E_INVALIDARG for a path under 2
    // characters.
    HRESULT CreateEmptyFile(LPCWSTR path) const;

  private:
    int FindPlaylist(LPCWSTR name) const;
    HRESULT LoadSections(const CXmlElement* root);
    HRESULT LoadSongs(const CXmlElement* section);
    HRESULT LoadPlaylists(const CXmlElement* section);

    CString m_strName;
    std::vector<CSongInfo> m_songs;
    std::vector<CPlaylist> m_playlists;
};

// Creates every folder named by a prefix of path that ends just before a '\'
// or '/' not preceded by ':'; the last part is not created. Failures are
// ignored.
void CreateFoldersAlongPath(LPCWSTR path);

// Saves a document; when that fails and the file exists, clears its read-only
// attribute and tries once more. 0 when written, 1 otherwise.
HRESULT SaveXmlFileWithRetry(const CXmlElement& root, LPCWSTR path);
// The empty-file steps shared by the library and board files: E_INVALIDARG for
// a path under 2 characters, 1 when the file cannot be made, else the result
// of save().
template <typename SaveFn> HRESULT CreateEmptyDataFile(LPCWSTR path, SaveFn save);
HRESULT PrepareDataFile(LPCWSTR path);

template <typename SaveFn> HRESULT CreateEmptyDataFile(LPCWSTR path, SaveFn save)
{
    HRESULT hr = PrepareDataFile(path);
    if (hr != S_OK)
        return hr;
    return save();
}
