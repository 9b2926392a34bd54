#include "Xml.h"
#include "XmlNodePool.h"

#include <algorithm>
#include <new>
#include <vector>
#include <wctype.h>
#include <wchar.h>

namespace
{

inline bool IsXmlSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

inline bool IsNameChar(wchar_t c)
{
    if (c < 128)
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L':' ||
               c == L'_';
    return iswalnum(c) != 0;
}

// Lower-cased copy of an attribute name: the key of the attribute index.
CString LowerKey(LPCWSTR name)
{
    CString key(name ? name : L"");
    int n = key.GetLength();
    LPWSTR p = key.GetBuffer(n);
    for (int i = 0; i < n; ++i)
        p[i] = (p[i] < 128) ? (wchar_t)((p[i] >= L'A' && p[i] <= L'Z') ? p[i] + 32 : p[i]) : (wchar_t)towlower(p[i]);
    key.ReleaseBuffer(n);
    return key;
}

bool SameNameNoCase(LPCWSTR a, LPCWSTR b)
{
    for (;; ++a, ++b)
    {
        wchar_t x = *a, y = *b;
        if (x == y)
        {
            if (!x)
                return true;
            continue;
        }
        if (x < 128 && y < 128)
        {
            if (x >= L'A' && x <= L'Z')
                x += 32;
            if (y >= L'A' && y <= L'Z')
                y += 32;
        }
        else
        {
            x = (wchar_t)towlower(x);
            y = (wchar_t)towlower(y);
        }
        if (x != y)
            return false;
    }
}

struct NamedEntity
{
    LPCWSTR name; // including the ';'
    int length;
    wchar_t value;
};

const NamedEntity kEntities[] = {
    {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
    {L"nbsp;", 5, L' '},
};

} // namespace

// ---------------------------------------------------------------------------
// Parser pieces

BOOL XmlMatchToken(LPCWSTR& pos, LPCWSTR literal)
{
    LPCWSTR p = pos;
    while (IsXmlSpace(*p))
        ++p;
    if (*p == 0)
        return FALSE;
    while (*literal)
    {
        if (*p == 0)
            break; // the text ends inside the literal: counts as a match
        if (*p != *literal)
            return FALSE;
        ++p;
        ++literal;
    }
    pos = p;
    return TRUE;
}

BOOL XmlReadName(LPCWSTR& pos, CString& name)
{
    LPCWSTR p = pos;
    while (IsXmlSpace(*p))
        ++p;
    if (*p == 0)
        return FALSE;
    LPCWSTR start = p;
    while (*p && IsNameChar(*p))
        ++p;
    if (p == start)
        return FALSE;
    name = CString(start, (int)(p - start));
    pos = p;
    return TRUE;
}

// Decodes the span [pos, pos + length); pos stops where decoding stopped, so a
// caller sees an unconsumed span as an error.
CString XmlDecodeText(LPCWSTR& pos, int length)
{
    if (length <= 0 || *pos == 0)
        return CString();
    LPCWSTR p = pos;
    LPCWSTR end = pos + length;
    if (iswspace(*p))
        ++p;
    // Most values hold no reference at all: take them in one piece.
    LPCWSTR amp = p;
    while (amp < end && *amp != L'&')
        ++amp;
    if (amp == end)
    {
        pos = end;
        return CString(p, (int)(end - p));
    }
    std::wstring out;
    out.reserve(length);
    while (p < end)
    {
        wchar_t c = *p;
        if (c != L'&')
        {
            out += c;
            ++p;
            continue;
        }
        LPCWSTR ref = p + 1;
        if (ref >= end)
        {
            p = end; // a lone '&' at the end of the span is dropped
            break;
        }
        if (*ref == L'#')
        {
            if (ref + 1 >= end || !(ref[1] >= L'0' && ref[1] <= L'9'))
                break; // hexadecimal or malformed reference: stop here
            unsigned long value = 0;
            LPCWSTR d = ref + 1;
            while (d < end && *d >= L'0' && *d <= L'9')
            {
                unsigned long next = value * 10 + (unsigned long)(*d - L'0');
                value = (next / 10 == value) ? next : 0xFFFFFFFFul; // saturate like wcstoul
                ++d;
            }
            wchar_t ch = (wchar_t)(value & 0xFFFF);
            if (ch == 0)
                break; // a reference to NUL would cut the text short: refuse it
            out += ch;
            while (d < end && *d != L';')
                ++d;
            if (d >= end)
            {
                p = end;
                break;
            }
            p = d + 1;
            continue;
        }
        bool matched = false;
        for (const NamedEntity& e : kEntities)
        {
            if (end - ref >= e.length && _wcsnicmp(ref, e.name, e.length) == 0)
            {
                out += e.value;
                p = ref + e.length;
                matched = true;
                break;
            }
        }
        if (!matched)
        {
            out += L'&';
            p = ref;
        }
    }
    pos = p;
    return CString(std::move(out));
}

void XmlAppendEscaped(LPCWSTR text, int length, std::wstring& out)
{
    for (int i = 0; i < length; ++i)
    {
        wchar_t c = text[i];
        switch (c)
        {
        case L'"':
            out += L"&quot;";
            break;
        case L'&':
            out += L"&amp;";
            break;
        case L'\'':
            out += L"&apos;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        default:
            if (c < 32)
            {
                wchar_t buf[16];
                swprintf(buf, 16, L"&#%lu;", (unsigned long)c);
                out += buf;
            }
            else
                out += c;
        }
    }
}

void XmlAppendEscaped(LPCWSTR text, CString& out)
{
    std::wstring s;
    if (text)
        XmlAppendEscaped(text, (int)wcslen(text), s);
    out += s.c_str();
}

// ---------------------------------------------------------------------------
// CXmlNode

namespace
{

// name="value" or name='value' at pos; pos moves behind the closing quote.
bool ReadAttribute(LPCWSTR& pos, CString& name, CString& value)
{
    LPCWSTR p = pos;
    if (!XmlReadName(p, name) || !XmlMatchToken(p, L"="))
        return false;
    wchar_t quote = L'"';
    if (!XmlMatchToken(p, L"\""))
    {
        quote = L'\'';
        if (!XmlMatchToken(p, L"'"))
            return false;
    }
    LPCWSTR close = wcschr(p, quote);
    if (!close)
        return false;
    int length = (int)(close - p);
    LPCWSTR d = p;
    value = XmlDecodeText(d, length);
    if (length > 0 && d != close)
        return false;
    pos = close + 1;
    return true;
}

} // namespace

CXmlNode::CXmlNode(CXmlElement* parent, LPCWSTR name)
    : m_nType(XML_NODE_PLAIN), m_bPooled(false), m_pParent(parent), m_strName(name ? name : L"")
{
}

CXmlNode::~CXmlNode()
{
}

BOOL CXmlNode::HasName(LPCWSTR name) const
{
    return _wcsicmp(m_strName, name ? name : L"") == 0;
}

BOOL CXmlNode::HasName(const CXmlNode* node, LPCWSTR name)
{
    return node != nullptr && node->HasName(name);
}

BOOL CXmlNode::ParseAttribute(LPCWSTR& pos)
{
    return ReadAttribute(pos, m_strName, m_strValue);
}

void CXmlNode::AppendAttributeXml(std::wstring& out) const
{
    out += L' ';
    out.append((LPCWSTR)m_strName, m_strName.GetLength());
    out += L"=\"";
    XmlAppendEscaped(m_strValue, m_strValue.GetLength(), out);
    out += L'"';
}

void CXmlNode::AppendAttributeXml(CString& out) const
{
    std::wstring s;
    AppendAttributeXml(s);
    out += s.c_str();
}

// ---------------------------------------------------------------------------
// CXmlElement

// What one parse carries from element to element.
struct XmlParseState
{
    CXmlNodePool* pool;
    // The attributes of the element being read, kept here until their number
    // is known, so that each element's list is allocated once and exactly.
    std::vector<CXmlNode*> attributes;
    CString name;
    CString value;
};

CXmlElement::CXmlElement(CXmlElement* parent, LPCWSTR name) : CXmlNode(parent, name)
{
    m_nType = XML_NODE_ELEMENT;
}

CXmlElement::~CXmlElement()
{
    DeleteChildren();
    DeleteAttributes();
}

template <typename T> T* CXmlElement::NewNode(CXmlNodePool* pool, CXmlElement* parent)
{
    if (!pool)
        return new T(parent, nullptr);
    T* node = new (pool->Allocate(sizeof(T))) T(parent, nullptr);
    static_cast<CXmlNode*>(node)->m_bPooled = true;
    return node;
}

void CXmlElement::DestroyNode(CXmlNode* node)
{
    if (node->m_bPooled)
        node->~CXmlNode();
    else
        delete node;
}

void CXmlElement::DeleteChildren()
{
    for (CXmlElement* child : m_children)
        DestroyNode(child);
    m_children.clear();
}

void CXmlElement::DeleteAttributes()
{
    for (CXmlNode* node : m_attributeOrder)
        DestroyNode(node);
    m_pAttributeIndex.reset();
    m_attributeOrder.clear();
}

// Up to this many attributes a lookup walks the names; beyond it the element
// builds its index.
const size_t kIndexedAttributeCount = 16;

CXmlNode* CXmlElement::FindIn(const std::vector<CXmlNode*>& nodes, LPCWSTR name) const
{
    if (!name)
        name = L"";
    if (!m_pAttributeIndex)
    {
        if (nodes.size() <= kIndexedAttributeCount)
        {
            for (CXmlNode* node : nodes)
                if (SameNameNoCase(node->m_strName, name))
                    return node;
            return nullptr;
        }
        std::unique_ptr<CMapStringToPtr> index(new CMapStringToPtr(10));
        index->InitHashTable((UINT)(nodes.size() | 1));
        for (CXmlNode* node : nodes)
            index->SetAt(LowerKey(node->m_strName), node);
        m_pAttributeIndex = std::move(index);
    }
    void* found = nullptr;
    return m_pAttributeIndex->Lookup(LowerKey(name), found) ? static_cast<CXmlNode*>(found) : nullptr;
}

CXmlElement* CXmlElement::AppendChild(CXmlElement* child)
{
    if (!child || (child->m_pParent && child->m_pParent != this))
        return nullptr;
    if (child->m_pParent == this)
        for (CXmlElement* existing : m_children)
            if (existing == child)
                return nullptr;
    m_children.push_back(child);
    child->m_pParent = this;
    return child;
}

CXmlNode* CXmlElement::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    CXmlNode* node = FindIn(m_attributeOrder, name);
    if (!node)
    {
        std::unique_ptr<CXmlNode> fresh(new CXmlNode(this, name));
        fresh->m_nType = XML_NODE_ATTRIBUTE;
        if (m_pAttributeIndex)
            m_pAttributeIndex->SetAt(LowerKey(fresh->m_strName), fresh.get());
        try
        {
            m_attributeOrder.push_back(fresh.get());
        }
        catch (...)
        {
            m_pAttributeIndex.reset(); // it names the node about to go
            throw;
        }
        node = fresh.release();
    }
    if (value)
        node->m_strValue = value;
    return node;
}

