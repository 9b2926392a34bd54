// The framework's resource language and its code page. Its one use here is
// turning wide text narrow with that code page when the property exchange
// stores strings.
#pragma once
#include "SFNarrowText.h"

struct SFLanguageRecord
{
    WORD languageId;
    UINT codePage;
    LPCWSTR encodingName;
    LPCWSTR displayName;
    LPCWSTR constantName;
    LPCWSTR subLanguageName;
    BYTE charSet;
};

class CSFResourceLoader
{
public:
    CSFResourceLoader();

    // Resources come from the program's own resource chain: no module of their own.
    HMODULE GetResourceModule() const { return m_hResourceModule; }
    const SFLanguageRecord& GetLanguage() const { return *m_pLanguage; }
    CSFNarrowText ToNarrow(LPCWSTR text) const;

    // The constant table of the languages the framework knows (34 records).
    static const SFLanguageRecord* GetLanguageTable(int* count);

private:
    HMODULE m_hResourceModule;
    const SFLanguageRecord* m_pLanguage;
};

CSFResourceLoader& GetResourceLoader();
