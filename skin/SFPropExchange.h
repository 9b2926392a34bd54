// Two-way property exchange: one routine per object both stores and loads its
// named, typed properties, with sections, enumerated lists, counts, blobs,
// class names and a schema number, so the same routine serves any store. A
// store supplies ExchangeValue; this base keeps everything else as
// properties (blobs as text, classes by name, counts as "Count").
#pragma once
#include <Framework.h>

class CSFPropEnumerator;

// Type codes of the values beside the VARIANT ones.
enum
{
    SF_PROP_STRING = 30,   // CString
    SF_PROP_RECORD16 = 100, // 16 raw bytes
    SF_PROP_RECORD8 = 101,  // 8 raw bytes
};

class CSFPropExchange : public CCmdTarget
{
    DECLARE_DYNAMIC(CSFPropExchange)
public:
    explicit CSFPropExchange(BOOL loading);
    // A child section: schema, direction and flags come from the parent.
    explicit CSFPropExchange(const CSFPropExchange& parent, int);

    BOOL IsLoading() const { return m_bLoading; }
    DWORD GetSchema() const { return m_dwSchema; }
    void SetSchema(DWORD schema) { m_dwSchema = schema; }
    BOOL IsChildSection() const { return m_bChild; }
    BOOL HasExchangedValue() const { return m_bValueExchanged; }

    // One value: value points at the type's C++ form (long for VT_I4, CString
    // for SF_PROP_STRING ...); on load an absent value takes defaultValue.
    virtual BOOL ExchangeValue(LPCWSTR name, VARTYPE type, void* value, const void* defaultValue) = 0;
    // Bytes: on store *size bytes at *data; on load *data may be NULL (a block
    // of new BYTE[] is made, the caller deletes it) or a buffer of *size bytes;
    // *size receives the count.
    virtual BOOL ExchangeBytes(LPCWSTR name, BYTE** data, UINT* size);
    virtual BOOL ExchangeClass(LPCWSTR name, CRuntimeClass** cls, CRuntimeClass* defaultClass);
    // On store the object's class; on load a new object of the stored class,
    // which must derive from baseClass.
    virtual BOOL ExchangeObject(CObject** object, CRuntimeClass* baseClass);
    // An archive for an object's own serialisation, and its end.
    virtual CArchive* OpenArchive(LPCWSTR name);
    virtual void CloseArchive(LPCWSTR name, CArchive* archive);
    // A child exchange for a section (owned by the caller); NULL when the store has none.
    virtual CSFPropExchange* OpenSection(LPCWSTR name);
    virtual void StoreCount(DWORD count);
    virtual DWORD LoadCount();
    virtual void WriteBytes(const void* data, UINT size);
    virtual UINT ReadBytes(void* data, UINT size);
    virtual BOOL IsPropertyStore() const { return TRUE; }
    virtual BOOL IsArchiveStore() const { return FALSE; }
    virtual BOOL BeginValue();
    virtual CSFPropEnumerator* CreateEnumerator(LPCWSTR name);
    virtual void ExchangeSchemaNumber();

    // Helpers of exchanging code.
    BOOL ExchangeInt(LPCWSTR name, long* value, long defaultValue);
    BOOL ExchangeString(LPCWSTR name, CString* value, LPCWSTR defaultValue);
    // The object's own Serialize through OpenArchive/CloseArchive; archive
    // and OLE exceptions inside make the answer FALSE.
    BOOL ExchangeSerialized(LPCWSTR name, CObject* object);

protected:
    BOOL m_bLoading;
    DWORD m_dwSchema;
    BOOL m_bChild;
    BOOL m_bValueExchanged;
    BOOL m_bFlag1;
    BOOL m_bFlag2;
};

// Text form of a blob: each byte as 'A' + low nibble, then 'A' + high nibble.
CString SFEncodeBlobText(const BYTE* data, UINT size);
// The bytes of such text; FALSE for an odd length or a letter outside A..P.
BOOL SFDecodeBlobText(const CString& text, BYTE* out, UINT capacity);
