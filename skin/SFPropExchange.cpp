#include "SFPropExchange.h"
#include "SFPropEnumerator.h"
#include <memory>

IMPLEMENT_DYNAMIC(CSFPropExchange, CCmdTarget)

CSFPropExchange::CSFPropExchange(BOOL loading)
    : m_bLoading(loading), m_dwSchema(33), m_bChild(FALSE), m_bValueExchanged(FALSE), m_bFlag1(TRUE),
      m_bFlag2(TRUE)
{
}

CSFPropExchange::CSFPropExchange(const CSFPropExchange& parent, int)
    : m_bLoading(parent.m_bLoading), m_dwSchema(parent.m_dwSchema), m_bChild(TRUE), m_bValueExchanged(FALSE),
      m_bFlag1(parent.m_bFlag1), m_bFlag2(parent.m_bFlag2)
{
}

CString SFEncodeBlobText(const BYTE* data, UINT size)
{
    CString text;
    for (UINT i = 0; i < size; i++)
    {
        text += (wchar_t)(L'A' + (data[i] & 0x0F));
        text += (wchar_t)(L'A' + (data[i] >> 4));
    }
    return text;
}

BOOL SFDecodeBlobText(const CString& text, BYTE* out, UINT capacity)
{
    int length = text.GetLength();
    if (length % 2 != 0 || (UINT)(length / 2) > capacity)
        return FALSE;
    for (int i = 0; i < length; i += 2)
    {
        int low = text[i] - L'A', high = text[i + 1] - L'A';
        if (low < 0 || low > 15 || high < 0 || high > 15)
            return FALSE;
        out[i / 2] = (BYTE)(high * 16 + low);
    }
    return TRUE;
}

BOOL CSFPropExchange::BeginValue()
{
    m_bValueExchanged = TRUE;
    return TRUE;
}

BOOL CSFPropExchange::ExchangeBytes(LPCWSTR name, BYTE** data, UINT* size)
{
    if (data == NULL || size == NULL)
        return FALSE;
    CString text;
    if (!m_bLoading)
    {
        text = SFEncodeBlobText(*data, *data ? *size : 0);
        return ExchangeString(name, &text, L"");
    }
    if (!ExchangeString(name, &text, L"") || text.GetLength() % 2 != 0)
        return FALSE;
    UINT count = (UINT)text.GetLength() / 2;
    BYTE* out = *data;
    std::unique_ptr<BYTE[]> made;
    if (out == NULL)
    {
        made.reset(new BYTE[count ? count : 1]);
        out = made.get();
    }
    else if (*size < count)
        return FALSE;
    if (!SFDecodeBlobText(text, out, count))
        return FALSE;
    if (made)
        *data = made.release();
    *size = count;
    return TRUE;
}

BOOL CSFPropExchange::ExchangeClass(LPCWSTR name, CRuntimeClass** cls, CRuntimeClass* defaultClass)
{
    if (cls == NULL)
        return FALSE;
    CString className;
    if (!m_bLoading)
    {
        className = *cls ? CString((*cls)->m_lpszClassName) : CString();
        return ExchangeString(name, &className, L"");
    }
    if (!ExchangeString(name, &className, L""))
        return FALSE;
    if (className.IsEmpty())
    {
        *cls = defaultClass;
        return TRUE;
    }
    // The registry holds the classes of the program and of every library linked into it.
    *cls = CRuntimeClass::FromName((LPCWSTR)className);
    return *cls != NULL;
}

BOOL CSFPropExchange::ExchangeObject(CObject** object, CRuntimeClass* baseClass)
{
    if (object == NULL)
        return FALSE;
    CRuntimeClass* cls = (!m_bLoading && *object) ? (*object)->GetRuntimeClass() : NULL;
    if (!ExchangeClass(L"Class", &cls, NULL))
        return FALSE;
    if (!m_bLoading)
        return TRUE;
    if (cls == NULL || (baseClass != NULL && !cls->IsDerivedFrom(baseClass)))
        return FALSE;
    *object = cls->CreateObject();
    return *object != NULL;
}