CXmlNode* CXmlElement::FindAttribute(LPCWSTR name) const
{
    return FindIn(m_attributeOrder, name);
}

CString CXmlElement::GetAttribute(LPCWSTR name, LPCWSTR defaultValue) const
{
    CXmlNode* node = FindAttribute(name);
    if (node)
        return node->m_strValue;
    return CString(defaultValue ? defaultValue : L"");
}

namespace
{

// A position is the 1-based index of the next item.
template <typename T> T* NextAt(const std::vector<T*>& items, POSITION& pos)
{
    size_t index = (size_t)(UINT_PTR)pos;
    if (!pos || index > items.size())
        AfxThrowInvalidArgException();
    pos = index < items.size() ? (POSITION)(UINT_PTR)(index + 1) : nullptr;
    return items[index - 1];
}

} // namespace

CXmlElement* CXmlElement::GetNextChild(POSITION& pos) const
{
    return NextAt(m_children, pos);
}

CXmlNode* CXmlElement::GetNextAttribute(POSITION& pos) const
{
    return NextAt(m_attributeOrder, pos);
}

// ---------------------------------------------------------------------------
// Parsing

// Reads the attributes into list, which starts as a copy of the element's own.
// A name read again (in any case) updates the node it already has and puts it
// at the end once more; repeats counts such names, so that the earlier places
// can be dropped when the element is done.
BOOL CXmlElement::ReadAttributes(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state,
                                 std::vector<CXmlNode*>& list, size_t& repeats)
{
    for (;;)
    {
        LPCWSTR p = pos;
        while (IsXmlSpace(*p))
            ++p;
        if (*p == 0)
            return FALSE;
        if (*p == L'>')
        {
            pos = p + 1;
            isEmpty = FALSE;
            return TRUE;
        }
        if (*p == L'/')
        {
            pos = p + 1;
            isEmpty = TRUE;
            return XmlMatchToken(pos, L">");
        }
        if (!ReadAttribute(pos, state.name, state.value))
            return FALSE;
        CXmlNode* node = FindIn(list, state.name);
        if (!node)
        {
            list.push_back(nullptr); // room first, so that a new node always has an owner
            node = NewNode<CXmlNode>(state.pool, this);
            list.back() = node;
            node->m_nType = XML_NODE_ATTRIBUTE;
            if (m_pAttributeIndex)
                m_pAttributeIndex->SetAt(LowerKey(state.name), node);
        }
        else
        {
            // The later of two names that differ only in case wins, with its
            // own name, and stands last in the order.
            list.push_back(node);
            ++repeats;
        }
        node->m_strName = std::move(state.name);
        node->m_strValue = std::move(state.value);
    }
}

