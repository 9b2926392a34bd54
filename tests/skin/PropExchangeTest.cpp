// The property exchange: its text form of blobs and classes through a store of
// named values, sections of enumerated lists, and the archive store with its
// schema marker; and the narrow text of the resource loader.
#include "SFIcon.h"
#include "SFPropEnumerator.h"
#include "SFPropExchange.h"
#include "SFPropExchangeArchive.h"
#include "SFResourceLoader.h"
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace
{
// A store of named integers and strings, as a settings store would be.
class MapExchange : public CSFPropExchange
{
public:
    MapExchange(std::map<CString, CString>* values, BOOL loading, std::vector<CString>* sections = nullptr)
        : CSFPropExchange(loading), m_values(values), m_sections(sections)
    {
    }
    BOOL ExchangeValue(LPCWSTR name, VARTYPE type, void* value, const void* def) override
    {
        if (type == VT_I4)
        {
            if (!m_bLoading)
            {
                CString text;
                text.Format(L"%ld", *(long*)value);
                (*m_values)[name] = text;
            }
            else if (m_values->count(name))
                *(long*)value = _wtol((*m_values)[name]);
            else
                *(long*)value = *(const long*)def;
            return TRUE;
        }
        if (type == SF_PROP_STRING)
        {
            if (!m_bLoading)
                (*m_values)[name] = *(CString*)value;
            else if (m_values->count(name))
                *(CString*)value = (*m_values)[name];
            else
                *(CString*)value = *(const CString*)def;
            return TRUE;
        }
        return FALSE;
    }
    CSFPropExchange* OpenSection(LPCWSTR name) override
    {
        if (m_sections)
            m_sections->push_back(name);
        return new MapExchange(*this);
    }

private:
    // A child section over the same values.
    MapExchange(const MapExchange& parent)
        : CSFPropExchange(parent, 0), m_values(parent.m_values), m_sections(parent.m_sections)
    {
    }
    std::map<CString, CString>* m_values;
    std::vector<CString>* m_sections;
};
} // namespace

TEST(SFPropExchange, BlobsAreLetterPairsLowNibbleFirst)
{
    std::map<CString, CString> values;
    BYTE bytes[] = {0x00, 0xFF};
    {
        MapExchange out(&values, FALSE);
        BYTE* p = bytes;
        UINT size = 2;
        ASSERT_TRUE(out.ExchangeBytes(L"Blob", &p, &size));
        p = NULL;
        size = 0;
        ASSERT_TRUE(out.ExchangeBytes(L"Empty", &p, &size));
    }
    EXPECT_EQ(CString(L"AAPP"), values[L"Blob"]);
    EXPECT_EQ(CString(L""), values[L"Empty"]);
    EXPECT_EQ(CString(L"BADA"), SFEncodeBlobText((const BYTE*)"\x01\x03", 2));

    MapExchange in(&values, TRUE);
    BYTE* made = NULL;
    UINT size = 0;
    ASSERT_TRUE(in.ExchangeBytes(L"Blob", &made, &size));
    std::unique_ptr<BYTE[]> own(made);
    ASSERT_EQ(2u, size);
    EXPECT_EQ(0x00, made[0]);
    EXPECT_EQ(0xFF, made[1]);

    // A caller's buffer too small, an odd length, letters out of range.
    BYTE one[1];
    BYTE* p = one;
    size = 1;
    EXPECT_FALSE(in.ExchangeBytes(L"Blob", &p, &size));
    values[L"Odd"] = L"AAP";
    values[L"Bad"] = L"AZ";
    made = NULL;
    EXPECT_FALSE(in.ExchangeBytes(L"Odd", &made, &size));
    EXPECT_FALSE(in.ExchangeBytes(L"Bad", &made, &size));
    EXPECT_EQ(nullptr, made);
}

TEST(SFPropExchange, ListsOpenOneSectionPerItem)
{
    std::map<CString, CString> values;
    std::vector<CString> sections;
    MapExchange out(&values, FALSE, &sections);
    CSFPropEnumerator list(&out, L"Icon");
    DWORD count = 3;
    ASSERT_TRUE(list.Start(&count, FALSE));
    int pos = list.GetStartPosition();
    std::vector<int> positions;
    while (pos != 0)
    {
        std::unique_ptr<CSFPropExchange> child(list.Next(&pos));
        ASSERT_TRUE(child);
        EXPECT_TRUE(child->IsChildSection());
        positions.push_back(pos);
    }
    EXPECT_EQ((std::vector<CString>{L"Icon0", L"Icon1", L"Icon2"}), sections);
    EXPECT_EQ((std::vector<int>{2, 3, 0}), positions);
    EXPECT_EQ(CString(L"3"), values[L"Count"]);

    MapExchange in(&values, TRUE);
    CSFPropEnumerator again(&in, L"Icon");
    count = 0;
    EXPECT_TRUE(again.Start(&count, FALSE));
    EXPECT_EQ(3u, count);
    values.clear();
    CSFPropEnumerator empty(&in, L"Icon");
    EXPECT_FALSE(empty.Start(&count, FALSE));
    EXPECT_EQ(0, empty.GetStartPosition());
}

