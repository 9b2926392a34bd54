// A named list of song ids: kind 0 a list of the user's, 1 the buddy
// playlist, 2 the recent-songs list. Stored as a "PL" element with one "IT"
// per id.
#pragma once

#include "Framework.h"

#include <vector>

class CSongInfo;
class CXmlElement;

enum
{
    PLAYLIST_KIND_USER = 0,
    PLAYLIST_KIND_BUDDY = 1,
    PLAYLIST_KIND_RECENT = 2,
};

class CPlaylist : public CObject
{
  public:
    CPlaylist();
    CPlaylist(const CPlaylist& other);
    CPlaylist& operator=(const CPlaylist& other);
    virtual ~CPlaylist();

    HRESULT GetName(CString& out) const;
    const CString& GetName() const { return m_strName; }
    HRESULT SetName(LPCWSTR name);
    int GetKind() const { return m_nKind; }
    HRESULT SetKind(int kind);

    int GetSongCount() const { return (int)m_songIds.size(); }
    HRESULT GetSongIdAt(int index, CString& out) const;
    const std::vector<CString>& GetSongIds() const { return m_songIds; }
    int IndexOfSong(LPCWSTR id) const;
    int ContainsSong(const CSongInfo& song) const;
    // With isId the text is an id; otherwise a local path whose tags are read.
    int ContainsSongKey(LPCWSTR text, BOOL isId) const;
    HRESULT AddSong(const CSongInfo& song);
    HRESULT AddSongKey(LPCWSTR text, BOOL isId);
    HRESULT RemoveSong(const CSongInfo& song);
    HRESULT RemoveSongId(LPCWSTR id);

    int SaveToXml(CXmlElement* element) const;
    int LoadFromXml(const CXmlElement* element);

  private:
    std::vector<CString> m_songIds;
    CString m_strName;
    int m_nKind;
};
