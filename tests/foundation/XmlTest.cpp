#include "TestFiles.h"
#include "Xml.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

std::unique_ptr<CXmlElement> Parse(LPCWSTR text, BOOL declarationRequired = FALSE)
{
    return std::unique_ptr<CXmlElement>(XmlParseString(text, declarationRequired));
}

struct ValueCase
{
    LPCWSTR document;
    LPCWSTR attribute; // null: the element's text
    LPCWSTR expected;
};

} // namespace

TEST(Xml, DecodesValuesAndTexts)
{
    const ValueCase cases[] = {
        {L"<a x=\" one\"/>", L"x", L"one"},
        {L"<a x=\"  two\"/>", L"x", L" two"},
        {L"<a x='single'/>", L"x", L"single"},
        {L"<a x=\"&#65;\"/>", L"x", L"A"},
        {L"<a x=\"&#65\"/>", L"x", L"A"},
        {L"<a x=\"&AMP;&lt;&gt;&quot;&apos;&nbsp;\"/>", L"x", L"&<>\"' "},
        {L"<a x=\"&foo;\"/>", L"x", L"&foo;"},
        {L"<a x=\"tail&\"/>", L"x", L"tail"},
        {L"<a>t1<b/>t2</a>", nullptr, L"t1 t2"},
        {L"<a>t1 <b/>t2</a>", nullptr, L"t1 t2"},
        {L"<a>x<!-- note -->y</a>", nullptr, L"x y"},
        {L"<a>line\r\nbreak</a>", nullptr, L"line\r\nbreak"},
        {L"<a>\x4E2D\x6587</a>", nullptr, L"\x4E2D\x6587"},
        {L"<a>cut</a", nullptr, L"cut"},
        {L"<?xml version=\"1.0\" encoding=\"gbk\"?><!-- c --><!DOCTYPE a><a>ok</a>", nullptr, L"ok"},
    };
    for (const ValueCase& c : cases)
    {
        auto root = Parse(c.document);
        ASSERT_TRUE(root) << (const char*)CStringA(c.document);
        CString value = c.attribute ? root->GetAttribute(c.attribute) : root->GetValue();
        EXPECT_STREQ(c.expected, value) << (const char*)CStringA(c.document);
    }
}

TEST(Xml, RefusesMalformedAndHostileDocuments)
{
    std::wstring deep;
    for (int i = 0; i < 100000; ++i)
        deep += L"<a>";
    std::wstring hugeAttribute = L"<a x=\"" + std::wstring(3000000, L'v') + L"/>";
    std::wstring unterminatedComment = L"<a><!--" + std::wstring(100000, L'-');
    LPCWSTR cases[] = {
        L"",
        L"   ",
        L"<",
        L"<a",
        L"<a x=\"1\"",
        L"<a x=1/>",
        L"<a><b></a>",
        L"<a>text",
        L"<a-b/>",
        L"<a.b/>",
        L"<a>x</a >",
        L"<a>&#x41;</a>",
        L"<a x=\"&#x41;\"/>",
        L"<a>&#0;</a>",
        L"<a x=\"&#65536;\"/>",
        L"<?xml version=\"1.0\"",
        L"<!-- open <a/>",
        L"<!DOCTYPE a <a/>",
        deep.c_str(),
        hugeAttribute.c_str(),
        unterminatedComment.c_str(),
    };
    for (LPCWSTR c : cases)
        EXPECT_FALSE(Parse(c)) << (const char*)CStringA(CString(c).Left(40));
    EXPECT_FALSE(Parse(L"<a/>", TRUE)) << "declaration required";
}

TEST(Xml, NestingUpToTheLimitParses)
{
    std::wstring doc;
    for (int i = 0; i < XML_MAX_DEPTH; ++i)
        doc += L"<a>";
    for (int i = 0; i < XML_MAX_DEPTH; ++i)
        doc += L"</a>";
    EXPECT_TRUE(Parse(doc.c_str()));
    EXPECT_FALSE(Parse((L"<a>" + doc + L"</a>").c_str()));
}

