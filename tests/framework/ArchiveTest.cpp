// Binary serialisation: encodings, class and object tables, errors.
#include "Framework.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
class CFwTestNode : public CObject
{
    DECLARE_SERIAL(CFwTestNode)
  public:
    CString m_name;
    CFwTestNode* m_pNext = NULL;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_name << (CObject*)m_pNext;
        else
        {
            ar >> m_name;
            CObject* p;
            ar >> p;
            m_pNext = static_cast<CFwTestNode*>(p);
        }
    }
};
IMPLEMENT_SERIAL(CFwTestNode, CObject, 2)

std::vector<BYTE> Bytes(CMemFile& f)
{
    return std::vector<BYTE>(f.GetData(), f.GetData() + (size_t)f.GetLength());
}

template <typename F> std::vector<BYTE> Store(F f)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        f(ar);
        ar.Close();
    }
    return Bytes(file);
}

template <typename F> int LoadCause(std::vector<BYTE> bytes, F f)
{
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    try
    {
        f(ar);
    }
    catch (CException* e)
    {
        int cause =
            e->IsKindOf(RUNTIME_CLASS(CArchiveException)) ? static_cast<CArchiveException*>(e)->m_cause : -1;
        e->Delete();
        return cause;
    }
    return CArchiveException::none;
}
} // namespace

TEST(Archive, EncodesNumbersCountsAndStrings)
{
    struct Case
    {
        const char* what;
        std::vector<BYTE> actual;
        std::vector<BYTE> expected;
    };
    const Case cases[] = {
        {"dword", Store([](CArchive& ar) { ar << (DWORD)0x01020304; }), {4, 3, 2, 1}},
        {"small count", Store([](CArchive& ar) { ar.WriteCount(5); }), {5, 0}},
        {"big count",
         Store([](CArchive& ar) { ar.WriteCount(70000); }),
         {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
        {"wide string",
         Store([](CArchive& ar) { ar << CString(L"a\x4F60"); }),
         {0xFF, 0xFE, 0xFF, 2, 'a', 0, 0x60, 0x4F}},
        {"narrow string", Store([](CArchive& ar) { ar << CStringA("ab"); }), {2, 'a', 'b'}},
        {"class",
         Store([](CArchive& ar) {
             ar.WriteClass(RUNTIME_CLASS(CFwTestNode));
             ar.WriteClass(RUNTIME_CLASS(CFwTestNode));
         }),
         {0xFF, 0xFF, 2, 0, 11, 0, 'C', 'F', 'w', 'T', 'e', 's', 't', 'N', 'o', 'd', 'e', 0x01, 0x80}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual) << c.what;

    // A 300-character string takes the WORD length form; both forms read back.
    CString longText(L'x', 300);
    std::vector<BYTE> bytes = Store([&](CArchive& ar) {
        ar << longText << CStringA("\xC4\xE3") << 1.5 << (LONGLONG)-2 << (BYTE)7;
        ar.WriteCount(0xFFFF);
    });
    EXPECT_EQ(0xFF, bytes[3]);
    EXPECT_EQ(0x2C, bytes[4]); // 300 = 0x012C after the UTF-16 prefix
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CString a, b;
    double d;
    LONGLONG ll;
    BYTE by;
    ar >> a >> b >> d >> ll >> by;
    EXPECT_EQ(longText, a);
    EXPECT_STREQ(L"\x4F60", b); // 8-bit text is read through the ANSI code page
    EXPECT_EQ(1.5, d);
    EXPECT_EQ(-2, ll);
    EXPECT_EQ(7, by);
    EXPECT_EQ(0xFFFFu, ar.ReadCount());
}

TEST(Archive, ObjectsKeepSharedReferences)
{
    CFwTestNode first, second;
    first.m_name = L"first";
    second.m_name = L"second";
    first.m_pNext = &second;
    second.m_pNext = &first; // a cycle
    std::vector<BYTE> bytes =
        Store([&](CArchive& ar) { ar << (CObject*)&first << (CObject*)&second << (CObject*)NULL; });

    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CFwTestNode* a = NULL;
    CFwTestNode* b = NULL;
    CObject* none = (CObject*)1;
    ar >> a >> b >> none;
    ASSERT_NE(nullptr, a);
    EXPECT_STREQ(L"first", a->m_name);
    EXPECT_EQ(b, a->m_pNext); // the same object, not a copy
    EXPECT_EQ(a, b->m_pNext);
    EXPECT_STREQ(L"second", b->m_name);
    EXPECT_EQ(nullptr, none);
    delete a;
    delete b;
}

TEST(Archive, CorruptOrMisusedArchivesThrow)
{
    std::vector<BYTE> node = Store([](CArchive& ar) {
        CFwTestNode n;
        ar << (CObject*)&n;
    });
    // Reading as an unrelated class.
    EXPECT_EQ(CArchiveException::badClass,
              LoadCause(node, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CFileException)); }));
    // Stored with another schema.
    std::vector<BYTE> otherSchema = node;
    otherSchema[2] = 9;
    EXPECT_EQ(CArchiveException::badSchema,
              LoadCause(otherSchema, [](CArchive& ar) { ar.ReadObject(NULL); }));
    // Unknown class name.
    std::vector<BYTE> unknown = node;
    unknown[6] = 'X';
    EXPECT_EQ(CArchiveException::badClass, LoadCause(unknown, [](CArchive& ar) { ar.ReadObject(NULL); }));
    // A reference to an object never stored.
    EXPECT_EQ(CArchiveException::badIndex, LoadCause({5, 0}, [](CArchive& ar) { ar.ReadObject(NULL); }));
    // Truncated data and a string claiming more than the archive holds.
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({1, 2}, [](CArchive& ar) {
                  DWORD dw;
                  ar >> dw;
              }));
    const std::vector<BYTE> hugeStrings[] = {
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}, // UTF-16, 0x7FFFFFFF characters
        {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F, 'a'},                // 8-bit, 0x7FFFFFFE bytes
    };
    for (const std::vector<BYTE>& bytes : hugeStrings)
    {
        EXPECT_EQ(CArchiveException::endOfFile, LoadCause(bytes, [](CArchive& ar) {
                      CString s;
                      ar >> s;
                  }));
    }
    // Writing to a loading archive, reading from a storing one.
    EXPECT_EQ(CArchiveException::readOnly, LoadCause({0}, [](CArchive& ar) { ar << (DWORD)1; }));
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    DWORD dw;
    try
    {
        storing >> dw;
        ADD_FAILURE() << "no exception";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(CArchiveException::writeOnly, e->m_cause);
        e->Delete();
    }
}
