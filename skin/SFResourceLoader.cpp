#include "SFResourceLoader.h"

namespace
{
// English (United States) carries code page 0: text is converted with the
// system's ANSI code page, whatever language the system runs in.
const SFLanguageRecord kLanguages[] = {
    {0x419, 1251, L"windows-1251", L"Russian", L"LANG_RUSSIAN", L"SUBLANG_DEFAULT", RUSSIAN_CHARSET},
    {0x411, 932, L"shift_jis", L"Japanese", L"LANG_JAPANESE", L"SUBLANG_DEFAULT", SHIFTJIS_CHARSET},
    {0x401, 1256, L"windows-1256", L"Arabic", L"LANG_ARABIC", L"SUBLANG_ARABIC_SAUDI_ARABIA", ARABIC_CHARSET},
    {0x405, 1250, L"windows-1250", L"Czech", L"LANG_CZECH", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x406, 1252, L"windows-1252", L"Danish", L"LANG_DANISH", L"SUBLANG_DEFAULT", ANSI_CHARSET},
    {0x407, 1252, L"windows-1252", L"German", L"LANG_GERMAN", L"SUBLANG_GERMAN", ANSI_CHARSET},
    {0x408, 1253, L"windows-1253", L"Greek", L"LANG_GREEK", L"SUBLANG_DEFAULT", GREEK_CHARSET},
    {0x409, 0, L"windows-1252", L"English (United States)", L"LANG_ENGLISH", L"SUBLANG_ENGLISH_US", ANSI_CHARSET},
    {0xC0A, 1252, L"windows-1252", L"Spanish", L"LANG_SPANISH", L"SUBLANG_SPANISH_MODERN", ANSI_CHARSET},
    {0x425, 1257, L"windows-1257", L"Estonian", L"LANG_ESTONIAN", L"SUBLANG_DEFAULT", BALTIC_CHARSET},
    {0x40B, 1252, L"windows-1252", L"Finnish", L"LANG_FINNISH", L"SUBLANG_DEFAULT", ANSI_CHARSET},
    {0x40C, 1252, L"windows-1252", L"French", L"LANG_FRENCH", L"SUBLANG_FRENCH", ANSI_CHARSET},
    {0x40D, 1255, L"windows-1255", L"Hebrew", L"LANG_HEBREW", L"SUBLANG_DEFAULT", HEBREW_CHARSET},
    {0x41A, 1250, L"windows-1250", L"Croatian", L"LANG_CROATIAN", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x40E, 1250, L"windows-1250", L"Hungarian", L"LANG_HUNGARIAN", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x410, 1252, L"windows-1252", L"Italian", L"LANG_ITALIAN", L"SUBLANG_ITALIAN", ANSI_CHARSET},
    {0x412, 949, L"ks_c_5601-1987", L"Korean", L"LANG_KOREAN", L"SUBLANG_KOREAN", HANGUL_CHARSET},
    {0x427, 1257, L"windows-1257", L"Lithuanian", L"LANG_LITHUANIAN", L"SUBLANG_DEFAULT", BALTIC_CHARSET},
    {0x426, 1257, L"windows-1257", L"Latvian", L"LANG_LATVIAN", L"SUBLANG_DEFAULT", BALTIC_CHARSET},
    {0x413, 1252, L"windows-1252", L"Dutch", L"LANG_DUTCH", L"SUBLANG_DUTCH", ANSI_CHARSET},
    {0x414, 1252, L"windows-1252", L"Norwegian (Bokmal)", L"LANG_NORWEGIAN", L"SUBLANG_NORWEGIAN_BOKMAL",
     ANSI_CHARSET},
    {0x415, 1250, L"windows-1250", L"Polish", L"LANG_POLISH", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x816, 1252, L"windows-1252", L"Portuguese", L"LANG_PORTUGUESE", L"SUBLANG_PORTUGUESE", ANSI_CHARSET},
    {0x416, 1252, L"windows-1252", L"Portuguese (Brazil)", L"LANG_PORTUGUESE", L"SUBLANG_PORTUGUESE_BRAZILIAN",
     ANSI_CHARSET},
    {0x418, 1250, L"windows-1250", L"Romanian", L"LANG_ROMANIAN", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x41B, 1250, L"windows-1250", L"Slovak", L"LANG_SLOVAK", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x424, 1250, L"windows-1250", L"Slovenian", L"LANG_SLOVENIAN", L"SUBLANG_DEFAULT", EASTEUROPE_CHARSET},
    {0x41D, 1252, L"windows-1252", L"Swedish", L"LANG_SWEDISH", L"SUBLANG_DEFAULT", ANSI_CHARSET},
    {0x41E, 874, L"windows-874", L"Thai", L"LANG_THAI", L"SUBLANG_DEFAULT", THAI_CHARSET},
    {0x41F, 1254, L"windows-1254", L"Turkish", L"LANG_TURKISH", L"SUBLANG_DEFAULT", TURKISH_CHARSET},
    {0x422, 1251, L"windows-1251", L"Ukrainian", L"LANG_UKRAINIAN", L"SUBLANG_DEFAULT", RUSSIAN_CHARSET},
    {0x402, 1251, L"windows-1251", L"Bulgarian", L"LANG_BULGARIAN", L"SUBLANG_DEFAULT", RUSSIAN_CHARSET},
    {0x804, 936, L"gb2312", L"Chinese (Simplified)", L"LANG_CHINESE", L"SUBLANG_CHINESE_SIMPLIFIED",
     GB2312_CHARSET},
    {0x404, 950, L"big5", L"Chinese (Traditional)", L"LANG_CHINESE", L"SUBLANG_CHINESE_TRADITIONAL",
     CHINESEBIG5_CHARSET},
};
} // namespace

CSFResourceLoader::CSFResourceLoader() : m_hResourceModule(NULL), m_pLanguage(&kLanguages[0])
{
    for (const SFLanguageRecord& record : kLanguages)
        if (record.languageId == 0x409)
            m_pLanguage = &record;
}

CSFNarrowText CSFResourceLoader::ToNarrow(LPCWSTR text) const { return CSFNarrowText(text, m_pLanguage->codePage); }

const SFLanguageRecord* CSFResourceLoader::GetLanguageTable(int* count)
{
    if (count)
        *count = (int)_countof(kLanguages);
    return kLanguages;
}

CSFResourceLoader& GetResourceLoader()
{
    static CSFResourceLoader loader;
    return loader;
}
