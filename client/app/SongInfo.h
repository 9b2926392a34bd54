// One song as the client knows it: a local file of the user's own or a song a
// buddy shares. Its tag properties ("Title", "Author", "WM/AlbumTitle",
// "WM/AlbumArtist", "WM/Genre", "Duration", "FileSize" and any other header
// attribute of the file), its id and content hash (SHA-1 Base32 names), owner,
// local path, type, flag and board text. Stored as an "MS" element of a song
// library file.
#pragma once

#include "Framework.h"

#include <map>
#include <vector>

class CXmlElement;

struct CStringLess
{
    bool operator()(const CString& a, const CString& b) const { return wcscmp(a, b) < 0; }
};

class CSongInfo : public CObject
{
  public:
    CSongInfo();
    CSongInfo(const CString& path, BOOL readTags);
    CSongInfo(const CSongInfo& other);
    CSongInfo(CSongInfo&& other) noexcept;
    CSongInfo& operator=(const CSongInfo& other);
    CSongInfo& operator=(CSongInfo&& other) noexcept;
    virtual ~CSongInfo();

    HRESULT GetId(CString& out) const;
    const CString& GetId() const { return m_strId; }
    HRESULT SetId(LPCWSTR id);
    HRESULT GetHash(CString& out) const;
    const CString& GetHash() const { return m_strHash; }
    HRESULT SetHash(LPCWSTR hash);
    HRESULT GetOwner(CString& out) const;
    const CString& GetOwner() const { return m_strOwner; }
    HRESULT SetOwner(LPCWSTR owner);
    HRESULT GetPath(CString& out) const;
    const CString& GetPath() const { return m_strPath; }
    HRESULT SetPath(LPCWSTR path);
    HRESULT GetType(CString& out) const;
    const CString& GetType() const { return m_strType; }
    HRESULT SetType(LPCWSTR type);
    HRESULT GetBoardValue(CString& out) const;
    const CString& GetBoardValue() const { return m_strBoardValue; }
    HRESULT SetBoardValue(LPCWSTR text);
    int GetFlag() const { return m_nFlag; }
    void SetFlag(int flag) { m_nFlag = flag ? 1 : 0; }
    int GetAuxValue() const { return m_nAux1; }
    void SetAuxValue(int value) { m_nAux1 = value; }

    // "Title", or the file name behind the last backslash less its last four
    // characters when the tag is empty.
    HRESULT GetTitle(CString& out) const;
    CString GetTitle() const;
    HRESULT SetTitle(LPCWSTR title);
    HRESULT GetAuthor(CString& out) const;
    HRESULT SetAuthor(LPCWSTR author);
    // "Author", else "WM/AlbumArtist", else "".
    HRESULT GetArtist(CString& out) const;
    CString GetArtist() const;
    HRESULT SetAlbumArtist(LPCWSTR artist);
    HRESULT GetAlbum(CString& out) const;
    CString GetAlbum() const;
    HRESULT SetAlbum(LPCWSTR album);
    HRESULT GetGenre(CString& out) const;
    HRESULT SetGenre(LPCWSTR genre);
    HRESULT GetFileSize(CString& out) const;
    CString GetFileSize() const;
    HRESULT SetFileSize(LPCWSTR size);
    // "Duration" in 100-nanosecond units, 0 when missing.
    LONGLONG GetDuration() const;
    HRESULT SetDuration(LPCWSTR duration);
    // "%02d:%02d" of the whole minutes and the remaining seconds.
    CString GetDurationText() const;
    // The local path for the user's own songs, else GetStreamUrl.
    CString GetPlayUrl() const;
    // The song on the local media server: "http://127.0.0.1:<port>/<owner>/<hash>".
    CString GetStreamUrl() const;

    // Property lookups; a missing name reads as "".
    CString GetProperty(LPCWSTR name) const;
    void SetProperty(LPCWSTR name, LPCWSTR value);
    const std::vector<CString>& GetTagNames() const { return m_tagNames; }

    // Fills the record from a media file's header: through the Windows Media
    // editor, or the built-in tag reader where the editor cannot read it.
    HRESULT ReadFileTags(LPCWSTR path);
    // Stores one header attribute (data types as the Windows Media editor
    // numbers them) under its name.
    void StoreTagAttribute(int index, LPCWSTR name, int type, const BYTE* value, DWORD length);
    // Content hash and id from the tags, size and path; see the .cpp.
    HRESULT ComputeHash(BOOL force);
    const BYTE* GetDigest() const { return m_digest; }

    // The "MS" element. LoadFromXml: 1 when the element is not "MS" or lacks
    // "A" or "B", else 0. SaveToXml: 0.
    int LoadFromXml(const CXmlElement* element);
    int SaveToXml(CXmlElement* element) const;

    // The port of the local media server that play addresses name (80 unless
    // the server had to take another one).
    static void SetLocalServerPort(int port);
    static int GetLocalServerPort();

  private:
    void CopyFrom(const CSongInfo& other);
    void MoveFrom(CSongInfo& other);

    // The tags every song has stand each in a slot of their own (a library
    // holds tens of thousands of songs, and a map entry with its key costs
    // more than most values); any other tag of a file is kept in the map. An
    // empty slot reads as a missing tag, as it does in the map.
    enum
    {
        TAG_TITLE,
        TAG_AUTHOR,
        TAG_ALBUM,
        TAG_ALBUM_ARTIST,
        TAG_GENRE,
        TAG_DURATION,
        TAG_FILE_SIZE,
        TAG_COUNT
    };
    static int KnownTagIndex(LPCWSTR name);

    CString m_knownTags[TAG_COUNT];
    std::map<CString, CString, CStringLess> m_otherTags;
    std::vector<CString> m_tagNames;
    CString m_strId;
    BYTE m_digest[20];
    CString m_strHash;
    CString m_strOwner;
    CString m_strPath;
    int m_nAux1;
    int m_nAux2;
    int m_nFlag;
    CString m_strType;
    CString m_strBoardValue;
};

// One row of a song list.
struct SongItemInfo
{
    SongItemInfo();
    CString strId;
    CString strTitle;
    CString strArtist;
    CString strHash;
    CString strPath;
    CString strText;
    CString strBoardValue;
    int nValues[7];
    int nIndex; // -1 after construction
    BYTE tail[14];
};

// A new zero-terminated byte string of text in codePage (65001 for UTF-8);
// the caller frees it with delete[].
char* WideToMultiByte(LPCWSTR text, int length, UINT codePage);

// Write one string tag of a media file through the Windows Media editor. An
// attribute the file does not have is not added.
HRESULT WriteFileTag(LPCWSTR path, LPCWSTR name, int type, LPCWSTR value);
HRESULT WriteFileTitle(LPCWSTR path, LPCWSTR text);
HRESULT WriteFileAuthor(LPCWSTR path, LPCWSTR text);
HRESULT WriteFileAlbum(LPCWSTR path, LPCWSTR text);
