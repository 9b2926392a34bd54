// The XML document model of the client and the updater: a small parser and
// writer for the documents the programs exchange (song library, board file,
// server configuration, update manifest, lists of the browser panes). No
// namespaces, no CDATA, no processing instructions besides a leading
// declaration, decimal character references only.
#pragma once

#include "Framework.h"

#include <memory>
#include <string>
#include <vector>

class CXmlElement;
class CXmlNodePool;
struct XmlParseState;
struct XmlAttributeSpan;

// Node types.
enum
{
    XML_NODE_PLAIN = 0,
    XML_NODE_ELEMENT = 1,
    XML_NODE_ATTRIBUTE = 2,
};

// Deepest element nesting a document may have. Documents come from the network,
// and the parser recurses once per level, so the depth is bounded.
const int XML_MAX_DEPTH = 256;

// Largest file XmlParseFileHandle reads (4 MiB).
const DWORD XML_MAX_FILE_SIZE = 4194304;

class CXmlNode
{
  public:
    CXmlNode(CXmlElement* parent = nullptr, LPCWSTR name = nullptr);
    virtual ~CXmlNode();

    // 1 when the node's name equals name without regard to case.
    BOOL HasName(LPCWSTR name) const;
    // The same test on a node that may be null (0 for a null node).
    static BOOL HasName(const CXmlNode* node, LPCWSTR name);

    CString GetValue() const { return m_strValue; }
    void SetValue(LPCWSTR text) { m_strValue = text ? text : L""; }
    const CString& GetName() const { return m_strName; }

    // Reads name="value" (or 'value') at pos; 0 on any syntax error.
    BOOL ParseAttribute(LPCWSTR& pos);
    // Appends ' name="escaped value"'.
    void AppendAttributeXml(CString& out) const;
    void AppendAttributeXml(std::wstring& out) const;

    int m_nType;

  private:
    friend class CXmlElement;
    // Set on nodes placed in a parsed document's pool: their owner runs the
    // destructor and the pool frees the memory. (Beside the type, where a
    // 64-bit build has room to spare.)
    bool m_bPooled;

  public:
    CXmlElement* m_pParent;
    CString m_strName;
    CString m_strValue;

  private:
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;
};

class CXmlElement : public CXmlNode
{
  public:
    CXmlElement(CXmlElement* parent = nullptr, LPCWSTR name = nullptr);
    virtual ~CXmlElement();

    // Appends child and makes this element its parent; null when the child
    // already has a parent.
    CXmlElement* AppendChild(CXmlElement* child);
    CXmlNode* SetAttribute(LPCWSTR name, LPCWSTR value);
    CXmlNode* FindAttribute(LPCWSTR name) const;
    CString GetAttribute(LPCWSTR name, LPCWSTR defaultValue = nullptr) const;
    // 1 with the value of the attribute name (without regard to case), or 0
    // with value unchanged. Unlike FindAttribute, it makes no node for an
    // attribute of a parsed document, so readers of many elements by name
    // cost little more than the text.
    BOOL LookupAttribute(LPCWSTR name, CString& value) const;

    // Positions walk the children in order: GetNextChild returns the child at
    // pos and moves pos on (null after the last); a null pos throws the
    // framework's invalid-argument exception.
    POSITION GetFirstChildPosition() const { return m_children.empty() ? nullptr : (POSITION)1; }
    CXmlElement* GetNextChild(POSITION& pos) const;
    INT_PTR GetChildCount() const { return (INT_PTR)m_children.size(); }
    // The attribute nodes in the order they were parsed or first set.
    POSITION GetFirstAttributePosition() const { return GetAttributeCount() ? (POSITION)1 : nullptr; }
    CXmlNode* GetNextAttribute(POSITION& pos) const;
    INT_PTR GetAttributeCount() const
    {
        return m_nPendingAttributes ? (INT_PTR)m_nPendingAttributes : (INT_PTR)m_attributeOrder.size();
    }

    void DeleteChildren();
    void DeleteAttributes();

