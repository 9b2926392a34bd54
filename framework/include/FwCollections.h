// Collections: doubly linked lists (CList, CPtrList, ...), growable arrays
// (CArray, CPtrArray, CDWordArray, CStringArray, ...) and hash maps (CMap,
// CMapStringToPtr, CMapStringToString, ...).
//
// Lists and maps hand out POSITION values. A list position stays valid until
// its own element is removed, so "save the position, GetNext, RemoveAt(saved)"
// is safe. A map walk with GetNextAssoc may remove the key it just returned.
//
// Map iteration order: buckets in ascending order, and inside a bucket the
// most recently added key first. A key's bucket is HashKey(key) modulo the
// table size (17 unless InitHashTable set another). The table grows to twice
// its size and one once the keys outnumber its buckets two to one, so a big
// map stays quick and its order changes as it grows. Nothing else about the
// order is promised.
//
// Misuse that would corrupt memory (a NULL position, an index out of range,
// removing from an empty list) throws CInvalidArgException.
#pragma once
#include "FwException.h"
#include "FwString.h"
#include <algorithm>
#include <new>
#include <vector>

// ---------------------------------------------------------------- lists

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
  protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

  public:
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pTail)->data; }

    TYPE RemoveHead()
    {
        CNode* p = NonEmpty(m_pHead);
        TYPE v = p->data;
        Unlink(p);
        return v;
    }
    TYPE RemoveTail()
    {
        CNode* p = NonEmpty(m_pTail);
        TYPE v = p->data;
        Unlink(p);
        return v;
    }

    POSITION AddHead(ARG_TYPE newElement) { return LinkBefore(m_pHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return LinkAfter(m_pTail, newElement); }
    void AddHead(const CList* pNewList)
    {
        ENSURE_ARG(pNewList != NULL && pNewList != this);
        for (CNode* p = pNewList->m_pTail; p; p = p->pPrev)
            AddHead(p->data);
    }
    void AddTail(const CList* pNewList)
    {
        ENSURE_ARG(pNewList != NULL && pNewList != this);
        for (CNode* p = pNewList->m_pHead; p; p = p->pNext)
            AddTail(p->data);
    }

    void RemoveAll()
    {
        for (CNode* p = m_pHead; p;)
        {
            CNode* next = p->pNext;
            delete p;
            p = next;
        }
        m_pHead = m_pTail = NULL;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return (POSITION)m_pHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pTail; }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pNext;
        return p->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pNext;
        return p->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pPrev;
        return p->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* p = Node(rPosition);
        rPosition = (POSITION)p->pPrev;
        return p->data;
    }

    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }

    // A NULL position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        return position ? LinkBefore(Node(position), newElement) : AddHead(newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        return position ? LinkAfter(Node(position), newElement) : AddTail(newElement);
    }

    // First element equal to searchValue after startAfter (from the head
    // when NULL), or NULL.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CNode* p = startAfter ? Node(startAfter)->pNext : m_pHead;
        for (; p; p = p->pNext)
        {
            if (p->data == searchValue)
                return (POSITION)p;
        }
        return NULL;
    }
    // Position of the nIndex-th element, NULL when out of range.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return NULL;
        CNode* p = m_pHead;
        while (nIndex--)
            p = p->pNext;
        return (POSITION)p;
    }

  protected:
    static CNode* Node(POSITION pos)
    {
        ENSURE_ARG(pos != NULL && pos != BEFORE_START_POSITION);
        return (CNode*)pos;
    }
    static CNode* NonEmpty(CNode* p)
    {
        ENSURE_ARG(p != NULL);
        return p;
    }
    POSITION LinkBefore(CNode* next, ARG_TYPE value)
    {
        CNode* p = new CNode{next, next ? next->pPrev : m_pTail, value};
        (p->pPrev ? p->pPrev->pNext : m_pHead) = p;
        (next ? next->pPrev : m_pTail) = p;
        ++m_nCount;
        return (POSITION)p;
    }
    POSITION LinkAfter(CNode* prev, ARG_TYPE value)
    {
        return LinkBefore(prev ? prev->pNext : m_pHead, value);
    }
    void Unlink(CNode* p)
    {
        (p->pPrev ? p->pPrev->pNext : m_pHead) = p->pNext;
        (p->pNext ? p->pNext->pPrev : m_pTail) = p->pPrev;
        --m_nCount;
        delete p;
    }

    CNode* m_pHead = NULL;
    CNode* m_pTail = NULL;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize; // kept for callers that read it; nodes are allocated one by one
};