// Keeps the last place of every node in list, in order, without allocating.
void CXmlElement::FinishAttributes(std::vector<CXmlNode*>& list, size_t repeats)
{
    if (!list.empty() && !list.back())
        list.pop_back(); // room made for a node that was never made
    if (repeats == 0)
        return;
    // A node's parent is cleared while its last place is kept, which marks the
    // earlier places, and then set again.
    size_t kept = list.size();
    for (size_t i = list.size(); i-- > 0;)
    {
        CXmlNode* node = list[i];
        if (node->m_pParent != this)
            continue;
        node->m_pParent = nullptr;
        list[--kept] = node;
    }
    list.erase(list.begin(), list.begin() + kept);
    for (CXmlNode* node : list)
        node->m_pParent = this;
}

BOOL CXmlElement::ParseAttributes(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state)
{
    std::vector<CXmlNode*>& list = state.attributes;
    list.assign(m_attributeOrder.begin(), m_attributeOrder.end());
    size_t repeats = 0;
    try
    {
        BOOL ok = ReadAttributes(pos, isEmpty, state, list, repeats);
        FinishAttributes(list, repeats);
        repeats = 0;
        std::vector<CXmlNode*> exact(list.begin(), list.end());
        m_attributeOrder.swap(exact);
        return ok;
    }
    catch (...)
    {
        // The nodes read so far are not yet the element's: they go here.
        FinishAttributes(list, repeats);
        for (CXmlNode* node : list)
            if (std::find(m_attributeOrder.begin(), m_attributeOrder.end(), node) == m_attributeOrder.end())
                DestroyNode(node);
        list.clear();
        m_pAttributeIndex.reset();
        throw;
    }
}