TEST(Xml, AttributesDifferingInCaseAreOneAndTheLaterWins)
{
    auto root = Parse(L"<r Id=\"1\" b=\"2\" ID=\"3\"/>");
    ASSERT_TRUE(root);
    EXPECT_STREQ(L"3", root->GetAttribute(L"id"));
    EXPECT_STREQ(L"3", root->GetAttribute(L"Id"));
    EXPECT_STREQ(L"dflt", root->GetAttribute(L"none", L"dflt"));
    CString value = L"kept";
    EXPECT_FALSE(root->LookupAttribute(L"none", value));
    EXPECT_STREQ(L"kept", value);
    EXPECT_TRUE(root->LookupAttribute(L"iD", value));
    EXPECT_STREQ(L"3", value);
    EXPECT_STREQ(L"<r b=\"2\" ID=\"3\"/>", root->GetXml(FALSE, FALSE));
}

TEST(Xml, ChildrenAreWalkedInOrderAndANullPositionThrows)
{
    auto root = Parse(L"<r><One/><two/><THREE/></r>");
    ASSERT_TRUE(root);
    POSITION pos = root->GetFirstChildPosition();
    CString names;
    while (pos)
        names += root->GetNextChild(pos)->GetName() + L",";
    EXPECT_STREQ(L"One,two,THREE,", names);
    EXPECT_TRUE(CXmlNode::HasName(root.get(), L"R"));
    EXPECT_FALSE(CXmlNode::HasName(nullptr, L"r"));
    bool thrown = false;
    try
    {
        root->GetNextChild(pos);
    }
    catch (CException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(Xml, WritesPrettyAndCompactTextByteForByte)
{
    CXmlElement root(nullptr, L"RT");
    CXmlElement* board = root.AppendChild(new CXmlElement(nullptr, L"BD"));
    board->SetAttribute(L"H", L"a\"&'<>\t\r\n");
    board->AppendChild(new CXmlElement(nullptr, L"IM"))->SetValue(L"hi");
    board->AppendChild(new CXmlElement(nullptr, L"IM"));
    EXPECT_EQ(nullptr, root.AppendChild(board)) << "a child with a parent is not appended twice";

    EXPECT_STREQ(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                 L"<RT>\r\n"
                 L"  <BD H=\"a&quot;&amp;&apos;&lt;&gt;&#9;&#13;&#10;\">\r\n"
                 L"    <IM>hi</IM>\r\n"
                 L"    <IM/>\r\n"
                 L"  </BD>\r\n"
                 L"</RT>\r\n",
                 root.GetXml(TRUE, TRUE));
    CXmlElement bd(nullptr, L"BD");
    bd.SetAttribute(L"H", L"x");
    bd.AppendChild(new CXmlElement(nullptr, L"IM"));
    EXPECT_STREQ(L"<BD H=\"x\">  <IM/></BD>", bd.GetXml(FALSE, FALSE));
    EXPECT_STREQ(L"\r\n<BD H=\"x\">\r\n  <IM/>\r\n</BD>\r\n", bd.GetXml(FALSE, TRUE));
}

TEST(Xml, SavesUtf8WithoutMarkAndLoadsEveryEncoding)
{
    ScratchFolder folder;
    CXmlElement root(nullptr, L"UR");
    root.SetAttribute(L"T", L"\x4E2D\x6587");
    ASSERT_TRUE(root.SaveFile(folder.Path(L"doc.xml")));
    std::string bytes = ReadFileBytes(folder.Path(L"doc.xml"));
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<UR T=\"\xE4\xB8\xAD\xE6\x96\x87\"/>\r\n", bytes);

    std::unique_ptr<CXmlElement> loaded(XmlLoadFile(folder.Path(L"doc.xml"), TRUE));
    ASSERT_TRUE(loaded);
    EXPECT_STREQ(L"\x4E2D\x6587", loaded->GetAttribute(L"t"));

    const std::string utf16le("\xFF\xFE<\0a\0/\0>\0", 10);
    const std::string utf16be("\xFE\xFF\0<\0a\0/\0>", 10);
    const std::string utf8bom("\xEF\xBB\xBF<a/>");
    for (const std::string& doc : {utf16le, utf16be, utf8bom})
    {
        std::unique_ptr<CXmlElement> e(XmlParseBytes((const BYTE*)doc.data(), (DWORD)doc.size()));
        ASSERT_TRUE(e);
        EXPECT_STREQ(L"a", e->GetName());
    }
}

TEST(Xml, RefusesFilesOverFourMegabytesAndSaveFailsOnReadOnly)
{
    ScratchFolder folder;
    CString big = folder.Path(L"big.xml");
    WriteFileBytes(big, "<a>" + std::string(XML_MAX_FILE_SIZE, 'x') + "</a>");
    EXPECT_FALSE(std::unique_ptr<CXmlElement>(XmlLoadFile(big)));
    EXPECT_TRUE(std::unique_ptr<CXmlElement>(XmlLoadFile(big, FALSE, XML_MAX_FILE_SIZE * 2)));
    EXPECT_FALSE(std::unique_ptr<CXmlElement>(XmlLoadFile(folder.Path(L"missing.xml"))));

    CString ro = folder.Path(L"ro.xml");
    WriteFileBytes(ro, "old");
    SetFileAttributesW(ro, FILE_ATTRIBUTE_READONLY);
    CXmlElement root(nullptr, L"a");
    EXPECT_FALSE(root.SaveFile(ro));
    EXPECT_EQ("old", ReadFileBytes(ro));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(ro + L".tmp"));
}