CArchive* CSFPropExchange::OpenArchive(LPCWSTR name)
{
    if (m_bLoading)
    {
        BYTE* data = NULL;
        UINT size = 0;
        if (!ExchangeBytes(name, &data, &size) || size == 0)
        {
            delete[] data;
            return NULL;
        }
        // A memory file of its own holds a copy, so the archive outlives this block.
        CMemFile* file = new CMemFile(1024);
        file->Write(data, size);
        delete[] data;
        file->SeekToBegin();
        return new CArchive(file, CArchive::load, 4096);
    }
    return new CArchive(new CMemFile(1024), CArchive::store, 4096);
}

void CSFPropExchange::CloseArchive(LPCWSTR name, CArchive* archive)
{
    if (archive == NULL)
        return;
    CFile* file = archive->GetFile();
    if (!m_bLoading)
    {
        archive->Flush();
        CMemFile* memory = static_cast<CMemFile*>(file);
        UINT size = (UINT)memory->GetLength();
        std::unique_ptr<BYTE[]> bytes(new BYTE[size ? size : 1]);
        memory->SeekToBegin();
        memory->Read(bytes.get(), size);
        BYTE* data = bytes.get();
        ExchangeBytes(name, &data, &size);
    }
    archive->Abort();
    delete archive;
    delete file;
}

CSFPropExchange* CSFPropExchange::OpenSection(LPCWSTR) { return NULL; }

void CSFPropExchange::StoreCount(DWORD count)
{
    long value = (long)count;
    ExchangeInt(L"Count", &value, 0);
}

DWORD CSFPropExchange::LoadCount()
{
    long value = 0;
    ExchangeInt(L"Count", &value, 0);
    return (DWORD)value;
}

void CSFPropExchange::WriteBytes(const void* data, UINT size)
{
    BYTE* p = (BYTE*)data;
    ExchangeBytes(L"Bytes", &p, &size);
}

UINT CSFPropExchange::ReadBytes(void* data, UINT size)
{
    BYTE* p = (BYTE*)data;
    return ExchangeBytes(L"Bytes", &p, &size) ? size : 0;
}

CSFPropEnumerator* CSFPropExchange::CreateEnumerator(LPCWSTR name) { return new CSFPropEnumerator(this, name); }

void CSFPropExchange::ExchangeSchemaNumber()
{
    long schema = (long)m_dwSchema;
    ExchangeInt(L"Schema", &schema, 32);
    m_dwSchema = (DWORD)schema;
}

BOOL CSFPropExchange::ExchangeInt(LPCWSTR name, long* value, long defaultValue)
{
    if (!BeginValue())
        return TRUE;
    return ExchangeValue(name, VT_I4, value, &defaultValue);
}

BOOL CSFPropExchange::ExchangeString(LPCWSTR name, CString* value, LPCWSTR defaultValue)
{
    if (!BeginValue())
        return TRUE;
    CString def(defaultValue ? defaultValue : L"");
    return ExchangeValue(name, SF_PROP_STRING, value, &def);
}

BOOL CSFPropExchange::ExchangeSerialized(LPCWSTR name, CObject* object)
{
    if (object == NULL)
        return FALSE;
    CArchive* archive = NULL;
    BOOL ok = TRUE;
    try
    {
        archive = OpenArchive(name);
        if (archive == NULL)
            return FALSE;
        object->Serialize(*archive);
    }
    catch (CException* e)
    {
        // Only an archive or OLE failure belongs to this object; others go on up.
        if (!e->IsKindOf(RUNTIME_CLASS(CArchiveException)) && !e->IsKindOf(RUNTIME_CLASS(COleException)))
        {
            CloseArchive(name, archive);
            throw;
        }
        e->Delete();
        ok = FALSE;
    }
    CloseArchive(name, archive);
    return ok;
}