    CString GetXml(BOOL withDeclaration, BOOL pretty) const;
    void AppendXml(CString& out, BOOL pretty, int depth) const;
    void AppendXml(std::wstring& out, BOOL pretty, int depth) const;
    // Writes the document (declaration, pretty) as UTF-8 without byte-order
    // mark. The text goes to a temporary file beside path that then replaces
    // path, so a crash never leaves a cut-off document behind. 1 when written.
    BOOL SaveFile(LPCWSTR path) const;

    BOOL Parse(LPCWSTR& pos);

  protected:
    // Parse with every node below this element placed in pool (null: each on
    // the heap).
    BOOL ParseWithPool(LPCWSTR& pos, CXmlNodePool* pool);

  private:
    // Owned children in order. (Vectors rather than linked lists: a song
    // library has hundreds of thousands of nodes, and every list node would be
    // one more allocation.)
    std::vector<CXmlElement*> m_children;
    // The attribute nodes in the order they were parsed or first set.
    mutable std::vector<CXmlNode*> m_attributeOrder;
    // The same nodes by lower-cased name, made only once an element has many
    // attributes: a walk over a few names is quicker than hashing, and most
    // elements are small, so most never pay for an index.
    mutable std::unique_ptr<CMapStringToPtr> m_pAttributeIndex;
    // The attributes of a parsed element stay spans of the document's text
    // until they are first asked for as nodes: a song library has hundreds of
    // thousands of them, and a node with its two strings costs several times
    // the text. Readers of values by name never need the nodes.
    mutable const XmlAttributeSpan* m_pPendingAttributes;
    mutable UINT m_nPendingAttributes;
    // The pool of a parsed document's nodes, for those made later; or null.
    CXmlNodePool* m_pPool;

    BOOL ParseAtDepth(LPCWSTR& pos, int depth, XmlParseState& state);
    BOOL ParseContent(LPCWSTR& pos, int depth, XmlParseState& state);
    BOOL ParseAttributes(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state);
    BOOL ReadAttributeSpans(LPCWSTR& pos, BOOL& isEmpty, XmlParseState& state);
    void AddParsedAttribute(const XmlAttributeSpan& span);
    void MakeAttributeNodes() const;
    const XmlAttributeSpan* FindPending(LPCWSTR name) const;
    CXmlNode* FindNode(LPCWSTR name) const;
    static void DestroyNode(CXmlNode* node);
    template <typename T> static T* NewNode(CXmlNodePool* pool, CXmlElement* parent);
};

// Parser pieces; a text position points into zero-terminated UTF-16 text and
// moves over what was consumed.
BOOL XmlMatchToken(LPCWSTR& pos, LPCWSTR literal);
BOOL XmlReadName(LPCWSTR& pos, CString& name);
CString XmlDecodeText(LPCWSTR& pos, int length);
void XmlAppendEscaped(LPCWSTR text, CString& out);
void XmlAppendEscaped(LPCWSTR text, int length, std::wstring& out);

// Each returns a new root element that the caller deletes, or null.
CXmlElement* XmlParseString(LPCWSTR text, BOOL declarationRequired = FALSE);
CXmlElement* XmlParseBytes(const BYTE* bytes, DWORD count, BOOL declarationRequired = FALSE);
// Files over maxBytes (4 MiB unless the caller reads its own larger files,
// such as a big song library) are refused before anything is read.
CXmlElement* XmlParseFileHandle(HANDLE file, BOOL declarationRequired = FALSE, DWORD maxBytes = XML_MAX_FILE_SIZE);
CXmlElement* XmlLoadFile(LPCWSTR path, BOOL declarationRequired = FALSE, DWORD maxBytes = XML_MAX_FILE_SIZE);

// Writes bytes to a temporary file beside path, then moves it over path.
// FALSE when the file cannot be written or replaced (a read-only target
// included); the target is then unchanged.
BOOL WriteFileReplacing(LPCWSTR path, const void* bytes, DWORD count);
