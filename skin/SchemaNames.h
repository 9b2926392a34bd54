// The fixed name tables of the style text: classes, parts, states, properties
// and enumeration values by name to their numbers. Part, state, property and
// enumeration numbers are those of the visual-styles schema, so skin code can
// pass the numbers it would pass to the system's theme functions; class ids
// are the framework's own. Every comparison ignores letter case.
#pragma once
#include <FwDefs.h>

// Value types of schema properties.
enum SchemaValueType
{
    SCHEMA_TYPE_STRING = 1,
    SCHEMA_TYPE_INT = 2,
    SCHEMA_TYPE_BOOL = 3,
    SCHEMA_TYPE_COLOR = 4,
    SCHEMA_TYPE_RECT = 5,
    SCHEMA_TYPE_FONT = 6,
    SCHEMA_TYPE_INTLIST = 7,
    SCHEMA_TYPE_ENUM = 8,
    SCHEMA_TYPE_POSITION = 9,
};

// Class ids of the names the framework itself asks for.
enum SchemaClassId
{
    SCHEMA_CLASS_GLOBALS = 1,
    SCHEMA_CLASS_DOCUMENTATION = 2,
    SCHEMA_CLASS_SYSMETRICS = 3,
    SCHEMA_CLASS_WINDOW = 6,
};

// Property ids the framework reads by number.
enum SchemaPropertyId
{
    SCHEMA_PROP_CAPTIONFONT = 801,
    SCHEMA_PROP_SMALLCAPTIONFONT = 802,
    SCHEMA_PROP_MENUFONT = 803,
    SCHEMA_PROP_STATUSFONT = 804,
    SCHEMA_PROP_ICONTITLEFONT = 806,
    SCHEMA_PROP_SCROLLBARWIDTH = 1202,
    SCHEMA_PROP_SCROLLBARHEIGHT = 1203,
    SCHEMA_PROP_CAPTIONBARHEIGHT = 1205,
    SCHEMA_PROP_SMCAPTIONBARHEIGHT = 1207,
    SCHEMA_PROP_SYSCOLOR_FIRST = 1601, // + COLOR_ index
    SCHEMA_PROP_TRANSPARENT = 2201,
    SCHEMA_PROP_BORDERONLY = 2203,
    SCHEMA_PROP_GLYPHTRANSPARENT = 2206,
    SCHEMA_PROP_MIRRORIMAGE = 2209,
    SCHEMA_PROP_UNIFORMSIZING = 2210,
    SCHEMA_PROP_IMAGECOUNT = 2401,
    SCHEMA_PROP_ALPHALEVEL = 2402,
    SCHEMA_PROP_BORDERSIZE = 2403,
    SCHEMA_PROP_TRUESIZESTRETCHMARK = 2419,
    SCHEMA_PROP_IMAGEFILE = 3001,
    SCHEMA_PROP_IMAGEFILE1 = 3002,
    SCHEMA_PROP_IMAGEFILE5 = 3006,
    SCHEMA_PROP_GLYPHIMAGEFILE = 3008,
    SCHEMA_PROP_TEXTSHADOWOFFSET = 3402,
    SCHEMA_PROP_SIZINGMARGINS = 3601,
    SCHEMA_PROP_CONTENTMARGINS = 3602,
    SCHEMA_PROP_CAPTIONMARGINS = 3603,
    SCHEMA_PROP_BORDERCOLOR = 3801,
    SCHEMA_PROP_FILLCOLOR = 3802,
    SCHEMA_PROP_TEXTCOLOR = 3803,
    SCHEMA_PROP_TRANSPARENTCOLOR = 3809,
    SCHEMA_PROP_TEXTSHADOWCOLOR = 3818,
    SCHEMA_PROP_BGTYPE = 4001,
    SCHEMA_PROP_SIZINGTYPE = 4004,
    SCHEMA_PROP_CONTENTALIGNMENT = 4006,
    SCHEMA_PROP_VALIGN = 4007,
    SCHEMA_PROP_TEXTSHADOWTYPE = 4010,
    SCHEMA_PROP_IMAGELAYOUT = 4011,
    SCHEMA_PROP_GLYPHTYPE = 4012,
    SCHEMA_PROP_IMAGESELECTTYPE = 4013,
};

// Enumeration values the framework compares with.
enum SchemaEnumValue
{
    BGTYPE_IMAGEFILE = 0,
    BGTYPE_BORDERFILL = 1,
    BGTYPE_NONE = 2,
    IMAGELAYOUT_VERTICAL = 0,
    IMAGELAYOUT_HORIZONTAL = 1,
    SIZINGTYPE_TRUESIZE = 0,
    SIZINGTYPE_STRETCH = 1,
    SIZINGTYPE_TILE = 2,
    VALIGN_TOP = 0,
    VALIGN_BOTTOM = 2,
    GLYPHTYPE_NONE = 0,
    GLYPHTYPE_IMAGEGLYPH = 1,
    IMAGESELECTTYPE_NONE = 0,
    IMAGESELECTTYPE_SIZE = 1,
};

// Class id 1-30, 0 for a name not in the table.
int GetSchemaClassId(LPCWSTR className);
// Part id counted from 1 within the class; 0 when the class has no such part.
int GetSchemaPartId(LPCWSTR className, LPCWSTR partName);
// State id counted from 1 within the state group (named after a part or a
// class); 0 when the group has no such state.
int GetSchemaStateId(LPCWSTR groupName, LPCWSTR stateName);
// Property id and its value type; 0 (type untouched) for an unknown name.
int GetSchemaPropertyId(LPCWSTR propertyName, int* type);
// Value counted from 0 within the property's enumeration; -1 when not there.
int GetSchemaEnumValue(LPCWSTR propertyName, LPCWSTR valueName);

// Number of property names in the table (every id has one name).
int GetSchemaPropertyCount();
