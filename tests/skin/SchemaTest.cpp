// The schema: reading style text into typed values by section and property,
// the look-up that falls back from state to part to class to the globals,
// and part backgrounds filled with borders and colours.
#include "SFSkinClass.h"
#include "SFSkinDefaultSchema.h"
#include "SFSkinFramework.h"
#include "SFSkinResourceFile.h"
#include "SchemaNames.h"
#include "SkinTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
// Hands the schema a fixed list of lines.
class LinesFile : public CSFSkinResourceFile
{
public:
    explicit LinesFile(std::vector<const wchar_t*> lines) : m_lines(lines) {}
    BOOL ReadString(CString& line) override
    {
        if (m_next >= m_lines.size())
            return FALSE;
        line = m_lines[m_next++];
        return TRUE;
    }

private:
    std::vector<const wchar_t*> m_lines;
    size_t m_next = 0;
};

struct Schema
{
    CSFSkinDefaultSchema schema{NULL};
    explicit Schema(std::vector<const wchar_t*> lines)
    {
        LinesFile file(lines);
        EXPECT_EQ(0, schema.ReadStyle(&file));
    }
    const CSFSkinSchemaProperty* Get(int cls, int part, int state, int property)
    {
        return schema.GetProperty(cls, part, state, property);
    }
};

const int BUTTON = 7;
} // namespace

TEST(SFSkinSchema, SectionNamesGiveKeys)
{
    struct Case
    {
        const wchar_t* name;
        int cls, part, state;
    } cases[] = {
        {L"GLOBALS", 1, 0, 0},
        {L"WINDOW.CAPTION(ACTIVE)", 6, 1, 1},
        {L"BUTTON.PUSHBUTTON(HOT)", 7, 1, 2},
        {L"SCROLLBAR(NORMAL)", 21, 0, 1},
        {L"Button . PushButton ( Hot )", 7, 1, 2},
        {L"EXPLORER::BUTTON", 0, 0, 0},
        {L"BUTTON.NOSUCHPART", 0, 0, 0},
        {L"BUTTON.PUSHBUTTON(NOSUCHSTATE)", 0, 0, 0},
        {L"WINDOW.FRAMELEFT(ACTIVE)", 0, 0, 0},
        {L"NOSUCHCLASS", 0, 0, 0},
        {L"GLOBALS]", 0, 0, 0},
    };
    for (const auto& c : cases)
    {
        SchemaKey want = c.cls ? MakeSchemaKey(c.cls, c.part, c.state, 0) : 0;
        EXPECT_EQ(want, CSFSkinSchema::GetSectionKey(c.name)) << c.name;
    }
    EXPECT_EQ(((2u * 64 + 1) * 64 + 7) * 16384 + 3803, MakeSchemaKey(7, 1, 2, 3803));
}

TEST(SFSkinSchema, ReadsTypedValuesAndTheLastLineWins)
{
    Schema s({L"[Button.PushButton(Hot)]", L"TextColor = 0 0 255", L"  ; a comment line", L"[Button]",
              L"ImageFile = a.bmp ;picture", L"TextColor = 1 1 1", L"TextColor = 2 2 2", L"BorderSize=4",
              L"Transparent = true", L"SizingMargins = 1, 2, 3, 4", L"BgType = BorderFill",
              L"SizingType = Centre", L"IntList = 1, 2, 3", L"Offset = 5, 6", L"NoSuchProperty = 1",
              L"= 5", L"[Button]", L"BorderSize = 9", L"[Globals]", L"TextShadowType = Single",
              L"[Documentation]", L"CaptionFont = Tahoma, 8, Bold"});
    const CSFSkinSchemaProperty* p = s.Get(BUTTON, 1, 2, 3803);
    ASSERT_TRUE(p);
    EXPECT_EQ(SCHEMA_TYPE_COLOR, p->type);
    EXPECT_EQ(RGB(0, 0, 255), p->value.color);
    EXPECT_EQ(RGB(2, 2, 2), s.Get(BUTTON, 0, 0, 3803)->value.color);
    // Blanks in front of a comment stay, then the value is trimmed.
    EXPECT_STREQ(L"A.BMP", s.Get(BUTTON, 0, 0, 3001)->value.string);
    EXPECT_EQ(9, s.Get(BUTTON, 0, 0, 2403)->value.integer); // the repeated section wins
    EXPECT_TRUE(s.Get(BUTTON, 0, 0, 2201)->value.boolean);
    RECT m = s.Get(BUTTON, 0, 0, 3601)->value.rect;
    EXPECT_EQ(1, m.left);
    EXPECT_EQ(2, m.right);
    EXPECT_EQ(3, m.top);
    EXPECT_EQ(4, m.bottom);
    EXPECT_EQ(BGTYPE_BORDERFILL, s.Get(BUTTON, 0, 0, 4001)->value.enumValue);
    EXPECT_EQ(-1, s.Get(BUTTON, 0, 0, 4004)->value.enumValue);
    EXPECT_EQ(nullptr, s.Get(BUTTON, 0, 0, 211)); // int lists store nothing
    EXPECT_EQ(5, s.Get(BUTTON, 0, 0, 3401)->value.position.x);
    EXPECT_EQ(1, s.Get(BUTTON, 0, 0, 4010)->value.enumValue); // found in the globals
    const CSFSkinSchemaProperty* font = s.Get(2, 0, 0, 801);
    ASSERT_TRUE(font);
    EXPECT_STREQ(L"TAHOMA", font->value.font->lfFaceName);
    EXPECT_EQ(700, font->value.font->lfWeight);
    EXPECT_TRUE(s.schema.GetPremultiply());
    EXPECT_EQ(CString(L"Default"), s.schema.GetName());
}