namespace
{

// The end tag "</" name ">" at pos, matched as XmlMatchToken would: a text
// that ends inside it counts as a match.
bool MatchEndTag(LPCWSTR& pos, const CString& name)
{
    LPCWSTR p = pos;
    LPCWSTR n = name;
    int count = name.GetLength() + 3;
    for (int i = 0; i < count && *p; ++i, ++p)
    {
        wchar_t expected = i == 0 ? L'<' : i == 1 ? L'/' : i == count - 1 ? L'>' : n[i - 2];
        if (*p != expected)
            return false;
    }
    pos = p;
    return true;
}

} // namespace

BOOL CXmlElement::ParseContent(LPCWSTR& pos, int depth, XmlParseState& state)
{
    std::wstring text;
    BOOL done = FALSE;
    while (*pos)
    {
        LPCWSTR lt = wcschr(pos, L'<');
        if (!lt)
            return FALSE;
        if (lt > pos)
        {
            if (!text.empty() && text.back() != L' ')
                text += L' ';
            LPCWSTR d = pos;
            CString piece = XmlDecodeText(d, (int)(lt - pos));
            if (d != lt)
                return FALSE;
            text.append((LPCWSTR)piece, piece.GetLength());
            pos = lt;
        }
        if (MatchEndTag(pos, m_strName))
        {
            done = TRUE;
            break;
        }
        if (XmlMatchToken(pos, L"<!--"))
        {
            LPCWSTR close = wcsstr(pos, L"-->");
            if (!close)
                return FALSE;
            pos = close + 3;
            continue;
        }
        // The child joins the list before it is read, so that whatever it
        // holds when reading throws is still owned.
        if (m_children.size() == m_children.capacity())
            m_children.reserve(m_children.empty() ? 4 : m_children.size() * 2);
        CXmlElement* child = NewNode<CXmlElement>(state.pool, this);
        m_children.push_back(child);
        if (!child->ParseAtDepth(pos, depth + 1, state))
        {
            m_children.pop_back();
            DestroyNode(child);
            return FALSE;
        }
    }
    if (!text.empty())
        m_strValue += CString(std::move(text));
    return done;
}

