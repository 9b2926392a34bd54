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
CString LowerKey(LPCWSTR name, int length)
{
    CString key(name, length);
    LPWSTR p = key.GetBuffer(length);
    for (int i = 0; i < length; ++i)
        p[i] = (p[i] < 128) ? (wchar_t)((p[i] >= L'A' && p[i] <= L'Z') ? p[i] + 32 : p[i]) : (wchar_t)towlower(p[i]);
    key.ReleaseBuffer(length);
    return key;
}

bool SameNameNoCase(LPCWSTR a, int aLength, LPCWSTR b, int bLength)
{
    if (aLength != bLength)
        return false;
    for (int i = 0; i < aLength; ++i)
    {
        wchar_t x = a[i], y = b[i];
        if (x == y)
            continue;
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
    return true;
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

// One attribute of a parsed element as it stands in the document's text (or,
// when its value needed decoding, in the pool). A null name marks an
// attribute that a later one of the same name replaced.
struct XmlAttributeSpan
{
    LPCWSTR name;
    LPCWSTR value;
    int nameLength;
    int valueLength;
};

// What one parse carries from element to element.
struct XmlParseState
{
    CXmlNodePool* nodePool; // null: nodes on the heap
    CXmlNodePool* textPool; // decoded values
    // The attributes of the element being read, kept here until their number
    // is known, so that each element's are stored once and exactly.
    std::vector<XmlAttributeSpan> spans;
};

CXmlElement::CXmlElement(CXmlElement* parent, LPCWSTR name)
    : CXmlNode(parent, name), m_pPendingAttributes(nullptr), m_nPendingAttributes(0), m_pPool(nullptr)
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
    m_nPendingAttributes = 0;
}

// Up to this many attributes a lookup walks the names; beyond it the element
// builds its index.
const size_t kIndexedAttributeCount = 16;

void CXmlElement::MakeAttributeNodes() const
{
    if (!m_nPendingAttributes)
        return;
    std::vector<CXmlNode*> nodes;
    nodes.reserve(m_nPendingAttributes);
    try
    {
        for (UINT i = 0; i < m_nPendingAttributes; ++i)
        {
            const XmlAttributeSpan& span = m_pPendingAttributes[i];
            CXmlNode* node = NewNode<CXmlNode>(m_pPool, const_cast<CXmlElement*>(this));
            nodes.push_back(node);
            node->m_nType = XML_NODE_ATTRIBUTE;
            node->m_strName = CString(span.name, span.nameLength);
            node->m_strValue = CString(span.value, span.valueLength);
        }
    }
    catch (...)
    {
        for (CXmlNode* node : nodes)
            DestroyNode(node);
        throw;
    }
    m_attributeOrder.swap(nodes);
    m_nPendingAttributes = 0;
}

const XmlAttributeSpan* CXmlElement::FindPending(LPCWSTR name) const
{
    int length = (int)wcslen(name);
    for (UINT i = 0; i < m_nPendingAttributes; ++i)
    {
        const XmlAttributeSpan& span = m_pPendingAttributes[i];
        if (SameNameNoCase(span.name, span.nameLength, name, length))
            return &span;
    }
    return nullptr;
}

CXmlNode* CXmlElement::FindNode(LPCWSTR name) const
{
    MakeAttributeNodes();
    if (!m_pAttributeIndex)
    {
        if (m_attributeOrder.size() <= kIndexedAttributeCount)
        {
            int length = (int)wcslen(name);
            for (CXmlNode* node : m_attributeOrder)
                if (SameNameNoCase(node->m_strName, node->m_strName.GetLength(), name, length))
                    return node;
            return nullptr;
        }
        std::unique_ptr<CMapStringToPtr> index(new CMapStringToPtr(10));
        index->InitHashTable((UINT)(m_attributeOrder.size() | 1));
        for (CXmlNode* node : m_attributeOrder)
            index->SetAt(LowerKey(node->m_strName, node->m_strName.GetLength()), node);
        m_pAttributeIndex = std::move(index);
    }
    void* found = nullptr;
    return m_pAttributeIndex->Lookup(LowerKey(name, (int)wcslen(name)), found) ? static_cast<CXmlNode*>(found)
                                                                                : nullptr;
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
    if (!name)
        name = L"";
    CXmlNode* node = FindNode(name);
    if (!node)
    {
        std::unique_ptr<CXmlNode> fresh(new CXmlNode(this, name));
        fresh->m_nType = XML_NODE_ATTRIBUTE;
        if (m_pAttributeIndex)
            m_pAttributeIndex->SetAt(LowerKey(fresh->m_strName, fresh->m_strName.GetLength()), fresh.get());
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
    return FindNode(name ? name : L"");
}

BOOL CXmlElement::LookupAttribute(LPCWSTR name, CString& value) const
{
    if (!name)
        name = L"";
    if (m_nPendingAttributes && m_nPendingAttributes <= kIndexedAttributeCount)
    {
        const XmlAttributeSpan* span = FindPending(name);
        if (!span)
            return FALSE;
        value = CString(span->value, span->valueLength);
        return TRUE;
    }
    CXmlNode* node = FindNode(name);
    if (!node)
        return FALSE;
    value = node->m_strValue;
    return TRUE;
}

CString CXmlElement::GetAttribute(LPCWSTR name, LPCWSTR defaultValue) const
{
    CString value;
    if (LookupAttribute(name, value))
        return value;
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
    MakeAttributeNodes();
    return NextAt(m_attributeOrder, pos);
}

// ---------------------------------------------------------------------------
// Parsing

namespace
{

// Keys of the attributes read so far, made once an element has many.
class CSpanIndex
{
  public:
    const XmlAttributeSpan* Find(std::vector<XmlAttributeSpan>& spans, LPCWSTR name, int length, size_t& at)
    {
        if (!m_pMap && spans.size() > kIndexedAttributeCount)
        {
            m_pMap.reset(new CMapStringToPtr(10));
            for (size_t i = 0; i < spans.size(); ++i)
                if (spans[i].name)
                    m_pMap->SetAt(LowerKey(spans[i].name, spans[i].nameLength), (void*)(UINT_PTR)i);
        }
        if (!m_pMap)
        {
            for (size_t i = 0; i < spans.size(); ++i)
                if (spans[i].name && SameNameNoCase(spans[i].name, spans[i].nameLength, name, length))
                {
                    at = i;
                    return &spans[i];
                }
            return nullptr;
        }
        void* found = nullptr;
        if (!m_pMap->Lookup(LowerKey(name, length), found))
            return nullptr;
        at = (size_t)(UINT_PTR)found;
        return &spans[at];
    }
    // The span just appended at index at.
    void Added(const XmlAttributeSpan& span, size_t at)
    {
        if (m_pMap)
            m_pMap->SetAt(LowerKey(span.name, span.nameLength), (void*)(UINT_PTR)at);
    }

  private:
    std::unique_ptr<CMapStringToPtr> m_pMap;
};

} // namespace

// Reads the attributes into state.spans. Of two names that differ only in
// case the later wins, with its own name, and stands last in the order.
BOOL CXmlElement::ReadAttributeSpans(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state)
{
    std::vector<XmlAttributeSpan>& spans = state.spans;
    spans.clear();
    CSpanIndex index;
    size_t replaced = 0;
    BOOL ok = FALSE;
    for (;;)
    {
        LPCWSTR p = pos;
        while (IsXmlSpace(*p))
            ++p;
        if (*p == 0)
            break;
        if (*p == L'>')
        {
            pos = p + 1;
            isEmpty = FALSE;
            ok = TRUE;
            break;
        }
        if (*p == L'/')
        {
            pos = p + 1;
            isEmpty = TRUE;
            ok = XmlMatchToken(pos, L">");
            break;
        }
        // name="value" or name='value', read as ParseAttribute reads it.
        XmlAttributeSpan span;
        span.name = p;
        while (*p && IsNameChar(*p))
            ++p;
        span.nameLength = (int)(p - span.name);
        if (span.nameLength == 0 || !XmlMatchToken(p, L"="))
            break;
        wchar_t quote = L'"';
        if (!XmlMatchToken(p, L"\""))
        {
            quote = L'\'';
            if (!XmlMatchToken(p, L"'"))
                break;
        }
        LPCWSTR close = wcschr(p, quote);
        if (!close)
            break;
        span.value = p;
        span.valueLength = (int)(close - p);
        LPCWSTR v = p;
        while (v < close && *v != L'&')
            ++v;
        if (span.valueLength > 0 && (v < close || iswspace(*p)))
        {
            LPCWSTR d = p;
            CString decoded = XmlDecodeText(d, span.valueLength);
            if (d != close)
                break;
            int length = decoded.GetLength();
            wchar_t* kept = static_cast<wchar_t*>(state.textPool->Allocate((size_t)length * sizeof(wchar_t)));
            wmemcpy(kept, decoded, (size_t)length);
            span.value = kept;
            span.valueLength = length;
        }
        pos = close + 1;
        size_t at = 0;
        if (index.Find(spans, span.name, span.nameLength, at))
        {
            spans[at].name = nullptr;
            ++replaced;
        }
        spans.push_back(span);
        index.Added(span, spans.size() - 1);
    }
    if (replaced)
        spans.erase(std::remove_if(spans.begin(), spans.end(), [](const XmlAttributeSpan& s) { return !s.name; }),
                    spans.end());
    return ok;
}

// Enters an attribute read into an element that already has nodes.
void CXmlElement::AddParsedAttribute(const XmlAttributeSpan& span)
{
    CString name(span.name, span.nameLength);
    CXmlNode* earlier = FindNode(name);
    if (earlier)
    {
        m_attributeOrder.erase(std::find(m_attributeOrder.begin(), m_attributeOrder.end(), earlier));
        if (m_pAttributeIndex)
            m_pAttributeIndex->RemoveKey(LowerKey(name, name.GetLength()));
        DestroyNode(earlier);
    }
    CXmlNode* node = SetAttribute(name, nullptr);
    node->m_strValue = CString(span.value, span.valueLength);
}

BOOL CXmlElement::ParseAttributes(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state)
{
    BOOL ok = ReadAttributeSpans(pos, isEmpty, state);
    std::vector<XmlAttributeSpan>& spans = state.spans;
    if (spans.empty())
        return ok;
    if (state.nodePool && m_attributeOrder.empty() && !m_nPendingAttributes)
    {
        // A parsed document keeps its text, so the spans can stay.
        XmlAttributeSpan* kept =
            static_cast<XmlAttributeSpan*>(state.nodePool->Allocate(spans.size() * sizeof(XmlAttributeSpan)));
        std::copy(spans.begin(), spans.end(), kept);
        m_pPendingAttributes = kept;
        m_nPendingAttributes = (UINT)spans.size();
        return ok;
    }
    // The text may go when the parse is over: nodes now.
    MakeAttributeNodes();
    for (const XmlAttributeSpan& span : spans)
        AddParsedAttribute(span);
    return ok;
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
        CXmlElement* child = NewNode<CXmlElement>(state.nodePool, this);
        child->m_pPool = state.nodePool;
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
    CXmlNodePool scratch;
    XmlParseState state{pool, pool ? pool : &scratch, {}};
    if (pool)
        m_pPool = pool;
    return ParseAtDepth(pos, 0, state);
}

BOOL CXmlElement::Parse(LPCWSTR& pos)
{
    return ParseWithPool(pos, nullptr);
}

namespace
{

// The root of a parsed document: it holds the document's text, which the
// attributes refer to, and the pool of every node below it; the nodes go
// before their memory does.
class CXmlDocumentRoot : public CXmlElement
{
  public:
    explicit CXmlDocumentRoot(std::wstring&& text) : CXmlElement(nullptr, nullptr), m_text(std::move(text)) {}
    ~CXmlDocumentRoot() override
    {
        DeleteChildren();
        DeleteAttributes();
    }
    LPCWSTR Text() const { return m_text.c_str(); }
    BOOL ParseDocument(LPCWSTR& pos) { return ParseWithPool(pos, &m_pool); }

  private:
    std::wstring m_text;
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

// The position of the root element behind the declaration, comments and
// document type; null when they are malformed.
LPCWSTR SkipProlog(LPCWSTR text, BOOL declarationRequired)
{
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
    return pos;
}

// Parses text, which the document keeps. Null on any error, memory included.
CXmlElement* ParseOwnedText(std::wstring&& text, BOOL declarationRequired)
{
    CXmlDocumentRoot* root = nullptr;
    try
    {
        root = new CXmlDocumentRoot(std::move(text));
        LPCWSTR pos = SkipProlog(root->Text(), declarationRequired);
        if (pos && root->ParseDocument(pos))
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
    }
    else
    {
        const BYTE* p = bytes;
        DWORD n = count;
        if (n > 2 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        {
            p += 3;
            n -= 3;
        }
        if (n == 0)
            return;
        // UTF-8 never takes more UTF-16 units than bytes: one pass into room
        // for that many.
        text.resize(n);
        int units = MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)p, (int)n, &text[0], (int)n);
        text.resize(units > 0 ? (size_t)units : 0);
    }
    // An embedded zero ends the text for the parser, as in the zero-terminated
    // text it works on.
}

} // namespace

CXmlElement* XmlParseString(LPCWSTR text, BOOL declarationRequired)
{
    if (!text)
        return nullptr;
    std::wstring copy;
    try
    {
        copy = text;
    }
    catch (std::exception&)
    {
        return nullptr;
    }
    return ParseOwnedText(std::move(copy), declarationRequired);
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
    return ParseOwnedText(std::move(text), declarationRequired);
}

CXmlElement* XmlParseFileHandle(HANDLE file, BOOL declarationRequired, DWORD maxBytes)
{
    if (file == INVALID_HANDLE_VALUE || !file)
        return nullptr;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > (LONGLONG)maxBytes)
        return nullptr;
    std::wstring text;
    if (size.QuadPart > 0)
    {
        // The file is read through a view of it rather than copied into a
        // buffer first, and the view goes before the parse starts: only the
        // text and the document are held at once.
        HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const BYTE* view = mapping ? static_cast<const BYTE*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
        // The view has the size of the file when it was made, which a mapped
        // file keeps; it may have shrunk since it was measured.
        LARGE_INTEGER mapped;
        if (view && GetFileSizeEx(file, &mapped) && mapped.QuadPart < size.QuadPart)
            size = mapped;
        bool decoded = false;
        if (view)
        {
            try
            {
                DecodeDocumentBytes(view, (DWORD)size.QuadPart, text);
                decoded = true;
            }
            catch (std::exception&)
            {
            }
            UnmapViewOfFile(view);
        }
        if (mapping)
            CloseHandle(mapping);
        if (!decoded)
            return nullptr;
    }
    return ParseOwnedText(std::move(text), declarationRequired);
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
    for (UINT i = 0; i < m_nPendingAttributes; ++i)
    {
        const XmlAttributeSpan& span = m_pPendingAttributes[i];
        out += L' ';
        out.append(span.name, (size_t)span.nameLength);
        out += L"=\"";
        XmlAppendEscaped(span.value, span.valueLength, out);
        out += L'"';
    }
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
