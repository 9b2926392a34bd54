#include "Xml.h"

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

CXmlNode::CXmlNode(CXmlElement* parent, LPCWSTR name)
    : m_nType(XML_NODE_PLAIN), m_pParent(parent), m_strName(name ? name : L"")
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
    LPCWSTR p = pos;
    if (!XmlReadName(p, m_strName))
        return FALSE;
    if (!XmlMatchToken(p, L"="))
        return FALSE;
    wchar_t quote = L'"';
    if (!XmlMatchToken(p, L"\""))
    {
        quote = L'\'';
        if (!XmlMatchToken(p, L"'"))
            return FALSE;
    }
    LPCWSTR close = wcschr(p, quote);
    if (!close)
        return FALSE;
    int length = (int)(close - p);
    LPCWSTR d = p;
    m_strValue = XmlDecodeText(d, length);
    if (length > 0 && d != close)
        return FALSE;
    p = close;
    wchar_t q[2] = {quote, 0};
    if (!XmlMatchToken(p, q))
        return FALSE;
    pos = p;
    return TRUE;
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

CXmlElement::CXmlElement(CXmlElement* parent, LPCWSTR name)
    : CXmlNode(parent, name), m_attributeIndex(10)
{
    m_nType = XML_NODE_ELEMENT;
}

CXmlElement::~CXmlElement()
{
    DeleteChildren();
    DeleteAttributes();
}

void CXmlElement::DeleteChildren()
{
    for (CXmlElement* child : m_children)
        delete child;
    m_children.clear();
}

void CXmlElement::DeleteAttributes()
{
    for (CXmlNode* node : m_attributeOrder)
        delete node;
    m_attributeIndex.RemoveAll();
    m_attributeOrder.clear();
}

// The index by lower-cased name is built once an element has more than a few
// attributes; below that a walk over the order list is quicker than hashing,
// and most elements of a document are small.
const INT_PTR kIndexedAttributeCount = 8;

CXmlNode* CXmlElement::LookupAttribute(LPCWSTR name) const
{
    if (!name)
        name = L"";
    if (m_attributeIndex.GetCount() == 0)
    {
        for (CXmlNode* node : m_attributeOrder)
            if (SameNameNoCase(node->m_strName, name))
                return node;
        return nullptr;
    }
    void* found = nullptr;
    return m_attributeIndex.Lookup(LowerKey(name), found) ? static_cast<CXmlNode*>(found) : nullptr;
}

void CXmlElement::AddAttributeNode(CXmlNode* node)
{
    m_attributeOrder.push_back(node);
    if (m_attributeIndex.GetCount() > 0)
        m_attributeIndex.SetAt(LowerKey(node->m_strName), node);
    else if ((INT_PTR)m_attributeOrder.size() > kIndexedAttributeCount)
    {
        for (CXmlNode* each : m_attributeOrder)
            m_attributeIndex.SetAt(LowerKey(each->m_strName), each);
    }
}

void CXmlElement::RemoveAttributeNode(CXmlNode* node)
{
    for (size_t i = 0; i < m_attributeOrder.size(); ++i)
        if (m_attributeOrder[i] == node)
        {
            m_attributeOrder.erase(m_attributeOrder.begin() + i);
            break;
        }
    if (m_attributeIndex.GetCount() > 0)
        m_attributeIndex.RemoveKey(LowerKey(node->m_strName));
}

CXmlElement* CXmlElement::AppendChild(CXmlElement* child)
{
    if (!child || (child->m_pParent && child->m_pParent != this))
        return nullptr;
    if (child->m_pParent == this)
        for (CXmlElement* existing : m_children)
            if (existing == child)
                return nullptr;
    child->m_pParent = this;
    m_children.push_back(child);
    return child;
}

CXmlNode* CXmlElement::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    CXmlNode* node = LookupAttribute(name);
    if (!node)
    {
        node = new CXmlNode(this, name);
        node->m_nType = XML_NODE_ATTRIBUTE;
        AddAttributeNode(node);
    }
    if (value)
        node->m_strValue = value;
    return node;
}

CXmlNode* CXmlElement::FindAttribute(LPCWSTR name) const
{
    return LookupAttribute(name);
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

void CXmlElement::AddParsedAttribute(CXmlNode* attribute)
{
    CXmlNode* earlier = LookupAttribute(attribute->m_strName);
    if (earlier)
    {
        // Names that differ only in case are one attribute: the later wins and
        // stands last in the order.
        RemoveAttributeNode(earlier);
        delete earlier;
    }
    AddAttributeNode(attribute);
}

BOOL CXmlElement::ParseAttributes(LPCWSTR& pos, BOOL& isEmpty)
{
    for (;;)
    {
        if (XmlMatchToken(pos, L">"))
        {
            isEmpty = FALSE;
            return TRUE;
        }
        if (XmlMatchToken(pos, L"/"))
        {
            isEmpty = TRUE;
            return XmlMatchToken(pos, L">");
        }
        LPCWSTR p = pos;
        while (IsXmlSpace(*p))
            ++p;
        if (*p == 0)
            return FALSE;
        CXmlNode* attribute = new CXmlNode(this, nullptr);
        attribute->m_nType = XML_NODE_ATTRIBUTE;
        if (!attribute->ParseAttribute(pos))
        {
            delete attribute;
            return FALSE;
        }
        AddParsedAttribute(attribute);
    }
}

BOOL CXmlElement::ParseContent(LPCWSTR& pos, int depth)
{
    CString endTag(L"</");
    endTag += m_strName;
    endTag += L">";
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
        if (XmlMatchToken(pos, endTag))
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
        CXmlElement* child = new CXmlElement(this, nullptr);
        if (!child->ParseAtDepth(pos, depth + 1))
        {
            delete child;
            return FALSE;
        }
        m_children.push_back(child);
    }
    if (!text.empty())
        m_strValue += CString(text.c_str(), (int)text.size());
    return done;
}

BOOL CXmlElement::ParseAtDepth(LPCWSTR& pos, int depth)
{
    if (depth >= XML_MAX_DEPTH)
        return FALSE;
    if (!XmlMatchToken(pos, L"<") || !XmlReadName(pos, m_strName))
        return FALSE;
    BOOL isEmpty = FALSE;
    if (!ParseAttributes(pos, isEmpty))
        return FALSE;
    if (isEmpty)
        return TRUE;
    return ParseContent(pos, depth);
}

BOOL CXmlElement::Parse(LPCWSTR& pos)
{
    return ParseAtDepth(pos, 0);
}

namespace
{

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
    CXmlElement* root = nullptr;
    try
    {
        root = new CXmlElement(nullptr, nullptr);
        if (root->Parse(pos))
            return root;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (std::bad_alloc&)
    {
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
            if (n > 0)
            {
                int units = MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)p, (int)n, nullptr, 0);
                text.resize(units);
                if (units > 0)
                    MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)p, (int)n, &text[0], units);
            }
        }
    }
    catch (std::bad_alloc&)
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
    std::vector<BYTE> bytes((size_t)size.QuadPart + 1);
    DWORD total = 0;
    while (total < (DWORD)size.QuadPart)
    {
        DWORD got = 0;
        if (!ReadFile(file, &bytes[total], (DWORD)size.QuadPart - total, &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return XmlParseBytes(bytes.data(), total, declarationRequired);
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