BOOL CXmlElement::ParseAtDepth(LPCWSTR& pos, int depth, XmlParseState& state)
{
    if (depth >= XML_MAX_DEPTH)
        return FALSE;
    if (!XmlMatchToken(pos, L"<") || !XmlReadName(pos, m_strName))
        return FALSE;
    BOOL isEmpty = FALSE;
    if (!ParseAttributes(pos, isEmpty, state))
        return FALSE;
    if (isEmpty)
        return TRUE;
    return ParseContent(pos, depth, state);
}

BOOL CXmlElement::ParseWithPool(LPCWSTR& pos, CXmlNodePool* pool)
{
    XmlParseState state{pool, {}, CString(), CString()};
    return ParseAtDepth(pos, 0, state);
}

BOOL CXmlElement::Parse(LPCWSTR& pos)
{
    return ParseWithPool(pos, nullptr);
}

namespace
{

// The root of a parsed document: it holds the pool of every node below it, and
// the nodes go before their memory does.
class CXmlDocumentRoot : public CXmlElement
{
  public:
    CXmlDocumentRoot() : CXmlElement(nullptr, nullptr) {}
    ~CXmlDocumentRoot() override
    {
        DeleteChildren();
        DeleteAttributes();
    }
    BOOL ParseDocument(LPCWSTR& pos) { return ParseWithPool(pos, &m_pool); }

  private:
    CXmlNodePool m_pool;
};

BOOL SkipComments(LPCWSTR& pos)
{
    while (XmlMatchToken(pos, L"<!--"))
    {
        LPCWSTR close = wcsstr(pos, L"-->");
        if (!close)
            return FALSE;
        pos = close + 3;
    }
    return TRUE;
}

// The text of a document's bytes: UTF-16 after a byte-order mark, else UTF-8
// (a leading mark skipped). Throws std::bad_alloc.
void DecodeDocumentBytes(const BYTE* bytes, DWORD count, std::wstring& text)
{
    if (count >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
    {
        bool bigEndian = bytes[0] == 0xFE;
        DWORD units = count / 2 - 1;
        text.resize(units);
        const BYTE* p = bytes + 2;
        for (DWORD i = 0; i < units; ++i, p += 2)
            text[i] = bigEndian ? (wchar_t)((p[0] << 8) | p[1]) : (wchar_t)(p[0] | (p[1] << 8));
        return;
    }
    const BYTE* p = bytes;
    DWORD n = count;
    if (n > 2 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
    {
        p += 3;
        n -= 3;
    }
    if (n == 0)
        return;
    // UTF-8 never takes more UTF-16 units than bytes: one pass into room for
    // that many.
    text.resize(n);
    int units = MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)p, (int)n, &text[0], (int)n);
    text.resize(units > 0 ? (size_t)units : 0);
}

} // namespace

CXmlElement* XmlParseString(LPCWSTR text, BOOL declarationRequired)
{
    if (!text)
        return nullptr;
    LPCWSTR pos = text;
    LPCWSTR probe = pos;
    if (XmlMatchToken(probe, L"<?xml version=\""))
    {
        LPCWSTR close = wcsstr(probe, L"?>");
        if (!close)
            return nullptr;
        pos = close + 2;
    }
    else if (declarationRequired)
        return nullptr;
    if (!SkipComments(pos))
        return nullptr;
    if (XmlMatchToken(pos, L"<!DOCTYPE"))
    {
        LPCWSTR close = wcschr(pos, L'>');
        if (!close)
            return nullptr;
        pos = close + 1;
        if (!SkipComments(pos))
            return nullptr;
    }
    CXmlDocumentRoot* root = nullptr;
    try
    {
        root = new CXmlDocumentRoot;
        if (root->ParseDocument(pos))
            return root;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (std::exception&)
    {
        // Out of memory (or a string past its limit): the load fails cleanly.
    }
    delete root;
    return nullptr;
}

CXmlElement* XmlParseBytes(const BYTE* bytes, DWORD count, BOOL declarationRequired)
{
    if (!bytes)
        return nullptr;
    std::wstring text;
    try
    {
        DecodeDocumentBytes(bytes, count, text);
    }
    catch (std::exception&)
    {
        return nullptr;
    }
    // An embedded zero ends the text for the parser, as in the zero-terminated
    // text it works on.
    return XmlParseString(text.c_str(), declarationRequired);
}

CXmlElement* XmlParseFileHandle(HANDLE file, BOOL declarationRequired, DWORD maxBytes)
{
    if (file == INVALID_HANDLE_VALUE || !file)
        return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > (LONGLONG)maxBytes)
        return nullptr;
    std::wstring text;
    try
    {
        // The bytes go before the parse starts: only the text and the
        // document are held at once.
        std::vector<BYTE> bytes((size_t)size.QuadPart + 1);
        DWORD total = 0;
        while (total < (DWORD)size.QuadPart)
        {
            DWORD got = 0;
            if (!ReadFile(file, &bytes[total], (DWORD)size.QuadPart - total, &got, nullptr) || got == 0)
                break;
            total += got;
        }
        DecodeDocumentBytes(bytes.data(), total, text);
    }
    catch (std::exception&)
    {
        return nullptr;
    }
    return XmlParseString(text.c_str(), declarationRequired);
}