TEST(SFSkinSchema, CommentsAfterSectionsAndUnknownSectionsSkipTheirLines)
{
    // "[Globals] ;x" keeps the blank before the comment as the last character,
    // so the section is named "GLOBALS]" and is no class.
    Schema s({L"[Globals] ;x", L"BorderSize = 3", L"[Button.PushButton(Bogus)]", L"BorderSize = 4",
              L"[Button.Bogus]", L"BorderSize = 5", L"[Button]", L"BorderSize = 6"});
    EXPECT_EQ(nullptr, s.Get(1, 0, 0, 2403));
    EXPECT_EQ(6, s.Get(BUTTON, 1, 1, 2403)->value.integer);
    EXPECT_EQ(1u, s.schema.GetPropertyCount());
    // Lines before any section count for nothing.
    Schema t({L"BorderSize = 3", L"[Globals]", L"BorderSize = 2"});
    EXPECT_EQ(1u, t.schema.GetPropertyCount());
}

TEST(SFSkinSchema, LookUpFallsBackStatePartClassGlobals)
{
    Schema s({L"[Globals]", L"BorderSize = 1", L"FillColor = 1 1 1", L"TextColor = 1 1 1", L"BorderColor = 1 1 1",
              L"[Button]", L"FillColor = 2 2 2", L"TextColor = 2 2 2", L"BorderColor = 2 2 2",
              L"[Button.PushButton]", L"TextColor = 3 3 3", L"BorderColor = 3 3 3",
              L"[Button.PushButton(Pressed)]", L"BorderColor = 4 4 4"});
    struct Case
    {
        int property;
        COLORREF want;
    } cases[] = {{3801, RGB(4, 4, 4)}, {3803, RGB(3, 3, 3)}, {3802, RGB(2, 2, 2)}};
    for (const Case& c : cases)
        EXPECT_EQ(c.want, s.Get(BUTTON, 1, 3, c.property)->value.color) << c.property;
    EXPECT_EQ(1, s.Get(BUTTON, 1, 3, 2403)->value.integer);
    EXPECT_EQ(RGB(3, 3, 3), s.Get(BUTTON, 1, 0, 3801)->value.color); // state 0: the part
    EXPECT_EQ(RGB(2, 2, 2), s.Get(BUTTON, 2, 3, 3801)->value.color); // another part
    EXPECT_EQ(nullptr, s.Get(BUTTON, 1, 3, 3809));
}