// ---------------------------------------------------------------- arrays

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
  public:
    CArray() {}
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    INT_PTR GetSize() const { return (INT_PTR)m_data.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_data.size(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return (INT_PTR)m_data.size() - 1; }

    // New elements are value-initialised (zero for plain types). nGrowBy
    // only tunes how much room is reserved ahead.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        ENSURE_ARG(nNewSize >= 0);
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        Reserve(nNewSize);
        m_data.resize((size_t)nNewSize);
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Index(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[Index(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Index(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Index(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[Index(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_data[Index(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_data[Index(nIndex)]; }
    const TYPE* GetData() const { return m_data.empty() ? NULL : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? NULL : m_data.data(); }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        ENSURE_ARG(nIndex >= 0);
        if (nIndex >= GetSize())
        {
            TYPE copy(newElement); // newElement may live in this array
            SetSize(nIndex + 1);
            m_data[(size_t)nIndex] = copy;
        }
        else
            m_data[(size_t)nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        TYPE copy(newElement);
        Reserve(GetSize() + 1);
        m_data.push_back(std::move(copy));
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& src)
    {
        ENSURE_ARG(&src != this);
        INT_PTR old = GetSize();
        Reserve(old + src.GetSize());
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return old;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // Inserting past the end grows the array first.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        ENSURE_ARG(nIndex >= 0 && nCount > 0);
        TYPE copy(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        Reserve(GetSize() + nCount);
        m_data.insert(m_data.begin() + nIndex, (size_t)nCount, copy);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        ENSURE_ARG(pNewArray != NULL && pNewArray != this && nStartIndex >= 0);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        m_data.insert(m_data.begin() + nStartIndex, pNewArray->m_data.begin(), pNewArray->m_data.end());
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        ENSURE_ARG(nIndex >= 0 && nCount >= 0 && nIndex + nCount <= GetSize());
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

  protected:
    size_t Index(INT_PTR nIndex) const
    {
        ENSURE_ARG(nIndex >= 0 && nIndex < GetSize());
        return (size_t)nIndex;
    }
    void Reserve(INT_PTR n)
    {
        if ((size_t)n <= m_data.capacity())
            return;
        size_t grow = m_nGrowBy > 0 ? (size_t)m_nGrowBy : std::max<size_t>(4, m_data.size() / 2);
        m_data.reserve(std::max((size_t)n, m_data.size() + grow));
    }

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = 0;
};

// ---------------------------------------------------------------- maps

// Hash of a map key. Strings hash their characters (h = h * 33 + c); numbers
// and pointers their value without the low four bits. Other key types need
// their own HashKey overload.
inline UINT AFXAPI HashKey(LPCWSTR key)
{
    UINT h = 0;
    if (key)
    {
        while (*key)
            h = (h << 5) + h + (UINT)*key++;
    }
    return h;
}
inline UINT AFXAPI HashKey(LPCSTR key)
{
    UINT h = 0;
    if (key)
    {
        while (*key)
            h = (h << 5) + h + (UINT)(unsigned char)*key++;
    }
    return h;
}
inline UINT AFXAPI HashKey(const CString& key)
{
    return HashKey(key.GetString());
}
inline UINT AFXAPI HashKey(const CStringA& key)
{
    return HashKey(key.GetString());
}
template <class ARG_KEY> inline UINT AFXAPI HashKey(ARG_KEY key)
{
    return (UINT)(((ULONG_PTR)key) >> 4);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
  public:
    struct CPair
    {
        const KEY key;
        VALUE value;
    };

  protected:
    struct CAssoc : CPair
    {
        CAssoc(ARG_KEY k, UINT h) : CPair{KEY(k), VALUE()}, pNext(NULL), nHashValue(h) {}
        CAssoc* pNext;
        UINT nHashValue;
    };

  public:
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        CAssoc* a = Find(key);
        if (!a)
            return FALSE;
        rValue = a->value;
        return TRUE;
    }
    CPair* PLookup(ARG_KEY key) { return Find(key); }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }

    // Value of key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        CAssoc* a = Find(key);
        if (a)
            return a->value;
        if (m_buckets.empty())
            m_buckets.assign(m_nHashTableSize, NULL);
        UINT h = HashKey(key);
        a = new CAssoc(key, h);
        CAssoc*& head = m_buckets[h % m_nHashTableSize];
        a->pNext = head;
        head = a;
        ++m_nCount;
        // A table that never grew made every lookup walk count / 17 keys,
        // so filling a map took time quadratic in its size. (Without memory
        // for a bigger table the map just stays slower.)
        if ((UINT_PTR)m_nCount / 2 > m_nHashTableSize)
        {
            try
            {
                InitHashTable(m_nHashTableSize * 2 + 1);
            }
            catch (std::bad_alloc&)
            {
            }
        }
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        UINT h = HashKey(key);
        for (CAssoc** pp = &m_buckets[h % m_nHashTableSize]; *pp; pp = &(*pp)->pNext)
        {
            CAssoc* a = *pp;
            if (a->nHashValue == h && a->key == key)
            {
                *pp = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (CAssoc*& head : m_buckets)
        {
            for (CAssoc* a = head; a;)
            {
                CAssoc* next = a->pNext;
                delete a;
                a = next;
            }
            head = NULL;
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount ? BEFORE_START_POSITION : NULL; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        ENSURE_ARG(rNextPosition != NULL);
        CAssoc* a = rNextPosition == BEFORE_START_POSITION ? FirstFrom(0) : (CAssoc*)rNextPosition;
        ENSURE_ARG(a != NULL);
        rNextPosition = (POSITION)(a->pNext ? a->pNext : FirstFrom(a->nHashValue % m_nHashTableSize + 1));
        rKey = a->key;
        rValue = a->value;
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (a prime a little above the expected count
    // works best); keys already present are moved to their new buckets.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE)
    {
        if (hashSize == 0)
            hashSize = 17;
        // Both tables are made before anything moves, so running out of
        // memory leaves the map as it was.
        std::vector<CAssoc*> buckets;
        if (bAllocNow || m_nCount)
            buckets.assign(hashSize, NULL);
        std::vector<CAssoc*> tails(m_nCount ? hashSize : 0, NULL);
        // Re-link keeping each bucket's newest-first order: keys of one old
        // bucket are appended in their order behind those already moved.
        for (CAssoc* head : m_buckets)
        {
            for (CAssoc* a = head; a;)
            {
                CAssoc* next = a->pNext;
                UINT b = a->nHashValue % hashSize;
                a->pNext = NULL;
                (tails[b] ? tails[b]->pNext : buckets[b]) = a;
                tails[b] = a;
                a = next;
            }
        }
        m_buckets.swap(buckets);
        m_nHashTableSize = hashSize;
    }

  protected:
    CAssoc* Find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return NULL;
        UINT h = HashKey(key);
        for (CAssoc* a = m_buckets[h % m_nHashTableSize]; a; a = a->pNext)
        {
            if (a->nHashValue == h && a->key == key)
                return a;
        }
        return NULL;
    }
    CAssoc* FirstFrom(UINT bucket) const
    {
        for (UINT b = bucket; b < (UINT)m_buckets.size(); ++b)
        {
            if (m_buckets[b])
                return m_buckets[b];
        }
        return NULL;
    }

    std::vector<CAssoc*> m_buckets;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize; // kept for callers that read it; entries are allocated one by one
};

// ---------------------------------------------------------------- named collections

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
  public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*>
{
    DECLARE_DYNAMIC(CObList)
  public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};

class CStringList : public CList<CString, LPCWSTR>
{
    DECLARE_DYNAMIC(CStringList)
  public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, LPCWSTR>(nBlockSize) {}
};

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
};

class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_DYNAMIC(CObArray)
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_DYNAMIC(CDWordArray)
};

class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
};

class CWordArray : public CArray<WORD, WORD>
{
    DECLARE_DYNAMIC(CWordArray)
};

class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_DYNAMIC(CByteArray)
};

class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_DYNAMIC(CStringArray)
};

class CMapStringToPtr : public CMap<CString, LPCWSTR, void*, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
  public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap<CString, LPCWSTR, void*, void*>(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCWSTR, CObject*, CObject*>
{
    DECLARE_DYNAMIC(CMapStringToOb)
  public:
    explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap<CString, LPCWSTR, CObject*, CObject*>(nBlockSize)
    {
    }
};

class CMapStringToString : public CMap<CString, LPCWSTR, CString, LPCWSTR>
{
    DECLARE_DYNAMIC(CMapStringToString)
  public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10)
        : CMap<CString, LPCWSTR, CString, LPCWSTR>(nBlockSize)
    {
    }
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
  public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap<void*, void*, void*, void*>(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
  public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD>
{
    DECLARE_DYNAMIC(CMapPtrToWord)
  public:
    explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap<void*, void*, WORD, WORD>(nBlockSize) {}
};