CXmlElement* XmlLoadFile(LPCWSTR path, BOOL declarationRequired, DWORD maxBytes)
{
    if (!path)
        return nullptr;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    CXmlElement* root = XmlParseFileHandle(file, declarationRequired, maxBytes);
    CloseHandle(file);
    return root;
}

// ---------------------------------------------------------------------------
// Writing

void CXmlElement::AppendXml(std::wstring& out, BOOL pretty, int depth) const
{
    out.append((size_t)depth * 2, L' ');
    out += L'<';
    out.append((LPCWSTR)m_strName, m_strName.GetLength());
    for (const CXmlNode* attribute : m_attributeOrder)
        attribute->AppendAttributeXml(out);
    bool hasChildren = !m_children.empty();
    if (!hasChildren && m_strValue.IsEmpty())
    {
        out += L"/>";
        if (pretty)
            out += L"\r\n";
        return;
    }
    out += L'>';
    if (pretty && hasChildren)
        out += L"\r\n";
    for (const CXmlElement* child : m_children)
        child->AppendXml(out, pretty, depth + 1);
    XmlAppendEscaped(m_strValue, m_strValue.GetLength(), out);
    if (pretty && hasChildren)
        out.append((size_t)depth * 2, L' ');
    out += L"</";
    out.append((LPCWSTR)m_strName, m_strName.GetLength());
    out += L'>';
    if (pretty)
        out += L"\r\n";
}

void CXmlElement::AppendXml(CString& out, BOOL pretty, int depth) const
{
    std::wstring s;
    AppendXml(s, pretty, depth);
    out += s.c_str();
}

namespace
{

void BuildDocument(const CXmlElement& root, BOOL withDeclaration, BOOL pretty, std::wstring& out)
{
    if (withDeclaration)
        out += L"<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    if (pretty)
        out += L"\r\n";
    root.AppendXml(out, pretty, 0);
}

} // namespace

CString CXmlElement::GetXml(BOOL withDeclaration, BOOL pretty) const
{
    std::wstring s;
    BuildDocument(*this, withDeclaration, pretty, s);
    return CString(s.c_str(), (int)s.size());
}

BOOL WriteFileReplacing(LPCWSTR path, const void* bytes, DWORD count)
{
    if (!path || !*path)
        return FALSE;
    // A read-only target stays untouched: the caller decides whether to clear
    // the attribute and try again.
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return FALSE;
    std::wstring temp(path);
    wchar_t suffix[32];
    swprintf(suffix, 32, L".%lu.tmp", GetCurrentThreadId());
    temp += suffix;
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL ok = count == 0 || (WriteFile(file, bytes, count, &written, nullptr) && written == count);
    ok = ok && FlushFileBuffers(file);
    CloseHandle(file);
    if (ok)
        ok = MoveFileExW(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temp.c_str());
    return ok;
}

BOOL CXmlElement::SaveFile(LPCWSTR path) const
{
    std::wstring text;
    BuildDocument(*this, TRUE, TRUE, text);
    int size = text.empty() ? 0
                            : WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                                  nullptr);
    std::string bytes((size_t)size, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &bytes[0], size, nullptr, nullptr);
    return WriteFileReplacing(path, bytes.data(), (DWORD)bytes.size());
}
