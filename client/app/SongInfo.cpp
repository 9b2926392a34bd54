#include "SongInfo.h"

#include "MediaTagReader.h"
#include "Sha1.h"
#include "Xml.h"

#include <wmsdkidl.h>

namespace
{

int g_localServerPort = 80;

// {15CC68E3-27CC-4ECD-B222-3F5D02D80BD5}
const GUID kIID_IWMHeaderInfo3 = {0x15cc68e3, 0x27cc, 0x4ecd, {0xb2, 0x22, 0x3f, 0x5d, 0x02, 0xd8, 0x0b, 0xd5}};

typedef HRESULT(WINAPI* WMCreateEditorFn)(IWMMetadataEditor**);

// The Windows Media Format runtime, loaded by name: machines without it still
// read tags through the built-in reader.
WMCreateEditorFn GetCreateEditor()
{
    static WMCreateEditorFn fn = [] {
        HMODULE module = LoadLibraryW(L"wmvcore.dll");
        return module ? (WMCreateEditorFn)(void*)GetProcAddress(module, "WMCreateEditor") : nullptr;
    }();
    return fn;
}

template <typename T> struct ComPtr
{
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// An editor opened on a file, closed again when the holder goes.
struct OpenEditor
{
    ComPtr<IWMMetadataEditor> editor;
    ComPtr<IWMHeaderInfo3> header;
    bool opened = false;
    HRESULT Open(LPCWSTR path)
    {
        WMCreateEditorFn create = GetCreateEditor();
        if (!create)
            return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
        HRESULT hr = create(&editor);
        if (FAILED(hr) || !editor.p)
            return FAILED(hr) ? hr : E_FAIL;
        hr = editor->Open(path);
        if (FAILED(hr))
            return hr;
        opened = true;
        hr = editor->QueryInterface(kIID_IWMHeaderInfo3, (void**)&header);
        return FAILED(hr) ? hr : (header.p ? S_OK : E_NOINTERFACE);
    }
    ~OpenEditor()
    {
        if (header.p)
            header.p->Release();
        header.p = nullptr;
        if (opened)
            editor->Close();
    }
};

CString TextOrEmpty(const std::map<CString, CString, CStringLess>& map, LPCWSTR name)
{
    auto it = map.find(CString(name));
    return it == map.end() ? CString() : it->second;
}

CString Utf16Value(const BYTE* value, DWORD length, int skipUnits, int maxChars)
{
    int available = (int)(length / 2) - skipUnits;
    if (available > maxChars)
        available = maxChars;
    const BYTE* p = value + skipUnits * 2;
    CString out;
    for (int i = 0; i < available; ++i)
    {
        wchar_t c = (wchar_t)(p[i * 2] | (p[i * 2 + 1] << 8));
        if (c == 0)
            break;
        out += c;
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and copying

CSongInfo::CSongInfo() : m_nAux1(0), m_nAux2(0), m_nFlag(0), m_strType(L"0")
{
    memset(m_digest, 0, sizeof(m_digest));
}

CSongInfo::CSongInfo(const CString& path, BOOL readTags) : CSongInfo()
{
    m_strPath = path;
    if (readTags)
        ReadFileTags(path);
}

CSongInfo::CSongInfo(const CSongInfo& other) : CObject(other)
{
    CopyFrom(other);
}

CSongInfo& CSongInfo::operator=(const CSongInfo& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CSongInfo::CSongInfo(CSongInfo&& other) noexcept : CObject(other)
{
    MoveFrom(other);
}

CSongInfo& CSongInfo::operator=(CSongInfo&& other) noexcept
{
    if (this != &other)
        MoveFrom(other);
    return *this;
}

CSongInfo::~CSongInfo()
{
}

void CSongInfo::MoveFrom(CSongInfo& other)
{
    for (int i = 0; i < TAG_COUNT; ++i)
        m_knownTags[i] = std::move(other.m_knownTags[i]);
    m_otherTags = std::move(other.m_otherTags);
    m_tagNames = std::move(other.m_tagNames);
    m_strId = std::move(other.m_strId);
    memcpy(m_digest, other.m_digest, sizeof(m_digest));
    m_strHash = std::move(other.m_strHash);
    m_strOwner = std::move(other.m_strOwner);
    m_strPath = std::move(other.m_strPath);
    m_nAux1 = other.m_nAux1;
    m_nAux2 = other.m_nAux2;
    m_nFlag = other.m_nFlag;
    m_strType = std::move(other.m_strType);
    m_strBoardValue = std::move(other.m_strBoardValue);
}

void CSongInfo::CopyFrom(const CSongInfo& other)
{
    for (int i = 0; i < TAG_COUNT; ++i)
        m_knownTags[i] = other.m_knownTags[i];
    m_otherTags = other.m_otherTags;
    m_tagNames = other.m_tagNames;
    m_strId = other.m_strId;
    memcpy(m_digest, other.m_digest, sizeof(m_digest));
    m_strHash = other.m_strHash;
    m_strOwner = other.m_strOwner;
    m_strPath = other.m_strPath;
    m_nAux1 = other.m_nAux1;
    m_nAux2 = other.m_nAux2;
    m_nFlag = other.m_nFlag;
    m_strType = other.m_strType;
    m_strBoardValue = other.m_strBoardValue;
}

// ---------------------------------------------------------------------------
// Accessors

#define SONG_TEXT_ACCESSORS(Name, field)                                                                       \
    HRESULT CSongInfo::Get##Name(CString& out) const                                                           \
    {                                                                                                          \
        out = field;                                                                                           \
        return S_OK;                                                                                           \
    }                                                                                                          \
    HRESULT CSongInfo::Set##Name(LPCWSTR text)                                                                 \
    {                                                                                                          \
        field = text ? text : L"";                                                                             \
        return S_OK;                                                                                           \
    }

SONG_TEXT_ACCESSORS(Id, m_strId)
SONG_TEXT_ACCESSORS(Hash, m_strHash)
SONG_TEXT_ACCESSORS(Owner, m_strOwner)
SONG_TEXT_ACCESSORS(Path, m_strPath)
SONG_TEXT_ACCESSORS(Type, m_strType)
SONG_TEXT_ACCESSORS(BoardValue, m_strBoardValue)

int CSongInfo::KnownTagIndex(LPCWSTR name)
{
    static const wchar_t* const kNames[TAG_COUNT] = {L"Title",    L"Author",   L"WM/AlbumTitle", L"WM/AlbumArtist",
                                                     L"WM/Genre", L"Duration", L"FileSize"};
    if (!name)
        return -1;
    for (int i = 0; i < TAG_COUNT; ++i)
        if (wcscmp(name, kNames[i]) == 0)
            return i;
    return -1;
}

CString CSongInfo::GetProperty(LPCWSTR name) const
{
    int known = KnownTagIndex(name);
    return known >= 0 ? m_knownTags[known] : TextOrEmpty(m_otherTags, name ? name : L"");
}

void CSongInfo::SetProperty(LPCWSTR name, LPCWSTR value)
{
    int known = KnownTagIndex(name);
    if (known >= 0)
        m_knownTags[known] = value ? value : L"";
    else
        m_otherTags[CString(name ? name : L"")] = value ? value : L"";
}

CString CSongInfo::GetTitle() const
{
    if (!m_knownTags[TAG_TITLE].IsEmpty())
        return m_knownTags[TAG_TITLE];
    // The file name less a three-letter extension; the four characters go
    // whether or not there is one, as every client names songs this way.
    CString name = m_strPath.Mid(m_strPath.ReverseFind(L'\\') + 1);
    return name.Left(name.GetLength() - 4);
}

CString CSongInfo::GetArtist() const
{
    return m_knownTags[TAG_AUTHOR].IsEmpty() ? m_knownTags[TAG_ALBUM_ARTIST] : m_knownTags[TAG_AUTHOR];
}

CString CSongInfo::GetAlbum() const
{
    return m_knownTags[TAG_ALBUM];
}

CString CSongInfo::GetFileSize() const
{
    return m_knownTags[TAG_FILE_SIZE].IsEmpty() ? CString(L"0") : m_knownTags[TAG_FILE_SIZE];
}

// The HRESULT-style forms: copy into the caller's string, or set a property.
#define SONG_OUT_GETTER(Name, expression)                                                                      \
    HRESULT CSongInfo::Get##Name(CString& out) const                                                           \
    {                                                                                                          \
        out = expression;                                                                                      \
        return S_OK;                                                                                           \
    }
#define SONG_PROPERTY_SETTER(Name, key)                                                                        \
    HRESULT CSongInfo::Set##Name(LPCWSTR text)                                                                 \
    {                                                                                                          \
        SetProperty(key, text);                                                                                \
        return S_OK;                                                                                           \
    }

SONG_OUT_GETTER(Title, GetTitle())
SONG_OUT_GETTER(Author, m_knownTags[TAG_AUTHOR])
SONG_OUT_GETTER(Artist, GetArtist())
SONG_OUT_GETTER(Album, GetAlbum())
SONG_OUT_GETTER(Genre, m_knownTags[TAG_GENRE])
SONG_OUT_GETTER(FileSize, GetFileSize())
SONG_PROPERTY_SETTER(Title, L"Title")
SONG_PROPERTY_SETTER(Author, L"Author")
SONG_PROPERTY_SETTER(AlbumArtist, L"WM/AlbumArtist")
SONG_PROPERTY_SETTER(Album, L"WM/AlbumTitle")
SONG_PROPERTY_SETTER(Genre, L"WM/Genre")
SONG_PROPERTY_SETTER(FileSize, L"FileSize")
SONG_PROPERTY_SETTER(Duration, L"Duration")

LONGLONG CSongInfo::GetDuration() const
{
    const CString& text = m_knownTags[TAG_DURATION];
    return text.IsEmpty() ? 0 : _wtoi64(text);
}

CString CSongInfo::GetDurationText() const
{
    LONGLONG seconds = GetDuration() / 10000000;
    CString text;
    text.Format(L"%02d:%02d", (int)(seconds / 60), (int)(seconds % 60));
    return text;
}

void CSongInfo::SetLocalServerPort(int port)
{
    g_localServerPort = port;
}

int CSongInfo::GetLocalServerPort()
{
    return g_localServerPort;
}

CString CSongInfo::GetStreamUrl() const
{
    CString url;
    url.Format(L"http://127.0.0.1:%d/%s/%s", g_localServerPort, (LPCWSTR)m_strOwner, (LPCWSTR)m_strHash);
    return url;
}

CString CSongInfo::GetPlayUrl() const
{
    if (m_strOwner.IsEmpty() || m_strOwner == L"local")
        return m_strPath;
    return GetStreamUrl();
}

// ---------------------------------------------------------------------------
// Names

// The content key "title-artist-album-genre-size" (UTF-8) names the song's
// content the same on every machine: its SHA-1 is the content hash. The same
// hasher, not reset, then takes the key followed by the local path; that
// digest is the id, which also depends on where the file lies.
HRESULT CSongInfo::ComputeHash(BOOL force)
{
    if (!force && m_strHash.GetLength() > 20)
    {
        ParseSha1Base32(m_strHash, m_digest);
        return S_OK;
    }
    CString key = GetTitle() + L"-" + GetArtist() + L"-" + GetAlbum() + L"-" + m_knownTags[TAG_GENRE] + L"-" +
                  GetFileSize();

    std::string keyBytes = FwWideToMultiByte(key, key.GetLength(), CP_UTF8);
    CString keyAndPath = key + m_strPath;
    std::string keyAndPathBytes = FwWideToMultiByte(keyAndPath, keyAndPath.GetLength(), CP_UTF8);

    CSha1 sha;
    wchar_t name[42];
    sha.Update(keyBytes.data(), (DWORD)keyBytes.size());
    sha.Final();
    sha.GetDigest(m_digest);
    FormatSha1Base32(m_digest, FALSE, name);
    m_strHash = name;

    sha.Update(keyAndPathBytes.data(), (DWORD)keyAndPathBytes.size());
    sha.Final();
    sha.GetDigest(m_digest);
    FormatSha1Base32(m_digest, FALSE, name);
    m_strId = name;
    sha.Reset();
    return S_OK;
}

// ---------------------------------------------------------------------------
// Tags

void CSongInfo::StoreTagAttribute(int index, LPCWSTR name, int type, const BYTE* value, DWORD length)
{
    CString attributeName(name ? name : L"");
    if (index >= 0 && index <= (int)m_tagNames.size())
        m_tagNames.insert(m_tagNames.begin() + index, attributeName);
    else
        m_tagNames.push_back(attributeName);

    CString text;
    switch (type)
    {
    case WM_TYPE_DWORD:
        if (value && length >= 4)
            text.Format(L"%lu", (unsigned long)(value[0] | (value[1] << 8) | (value[2] << 16) | ((DWORD)value[3] << 24)));
        break;
    case WM_TYPE_STRING:
        if (value && length >= 2)
        {
            WORD first = (WORD)(value[0] | (value[1] << 8));
            if (first == 0xFEFF || first == 0xFFFE)
            {
                if (length >= 4)
                    text = Utf16Value(value, length, 1, 236);
            }
            else
                text = Utf16Value(value, length, 0, 246);
        }
        break;
    case WM_TYPE_BOOL:
        if (value && length >= 4)
            text = (value[0] | value[1] | value[2] | value[3]) ? L"True" : L"False";
        break;
    case WM_TYPE_QWORD:
        if (value && length >= 8)
        {
            unsigned long long q = 0;
            for (int i = 7; i >= 0; --i)
                q = (q << 8) | value[i];
            text.Format(L"%I64u", q);
        }
        break;
    case WM_TYPE_WORD:
        if (value && length >= 2)
            text.Format(L"%d", (int)(WORD)(value[0] | (value[1] << 8)));
        break;
    case WM_TYPE_GUID: {
        wchar_t guidText[64] = {};
        GUID guid;
        if (value && length >= sizeof(GUID))
        {
            memcpy(&guid, value, sizeof(GUID));
            if (StringFromGUID2(guid, guidText, 64))
            {
                text = guidText;
                break;
            }
        }
        text = L"ERROR";
        break;
    }
    default: // byte arrays and unknown types carry no text
        break;
    }
    SetProperty(attributeName, text);
}

HRESULT CSongInfo::ReadFileTags(LPCWSTR path)
{
    m_strPath = path ? path : L"";
    if (!m_strPath.IsEmpty())
    {
        int stored = 0;
        OpenEditor editor;
        if (SUCCEEDED(editor.Open(m_strPath)))
        {
            WORD count = 0;
            if (SUCCEEDED(editor.header->GetAttributeCountEx(0, &count)))
            {
                for (WORD i = 0; i < count; ++i)
                {
                    WORD nameLength = 0, language = 0;
                    WMT_ATTR_DATATYPE type = WMT_TYPE_DWORD;
                    DWORD valueLength = 0;
                    if (FAILED(editor.header->GetAttributeByIndexEx(0, i, nullptr, &nameLength, &type, &language,
                                                                    nullptr, &valueLength)))
                        break;
                    std::vector<wchar_t> name((size_t)nameLength + 1, 0);
                    std::vector<BYTE> value((size_t)valueLength + 2, 0);
                    if (FAILED(editor.header->GetAttributeByIndexEx(0, i, name.data(), &nameLength, &type, &language,
                                                                    value.data(), &valueLength)))
                        break;
                    StoreTagAttribute(i, name.data(), (int)type, value.data(), valueLength);
                    ++stored;
                }
            }
        }
        if (stored == 0)
        {
            // No editor, or one that cannot read this file (as under Wine).
            CMediaTagReader reader;
            if (reader.ReadFile(m_strPath))
            {
                int index = 0;
                for (const MediaTagAttribute& a : reader.GetAttributes())
                    StoreTagAttribute(index++, a.name.c_str(), a.type, a.value.data(), (DWORD)a.value.size());
            }
        }
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    CString size(L"0");
    if (!m_strPath.IsEmpty() && GetFileAttributesExW(m_strPath, GetFileExInfoStandard, &data))
        size.Format(L"%lu", (unsigned long)data.nFileSizeLow);
    SetProperty(L"FileSize", size);
    return ComputeHash(FALSE);
}

// ---------------------------------------------------------------------------
// The "MS" element

int CSongInfo::LoadFromXml(const CXmlElement* element)
{
    if (!CXmlNode::HasName(element, L"MS"))
        return 1;
    // Values are read by name straight from the document's text: library
    // files hold tens of thousands of songs, and attribute nodes would cost
    // several times the text for values read once.
    CString id, path;
    if (!element->LookupAttribute(L"A", id) || !element->LookupAttribute(L"B", path))
        return 1;
    m_otherTags.clear();
    m_tagNames.clear();
    m_strId = std::move(id);
    m_strPath = std::move(path);
    auto read = [&](int tag, LPCWSTR letter) {
        if (element->LookupAttribute(letter, m_knownTags[tag]))
            return true;
        m_knownTags[tag].Empty();
        return false;
    };
    if (!read(TAG_TITLE, L"C"))
        m_knownTags[TAG_TITLE] = m_strPath;
    read(TAG_AUTHOR, L"E");
    read(TAG_ALBUM, L"D");
    read(TAG_ALBUM_ARTIST, L"F");
    read(TAG_GENRE, L"G");
    read(TAG_DURATION, L"I");
    read(TAG_FILE_SIZE, L"H");
    m_strBoardValue.Empty();
    element->LookupAttribute(L"K", m_strBoardValue);
    m_strOwner.Empty();
    element->LookupAttribute(L"X", m_strOwner);
    if (!element->LookupAttribute(L"Y", m_strType))
        m_strType = L"0";
    CString flag;
    m_nFlag = element->LookupAttribute(L"Z", flag) && flag == L"1" ? 1 : 0;
    if (!element->LookupAttribute(L"J", m_strHash))
    {
        m_strHash.Empty();
        ComputeHash(FALSE);
    }
    return 0;
}

int CSongInfo::SaveToXml(CXmlElement* element) const
{
    CString duration;
    duration.Format(L"%I64d", GetDuration());
    element->SetAttribute(L"A", m_strId);
    element->SetAttribute(L"B", m_strPath);
    element->SetAttribute(L"C", GetTitle());
    element->SetAttribute(L"D", GetAlbum());
    element->SetAttribute(L"E", m_knownTags[TAG_AUTHOR]);
    element->SetAttribute(L"F", GetArtist());
    element->SetAttribute(L"G", m_knownTags[TAG_GENRE]);
    element->SetAttribute(L"H", GetFileSize());
    element->SetAttribute(L"I", duration);
    element->SetAttribute(L"J", m_strHash);
    element->SetAttribute(L"K", m_strBoardValue);
    if (!m_strOwner.IsEmpty())
        element->SetAttribute(L"X", m_strOwner);
    if (!m_strType.IsEmpty())
        element->SetAttribute(L"Y", m_strType);
    if (m_nFlag)
        element->SetAttribute(L"Z", L"1");
    return 0;
}

// ---------------------------------------------------------------------------

SongItemInfo::SongItemInfo() : nIndex(-1)
{
    for (int& v : nValues)
        v = 0;
    memset(tail, 0, sizeof(tail));
}

char* WideToMultiByte(LPCWSTR text, int length, UINT codePage)
{
    std::string bytes = FwWideToMultiByte(text ? text : L"", text ? length : 0, codePage);
    char* out = new char[bytes.size() + 1];
    memcpy(out, bytes.c_str(), bytes.size() + 1);
    return out;
}

namespace
{

// The attribute value bytes of text for a Windows Media attribute type.
std::vector<BYTE> MakeWmAttributeValue(int type, LPCWSTR text)
{
    std::vector<BYTE> value;
    CString s(text ? text : L"");
    switch (type)
    {
    case WM_TYPE_DWORD: {
        DWORD v = wcstoul(s, nullptr, 10);
        value.assign((BYTE*)&v, (BYTE*)&v + 4);
        break;
    }
    case WM_TYPE_STRING:
        value.assign((const BYTE*)(LPCWSTR)s, (const BYTE*)(LPCWSTR)s + (s.GetLength() + 1) * 2);
        break;
    case WM_TYPE_BOOL: {
        BOOL v = wcstol(s, nullptr, 10) != 0;
        value.assign((BYTE*)&v, (BYTE*)&v + 4);
        break;
    }
    case WM_TYPE_QWORD: {
        unsigned long long v = wcstoull(s, nullptr, 10);
        value.assign((BYTE*)&v, (BYTE*)&v + 8);
        break;
    }
    case WM_TYPE_WORD: {
        WORD v = (WORD)wcstol(s, nullptr, 10);
        value.assign((BYTE*)&v, (BYTE*)&v + 2);
        break;
    }
    default:
        break;
    }
    return value;
}

} // namespace

HRESULT WriteFileTag(LPCWSTR path, LPCWSTR name, int type, LPCWSTR value)
{
    if (!path || !*path)
        return E_INVALIDARG;
    OpenEditor editor;
    HRESULT hr = editor.Open(path);
    if (FAILED(hr))
        return hr;
    WORD language = 0, index = 0, count = 1;
    hr = editor.header->GetAttributeIndices(0, name, &language, &index, &count);
    if (FAILED(hr) || count == 0)
        return hr; // a missing attribute is not added
    std::vector<BYTE> bytes = MakeWmAttributeValue(type, value);
    hr = editor.header->ModifyAttribute(0, index, (WMT_ATTR_DATATYPE)type, language, bytes.data(),
                                        (DWORD)bytes.size());
    if (FAILED(hr))
        return hr;
    return editor.editor->Flush();
}

HRESULT WriteFileTitle(LPCWSTR path, LPCWSTR text)
{
    return WriteFileTag(path, L"Title", WM_TYPE_STRING, text);
}

HRESULT WriteFileAuthor(LPCWSTR path, LPCWSTR text)
{
    return WriteFileTag(path, L"Author", WM_TYPE_STRING, text);
}

HRESULT WriteFileAlbum(LPCWSTR path, LPCWSTR text)
{
    return WriteFileTag(path, L"WM/AlbumTitle", WM_TYPE_STRING, text);
}