TEST(SFPropExchange, ClassesByNameAndObjectsOfTheBaseClass)
{
    std::map<CString, CString> values;
    {
        MapExchange out(&values, FALSE);
        CSFIcon* icon = new CSFIcon;
        CObject* object = icon;
        ASSERT_TRUE(out.ExchangeObject(&object, NULL));
        icon->InternalRelease();
    }
    EXPECT_EQ(CString(L"CSFIcon"), values[L"Class"]);

    MapExchange in(&values, TRUE);
    CObject* made = NULL;
    // The stored class does not derive from the one asked for.
    EXPECT_FALSE(in.ExchangeObject(&made, RUNTIME_CLASS(CFile)));
    EXPECT_EQ(nullptr, made);
    ASSERT_TRUE(in.ExchangeObject(&made, RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CSFIcon)));
    static_cast<CSFIcon*>(made)->InternalRelease();

    values[L"Class"] = L"CNoSuchClassHere";
    CRuntimeClass* cls = NULL;
    EXPECT_FALSE(in.ExchangeClass(L"Class", &cls, NULL));
    values.erase(L"Class");
    EXPECT_TRUE(in.ExchangeClass(L"Class", &cls, RUNTIME_CLASS(CFile)));
    EXPECT_EQ(RUNTIME_CLASS(CFile), cls);
}

TEST(SFPropExchangeArchive, ValuesFollowInCallOrderWithTheSchemaMarker)
{
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store);
        CSFPropExchangeArchive out(ar);
        out.ExchangeSchemaNumber();
        long number = 0x01020304;
        CString text(L"\x97F3\x4E50 ok");
        out.ExchangeInt(L"ignored", &number, 0);
        out.ExchangeString(L"ignored", &text, L"");
        short small = -2;
        out.ExchangeValue(L"", VT_I2, &small, NULL);
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(L"variant");
        out.ExchangeValue(L"", VT_VARIANT, &v, NULL);
        VariantClear(&v);
        BYTE bytes[3] = {7, 8, 9};
        BYTE* p = bytes;
        UINT size = 3;
        out.ExchangeBytes(L"", &p, &size);
        std::unique_ptr<CSFPropExchange> section(out.OpenSection(L"x"));
        section->StoreCount(70000);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CSFPropExchangeArchive in(ar);
    in.SetSchema(0);
    in.ExchangeSchemaNumber();
    EXPECT_EQ(33u, in.GetSchema());
    long number = 0;
    CString text;
    in.ExchangeInt(L"", &number, 0);
    in.ExchangeString(L"", &text, L"");
    EXPECT_EQ(0x01020304, number);
    EXPECT_EQ(CString(L"\x97F3\x4E50 ok"), text);
    short small = 0;
    in.ExchangeValue(L"", VT_I2, &small, NULL);
    EXPECT_EQ(-2, small);
    VARIANT v;
    VariantInit(&v);
    in.ExchangeValue(L"", VT_VARIANT, &v, NULL);
    ASSERT_EQ(VT_BSTR, V_VT(&v));
    EXPECT_STREQ(L"variant", V_BSTR(&v));
    VariantClear(&v);
    BYTE* made = NULL;
    UINT size = 0;
    ASSERT_TRUE(in.ExchangeBytes(L"", &made, &size));
    std::unique_ptr<BYTE[]> own(made);
    EXPECT_EQ(3u, size);
    EXPECT_EQ(9, made[2]);
    std::unique_ptr<CSFPropExchange> section(in.OpenSection(L"x"));
    EXPECT_TRUE(section->IsChildSection());
    EXPECT_EQ(33u, section->GetSchema());
    EXPECT_EQ(70000u, section->LoadCount());
}

TEST(SFPropExchangeArchive, AnArchiveWithoutMarkerIsSchema17)
{
    CMemFile file(64);
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)5;
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CSFPropExchangeArchive in(ar);
    in.ExchangeSchemaNumber();
    EXPECT_EQ(17u, in.GetSchema());
    // Nothing was consumed by the look at the marker.
    DWORD first = 0;
    ar >> first;
    EXPECT_EQ(5u, first);
}

TEST(SFPropExchangeArchive, ObjectSerialisationFailuresAnswerFalse)
{
    // A short archive: the object's own Serialize runs out of bytes.
    CMemFile file(64);
    {
        CArchive ar(&file, CArchive::store);
        ar << (WORD)1;
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CSFPropExchangeArchive in(ar);
    struct NeedsADword : CObject
    {
        void Serialize(CArchive& a) override
        {
            DWORD d;
            a >> d;
        }
    } object;
    EXPECT_FALSE(in.ExchangeSerialized(L"Data", &object));
}

TEST(SFResourceLoader, NarrowTextIsAlwaysTerminated)
{
    CSFResourceLoader& loader = GetResourceLoader();
    EXPECT_EQ(0x409, loader.GetLanguage().languageId);
    EXPECT_EQ(0u, loader.GetLanguage().codePage);
    EXPECT_EQ(nullptr, loader.GetResourceModule());
    int count = 0;
    const SFLanguageRecord* table = CSFResourceLoader::GetLanguageTable(&count);
    EXPECT_EQ(34, count);
    EXPECT_EQ(0x419, table[0].languageId);
    EXPECT_EQ(0x404, table[33].languageId);

    CSFNarrowText plain = loader.ToNarrow(L"skin");
    EXPECT_STREQ("skin", plain);
    // Text outside the ANSI code page turns into replacement characters of
    // the system, still one terminated string.
    CSFNarrowText other = loader.ToNarrow(L"a\x0416\x05D0z");
    ASSERT_NE(nullptr, other.Get());
    std::string s(other.Get());
    EXPECT_EQ('a', s.front());
    EXPECT_EQ('z', s.back());
    CSFNarrowText empty = loader.ToNarrow(NULL);
    EXPECT_STREQ("", empty);
}