TEST(Xml, ManyAttributesParseInLinearTime)
{
    // 200,000 names, then every even one again in capitals: each repeat
    // replaces the earlier attribute and moves to the end.
    const int kCount = 200000;
    std::wstring doc = L"<r";
    for (int i = 0; i < kCount; ++i)
        doc += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    for (int i = 0; i < kCount; i += 2)
        doc += L" A" + std::to_wstring(i) + L"=\"again\"";
    doc += L"/>";
    DWORD start = GetTickCount();
    auto root = Parse(doc.c_str());
    DWORD elapsed = GetTickCount() - start;
    ASSERT_TRUE(root);
    // A linear parse takes a fraction of a second here; one whose lookups or
    // removals grow with the count took minutes.
    EXPECT_LT(elapsed, 5000u);

    ASSERT_EQ(kCount, root->GetAttributeCount());
    POSITION pos = root->GetFirstAttributePosition();
    int mismatches = 0;
    for (int i = 0; i < kCount; ++i)
    {
        const CXmlNode* node = root->GetNextAttribute(pos);
        bool odd = i < kCount / 2;
        int n = odd ? 2 * i + 1 : 2 * (i - kCount / 2);
        std::wstring name = (odd ? L"a" : L"A") + std::to_wstring(n);
        std::wstring value = odd ? std::to_wstring(n) : L"again";
        if (node->GetName().Std() != name || node->m_strValue.Std() != value)
            ++mismatches;
    }
    EXPECT_EQ(0, mismatches);
    EXPECT_EQ(nullptr, pos);
    EXPECT_STREQ(L"again", root->GetAttribute(L"a199998"));
    EXPECT_STREQ(L"199999", root->GetAttribute(L"A199999"));
    EXPECT_EQ(nullptr, root->FindAttribute(L"a200000"));
}

TEST(Xml, ParsedDocumentsStayEditable)
{
    auto root = Parse(L"<r><s a=\"1\" b=\"2\"/><t/></r>");
    ASSERT_TRUE(root);
    POSITION pos = root->GetFirstChildPosition();
    CXmlElement* s = root->GetNextChild(pos);
    CXmlElement* t = root->GetNextChild(pos);
    // Enough new attributes beside the parsed ones that lookups go through
    // the index.
    for (int i = 0; i < 30; ++i)
        s->SetAttribute((L"N" + std::to_wstring(i)).c_str(), std::to_wstring(i).c_str());
    s->SetAttribute(L"B", L"changed");
    EXPECT_EQ(32, s->GetAttributeCount());
    EXPECT_STREQ(L"1", s->GetAttribute(L"A"));
    EXPECT_STREQ(L"changed", s->GetAttribute(L"b"));
    EXPECT_STREQ(L"b", s->FindAttribute(L"B")->GetName()) << "the name keeps the case it was parsed in";
    EXPECT_STREQ(L"29", s->GetAttribute(L"n29"));

    t->AppendChild(new CXmlElement(nullptr, L"u"))->SetValue(L"v");
    s->DeleteAttributes();
    EXPECT_EQ(nullptr, s->FindAttribute(L"a"));
    s->SetAttribute(L"c", L"3");
    EXPECT_STREQ(L"<r>  <s c=\"3\"/>  <t>    <u>v</u></t></r>", root->GetXml(FALSE, FALSE));

    root->DeleteChildren();
    root->AppendChild(new CXmlElement(nullptr, L"w"));
    EXPECT_STREQ(L"<r>  <w/></r>", root->GetXml(FALSE, FALSE));

    // A parsed root may become another document's child, which then owns it.
    CXmlElement holder(nullptr, L"h");
    EXPECT_TRUE(holder.AppendChild(root.release()));
    EXPECT_STREQ(L"<h>  <r>    <w/></r></h>", holder.GetXml(FALSE, FALSE));
}
