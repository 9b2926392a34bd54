// The property exchange over an archive: names are ignored and the values
// follow one another in call order, in the archive's own encodings.
#pragma once
#include "SFPropExchange.h"

class CSFPropExchangeArchive : public CSFPropExchange
{
    DECLARE_DYNAMIC(CSFPropExchangeArchive)
public:
    explicit CSFPropExchangeArchive(CArchive& archive);

    CArchive& GetArchive() { return m_archive; }

    BOOL ExchangeValue(LPCWSTR name, VARTYPE type, void* value, const void* defaultValue) override;
    BOOL ExchangeBytes(LPCWSTR name, BYTE** data, UINT* size) override;
    BOOL ExchangeClass(LPCWSTR name, CRuntimeClass** cls, CRuntimeClass* defaultClass) override;
    BOOL ExchangeObject(CObject** object, CRuntimeClass* baseClass) override;
    CArchive* OpenArchive(LPCWSTR name) override;
    void CloseArchive(LPCWSTR name, CArchive* archive) override;
    CSFPropExchange* OpenSection(LPCWSTR name) override;
    void StoreCount(DWORD count) override;
    DWORD LoadCount() override;
    void WriteBytes(const void* data, UINT size) override;
    UINT ReadBytes(void* data, UINT size) override;
    BOOL IsPropertyStore() const override { return FALSE; }
    BOOL IsArchiveStore() const override { return TRUE; }
    void ExchangeSchemaNumber() override;

    // Marker in front of the schema number; archives written without it are schema 17.
    static constexpr DWORD kSchemaMarker = 0x0FF0ADBF;

private:
    CSFPropExchangeArchive(CSFPropExchangeArchive& parent, int);
    void ExchangeRaw(void* value, UINT size);
    void ExchangeVariant(VARIANT* value);

    CArchive& m_archive;
};
