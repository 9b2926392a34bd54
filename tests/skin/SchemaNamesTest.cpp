// The name tables of the style text and the parsers of its typed values.
#include "SchemaNames.h"
#include "SchemaValueParsers.h"
#include <gtest/gtest.h>

TEST(SchemaNames, ClassIdsIgnoreCaseAndSkipEleven)
{
    EXPECT_EQ(1, GetSchemaClassId(L"Globals"));
    EXPECT_EQ(1, GetSchemaClassId(L"GLOBALS"));
    EXPECT_EQ(3, GetSchemaClassId(L"sysmetrics"));
    EXPECT_EQ(10, GetSchemaClassId(L"STATUS"));
    EXPECT_EQ(12, GetSchemaClassId(L"ListView"));
    EXPECT_EQ(21, GetSchemaClassId(L"SCROLLBAR"));
    EXPECT_EQ(30, GetSchemaClassId(L"MENUBAND"));
    EXPECT_EQ(0, GetSchemaClassId(L""));
    EXPECT_EQ(0, GetSchemaClassId(L"MENU"));
    EXPECT_EQ(0, GetSchemaClassId(NULL));
}

TEST(SchemaNames, PartsBelongToTheirClass)
{
    struct Case
    {
        LPCWSTR cls, part;
        int id;
    } cases[] = {
        {L"WINDOW", L"CAPTION", 1},
        {L"WINDOW", L"CLOSEBUTTON", 18},
        {L"WINDOW", L"SMALLFRAMEBOTTOMSIZINGTEMPLATE", 37},
        {L"button", L"checkbox", 3},
        {L"SCROLLBAR", L"SIZEBOX", 10},
        {L"PAGE", L"DOWNHORZ", 4},
        {L"MENUBAND", L"SEPERATOR", 2},
        {L"MENUBAND", L"SEPARATOR", 0},
        {L"BUTTON", L"CAPTION", 0}, // a known part under the wrong class
        {L"GLOBALS", L"CAPTION", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.id, GetSchemaPartId(c.cls, c.part)) << c.cls << L"." << c.part;
}

TEST(SchemaNames, StatesAreLookedUpByGroup)
{
    struct Case
    {
        LPCWSTR group, state;
        int id;
    } cases[] = {
        {L"CAPTION", L"INACTIVE", 2},
        {L"CAPTION", L"HOT", 0},
        {L"SCROLLBAR", L"ACTIVE", 5},
        {L"PUSHBUTTON", L"DEFAULTED", 5},
        {L"CHECKBOX", L"MIXEDNORMAL", 9},
        {L"RADIOBUTTON", L"MIXEDNORMAL", 0},
        {L"ARROWBTN", L"RIGHTDISABLED", 16},
        {L"MENUBAND", L"HOTCHECKED", 6},
        {L"EDITTEXT", L"ASSIST", 7},
        {L"FRAMELEFT", L"NORMAL", 0}, // frame borders have no group
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.id, GetSchemaStateId(c.group, c.state)) << c.group << L"(" << c.state << L")";
}

TEST(SchemaNames, PropertiesHaveIdAndType)
{
    struct Case
    {
        LPCWSTR name;
        int id, type;
    } cases[] = {
        {L"STRING", 201, SCHEMA_TYPE_STRING},       {L"INTLIST", 211, SCHEMA_TYPE_INTLIST},
        {L"CHARSET", 403, SCHEMA_TYPE_INT},         {L"DESCRIPTION", 608, SCHEMA_TYPE_STRING},
        {L"ICONTITLEFONT", 806, SCHEMA_TYPE_FONT},  {L"MenuBarHeight", 1209, SCHEMA_TYPE_INT},
        {L"SCROLLBAR", 1601, SCHEMA_TYPE_COLOR},    {L"BTNFACE", 1616, SCHEMA_TYPE_COLOR},
        {L"MENUBAR", 1631, SCHEMA_TYPE_COLOR},      {L"TOHUE5", 1810, SCHEMA_TYPE_INT},
        {L"SOURCESHRINK", 2213, SCHEMA_TYPE_BOOL},  {L"TRUESIZESTRETCHMARK", 2419, SCHEMA_TYPE_INT},
        {L"MINDPI5", 2424, SCHEMA_TYPE_INT},        {L"GLYPHIMAGEFILE", 3008, SCHEMA_TYPE_STRING},
        {L"NORMALSIZE", 3409, SCHEMA_TYPE_POSITION}, {L"CAPTIONMARGINS", 3603, SCHEMA_TYPE_RECT},
        {L"TEXTSHADOWCOLOR", 3818, SCHEMA_TYPE_COLOR}, {L"ACCENTCOLORHINT", 3823, SCHEMA_TYPE_COLOR},
        {L"TRUESIZESCALINGTYPE", 4015, SCHEMA_TYPE_ENUM}, {L"BLENDCOLOR", 5003, SCHEMA_TYPE_COLOR},
    };
    for (const Case& c : cases)
    {
        int type = -1;
        EXPECT_EQ(c.id, GetSchemaPropertyId(c.name, &type)) << c.name;
        EXPECT_EQ(c.type, type) << c.name;
    }
    int type = 77;
    EXPECT_EQ(0, GetSchemaPropertyId(L"NOSUCHPROPERTY", &type));
    EXPECT_EQ(77, type);
    EXPECT_EQ(192, GetSchemaPropertyCount());
}

TEST(SchemaNames, EnumerationValuesCountFromZero)
{
    EXPECT_EQ(2, GetSchemaEnumValue(L"SIZINGTYPE", L"TILE"));
    EXPECT_EQ(-1, GetSchemaEnumValue(L"SIZINGTYPE", L"CENTER"));
    EXPECT_EQ(0, GetSchemaEnumValue(L"BgType", L"ImageFile"));
    EXPECT_EQ(1, GetSchemaEnumValue(L"IMAGELAYOUT", L"HORIZONTAL"));
    EXPECT_EQ(13, GetSchemaEnumValue(L"OFFSETTYPE", L"BELOWLASTBUTTON"));
    EXPECT_EQ(2, GetSchemaEnumValue(L"GLYPHFONTSIZINGTYPE", L"DPI"));
    EXPECT_EQ(-1, GetSchemaEnumValue(L"IMAGECOUNT", L"NONE")); // not an enumeration
}

TEST(SchemaValueParsers, ColoursRectsAndPositions)
{
    EXPECT_EQ(RGB(255, 0, 0), ParseSchemaColor(L"255 0 0"));
    EXPECT_EQ(RGB(16, 1, 8), ParseSchemaColor(L"0X10 1 010"));
    EXPECT_EQ(RGB(0, 0, 255), ParseSchemaColor(L"0 0 255"));
    EXPECT_EQ(RGB(12, 0, 0), ParseSchemaColor(L"12 X"));
    EXPECT_EQ(RGB(44, 1, 0), ParseSchemaColor(L"300 257"));

    RECT rc = ParseSchemaRect(L"1,2,3,4");
    EXPECT_EQ(1, rc.left);
    EXPECT_EQ(3, rc.top);
    EXPECT_EQ(2, rc.right);
    EXPECT_EQ(4, rc.bottom);
    rc = ParseSchemaRect(L"5,6");
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(6, rc.right);
    EXPECT_EQ(0, rc.top);

    POINT pt = ParseSchemaPosition(L"-2,7");
    EXPECT_EQ(-2, pt.x);
    EXPECT_EQ(7, pt.y);
    EXPECT_EQ(12, ParseSchemaInt(L"12PX"));
    EXPECT_EQ(0, ParseSchemaInt(L"X"));
    EXPECT_TRUE(ParseSchemaBool(L"TRUE"));
    EXPECT_TRUE(ParseSchemaBool(L"true"));
    EXPECT_FALSE(ParseSchemaBool(L"1"));
}

TEST(SchemaValueParsers, FontsAtTheGivenResolution)
{
    LOGFONTW lf;
    ParseSchemaFont(L"TAHOMA, 8, BOLD", &lf, 96, GB2312_CHARSET);
    EXPECT_STREQ(L"TAHOMA", lf.lfFaceName);
    EXPECT_EQ(-11, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(GB2312_CHARSET, lf.lfCharSet);

    ParseSchemaFont(L"TAHOMA, 8", &lf, 96, ANSI_CHARSET);
    EXPECT_EQ(-11, lf.lfHeight);
    EXPECT_EQ(400, lf.lfWeight);

    ParseSchemaFont(L"SIMSUN, 9, ITALIC", &lf, 120, ANSI_CHARSET);
    EXPECT_EQ(-15, lf.lfHeight);
    EXPECT_EQ(400, lf.lfWeight);

    // A face too long for the record is cut, and the rest still parses.
    ParseSchemaFont(L"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ, 10, BOLD", &lf, 72, ANSI_CHARSET);
    EXPECT_EQ(31u, wcslen(lf.lfFaceName));
    EXPECT_EQ(-10, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
}