TEST(SFSkinSchema, TypedGettersTellAbsentFromWrongType)
{
    Schema s({L"[SysMetrics]", L"ScrollbarWidth = 20", L"BtnFace = 10 20 30", L"FlatMenus = True",
              L"MenuFont = Arial, 9"});
    int value = 77;
    EXPECT_EQ(S_OK, s.schema.GetIntProperty(3, 0, 0, 1202, &value));
    EXPECT_EQ(20, value);
    value = 77;
    EXPECT_EQ(E_INVALIDARG, s.schema.GetIntProperty(3, 0, 0, 1616, &value));
    EXPECT_EQ(77, value);
    EXPECT_EQ(E_FAIL, s.schema.GetIntProperty(3, 0, 0, 1203, &value));
    COLORREF color = 0;
    EXPECT_EQ(S_OK, s.schema.GetColorProperty(3, 0, 0, 1616, &color));
    EXPECT_EQ(RGB(10, 20, 30), color);
    BOOL flag = FALSE;
    EXPECT_EQ(S_OK, s.schema.GetBoolProperty(3, 0, 0, 1001, &flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(E_INVALIDARG, s.schema.GetBoolProperty(3, 0, 0, 1202, &flag));
    LOGFONTW font = {};
    EXPECT_EQ(S_OK, s.schema.GetFontProperty(3, 0, 0, 803, &font));
    EXPECT_STREQ(L"ARIAL", font.lfFaceName);
    EXPECT_EQ(E_FAIL, s.schema.GetFontProperty(3, 0, 0, 801, &font));
}

TEST(SFSkinSchema, DamagedTextStoresNothingAndNothingBreaks)
{
    std::wstring longLine(5000, L'X');
    std::wstring longFont = L"CaptionFont = " + std::wstring(300, L'F') + L", 9, " + std::wstring(300, L'B');
    std::wstring junk;
    for (int c = 1; c < 256; c++)
        junk += (wchar_t)c;
    Schema s({L"[", L"[]", L"[(", L"[.", L"[Button.(", L"[Button(]", L"[Button.PushButton(", L"[::]", L"[SysMetrics]",
              longLine.c_str(), junk.c_str(), L"=", L"TextColor", L"TextColor =", L"SizingMargins = ,,,",
              L"Offset = x", L"ScrollbarWidth = 99999999999999999999", longFont.c_str(), L"BgType =",
              L"N2De87 = 1"});
    const CSFSkinSchemaProperty* font = s.Get(3, 0, 0, 801);
    ASSERT_TRUE(font);
    EXPECT_EQ(31u, wcslen(font->value.font->lfFaceName));
    EXPECT_EQ(400, font->value.font->lfWeight);
    EXPECT_EQ(0u, s.Get(3, 0, 0, 3803)->value.color); // empty text parses to 0
    EXPECT_EQ(-1, s.Get(3, 0, 0, 4001)->value.enumValue);
    EXPECT_NE(nullptr, s.Get(3, 0, 0, 1202));
}

TEST(SFSkinSchema, AlphaLevelOnlyCountsInTheDocumentation)
{
    Schema documented({L"[Documentation]", L"AlphaLevel = 255"});
    EXPECT_FALSE(documented.schema.GetPremultiply());
    Schema elsewhere({L"[Globals]", L"AlphaLevel = 255", L"[Documentation]", L"AlphaLevel = 200"});
    EXPECT_TRUE(elsewhere.schema.GetPremultiply());
    // Reading again starts from an empty store and the flag set.
    LinesFile again({L"[Button]", L"BorderSize = 1"});
    documented.schema.ReadStyle(&again);
    EXPECT_TRUE(documented.schema.GetPremultiply());
    EXPECT_EQ(1u, documented.schema.GetPropertyCount());
}

// Drawing goes through a skin class of the manager, so these load a small
// folder style written on the spot.
class SchemaDrawing : public StyleTextTest
{
protected:
    void SetUp() override
    {
        StyleTextTest::SetUp();
        ASSERT_TRUE(LoadStyle(L"schema-style", "[Button.PushButton]\r\n"
                                               "BgType = BorderFill\r\nBorderSize = 0\r\nFillColor = 10 20 30\r\n"
                                               "[Button.CheckBox]\r\n"
                                               "BgType = BorderFill\r\nBorderSize = 2\r\nBorderColor = 200 0 0\r\n"
                                               "FillColor = 0 0 200\r\n"
                                               "[Button.GroupBox]\r\n"
                                               "BgType = BorderFill\r\nBorderColor = 0 200 0\r\nFillColor = 0 0 9\r\n"
                                               "BorderOnly = True\r\n"
                                               "[Button.RadioButton]\r\nBgType = None\r\n"
                                               "[Button.UserButton]\r\nBgType = ImageFile\r\n"));
        cls = manager->GetSkinClass(L"button");
        ASSERT_NE(nullptr, cls);
    }

    BOOL Draw(Canvas& canvas, int part)
    {
        CDC dc;
        dc.Attach(canvas.dc());
        RECT rc = {0, 0, canvas.Width(), canvas.Height()};
        BOOL drawn = cls->DrawBackground(&dc, part, 1, &rc);
        dc.Detach();
        return drawn;
    }

    CSFSkinClass* cls = nullptr;
};

TEST_F(SchemaDrawing, BorderFillsAndParts)
{
    Canvas pushed(8, 6, RGB(255, 255, 255));
    EXPECT_TRUE(Draw(pushed, 1)); // border size 0: all fill
    EXPECT_EQ(48, pushed.Count(RGB(10, 20, 30)));

    Canvas check(10, 10, RGB(255, 255, 255));
    EXPECT_TRUE(Draw(check, 3));
    EXPECT_EQ(100 - 36, check.Count(RGB(200, 0, 0)));
    EXPECT_EQ(36, check.Count(RGB(0, 0, 200)));

    Canvas group(10, 10, RGB(255, 255, 255));
    EXPECT_TRUE(Draw(group, 4)); // one-pixel border, middle left alone
    EXPECT_EQ(36, group.Count(RGB(0, 200, 0)));
    EXPECT_EQ(64, group.Count(RGB(255, 255, 255)));

    KeepPicture(check, L"border-fill");
    Canvas none(4, 4, RGB(255, 255, 255));
    EXPECT_TRUE(Draw(none, 2)); // BgType None: nothing, and that is fine
    EXPECT_EQ(16, none.Count(RGB(255, 255, 255)));
    EXPECT_FALSE(Draw(none, 5)); // a picture background without a picture
}
