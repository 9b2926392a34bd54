#include "SFPropExchangeArchive.h"

IMPLEMENT_DYNAMIC(CSFPropExchangeArchive, CSFPropExchange)

CSFPropExchangeArchive::CSFPropExchangeArchive(CArchive& archive)
    : CSFPropExchange(archive.IsLoading()), m_archive(archive)
{
}

CSFPropExchangeArchive::CSFPropExchangeArchive(CSFPropExchangeArchive& parent, int)
    : CSFPropExchange(parent, 0), m_archive(parent.m_archive)
{
}

void CSFPropExchangeArchive::ExchangeRaw(void* value, UINT size)
{
    if (m_bLoading)
    {
        if (m_archive.Read(value, size) != size)
            AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    else
        m_archive.Write(value, size);
}

// A VARIANT as the type word followed by its value; strings as their byte
// count and the UTF-16 bytes.
void CSFPropExchangeArchive::ExchangeVariant(VARIANT* value)
{
    if (!m_bLoading)
    {
        m_archive << (WORD)value->vt;
        switch (value->vt)
        {
        case VT_BOOL: m_archive << (WORD)V_BOOL(value); break;
        case VT_UI1: m_archive << V_UI1(value); break;
        case VT_I2: m_archive << (WORD)V_I2(value); break;
        case VT_I4: m_archive << (LONG)V_I4(value); break;
        case VT_ERROR: m_archive << (LONG)V_ERROR(value); break;
        case VT_CY: m_archive << (DWORD)V_CY(value).Lo << (LONG)V_CY(value).Hi; break;
        case VT_R4: m_archive << V_R4(value); break;
        case VT_R8: m_archive << V_R8(value); break;
        case VT_DATE: m_archive << (double)V_DATE(value); break;
        case VT_BSTR:
        {
            DWORD bytes = V_BSTR(value) ? ::SysStringByteLen(V_BSTR(value)) : 0;
            m_archive << bytes;
            if (bytes)
                m_archive.Write(V_BSTR(value), bytes);
            break;
        }
        default: break; // empty, null and the types without a stored form
        }
        return;
    }
    ::VariantClear(value);
    WORD vt = 0;
    m_archive >> vt;
    switch (vt)
    {
    case VT_BOOL: { WORD w; m_archive >> w; V_BOOL(value) = (VARIANT_BOOL)w; break; }
    case VT_UI1: m_archive >> V_UI1(value); break;
    case VT_I2: { WORD w; m_archive >> w; V_I2(value) = (SHORT)w; break; }
    case VT_I4: { LONG l; m_archive >> l; V_I4(value) = l; break; }
    case VT_ERROR: { LONG l; m_archive >> l; V_ERROR(value) = l; break; }
    case VT_CY: { DWORD lo; LONG hi; m_archive >> lo >> hi; V_CY(value).Lo = lo; V_CY(value).Hi = hi; break; }
    case VT_R4: m_archive >> V_R4(value); break;
    case VT_R8: m_archive >> V_R8(value); break;
    case VT_DATE: { double d; m_archive >> d; V_DATE(value) = d; break; }
    case VT_BSTR:
    {
        DWORD bytes = 0;
        m_archive >> bytes;
        if (bytes > m_archive.GetRemaining())
            AfxThrowArchiveException(CArchiveException::endOfFile);
        BSTR text = ::SysAllocStringByteLen(NULL, bytes);
        if (text == NULL)
            AfxThrowMemoryException();
        if (m_archive.Read(text, bytes) != bytes)
        {
            ::SysFreeString(text);
            AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        V_BSTR(value) = text;
        break;
    }
    default: break;
    }
    value->vt = vt;
}

BOOL CSFPropExchangeArchive::ExchangeValue(LPCWSTR, VARTYPE type, void* value, const void*)
{
    if (!BeginValue())
        return TRUE;
    switch (type)
    {
    case VT_I2: ExchangeRaw(value, 2); break;
    case VT_I4:
    case VT_R4:
    case VT_BOOL: ExchangeRaw(value, 4); break;
    case VT_R8: ExchangeRaw(value, 8); break;
    case VT_CY:
        ExchangeRaw(&((CY*)value)->Lo, 4);
        ExchangeRaw(&((CY*)value)->Hi, 4);
        break;
    case VT_DATE:
    {
        // A date with its status word (0: valid) in front.
        LONG status = 0;
        ExchangeRaw(&status, 4);
        ExchangeRaw(value, 8);
        break;
    }
    case VT_VARIANT: ExchangeVariant((VARIANT*)value); break;
    case VT_UI1: ExchangeRaw(value, 1); break;
    case SF_PROP_STRING:
        if (m_bLoading)
            m_archive >> *(CString*)value;
        else
            m_archive << *(const CString*)value;
        break;
    case SF_PROP_RECORD16: ExchangeRaw(value, 16); break;
    case SF_PROP_RECORD8: ExchangeRaw(value, 8); break;
    default: break; // accepted, nothing stored
    }
    return TRUE;
}

BOOL CSFPropExchangeArchive::ExchangeBytes(LPCWSTR, BYTE** data, UINT* size)
{
    if (data == NULL || size == NULL)
        return FALSE;
    if (!m_bLoading)
    {
        m_archive.WriteCount(*size);
        if (*size)
            m_archive.Write(*data, *size);
        return TRUE;
    }
    DWORD_PTR count = m_archive.ReadCount();
    if (count > m_archive.GetRemaining())
        return FALSE;
    if (*data == NULL)
        *data = new BYTE[count ? count : 1];
    else if (*size < count)
        return FALSE;
    if (m_archive.Read(*data, (UINT)count) != count)
        return FALSE;
    *size = (UINT)count;
    return TRUE;
}

BOOL CSFPropExchangeArchive::ExchangeClass(LPCWSTR, CRuntimeClass** cls, CRuntimeClass*)
{
    if (cls == NULL)
        return FALSE;
    if (m_bLoading)
        *cls = m_archive.ReadClass();
    else
        m_archive.WriteClass(*cls);
    return *cls != NULL;
}

BOOL CSFPropExchangeArchive::ExchangeObject(CObject** object, CRuntimeClass* baseClass)
{
    if (!CSFPropExchange::ExchangeObject(object, baseClass))
        return FALSE;
    // Later references to the object in the same archive are by its index.
    m_archive.MapObject(*object);
    return TRUE;
}

CArchive* CSFPropExchangeArchive::OpenArchive(LPCWSTR) { return &m_archive; }

void CSFPropExchangeArchive::CloseArchive(LPCWSTR, CArchive*) {}

CSFPropExchange* CSFPropExchangeArchive::OpenSection(LPCWSTR) { return new CSFPropExchangeArchive(*this, 0); }

void CSFPropExchangeArchive::StoreCount(DWORD count) { m_archive.WriteCount(count); }

DWORD CSFPropExchangeArchive::LoadCount() { return (DWORD)m_archive.ReadCount(); }

void CSFPropExchangeArchive::WriteBytes(const void* data, UINT size) { m_archive.Write(data, size); }

UINT CSFPropExchangeArchive::ReadBytes(void* data, UINT size) { return m_archive.Read(data, size); }

void CSFPropExchangeArchive::ExchangeSchemaNumber()
{
    if (!m_bLoading)
    {
        m_archive << kSchemaMarker << m_dwSchema;
        return;
    }
    DWORD marker = 0;
    if (m_archive.Peek(&marker, sizeof(marker)) == sizeof(marker) && marker == kSchemaMarker)
        m_archive >> marker >> m_dwSchema;
    else
        m_dwSchema = 17;
}
