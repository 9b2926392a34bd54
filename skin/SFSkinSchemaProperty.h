// One typed value of a style, owned by the schema's store. Strings and fonts
// are owned by the value.
#pragma once
#include <FwDefs.h>

// Key of a stored value: property in bits 0-13, class in 14-19, part in
// 20-25, state in 26-31. Part 0 is the whole class, state 0 every state.
typedef DWORD SchemaKey;

inline SchemaKey MakeSchemaKey(int classId, int part, int state, int property)
{
    return ((((DWORD)state * 64 + (DWORD)part) * 64 + (DWORD)classId) * 16384) + (DWORD)property;
}

class CSFSkinSchemaProperty
{
public:
    CSFSkinSchemaProperty(int type, int property);
    ~CSFSkinSchemaProperty();
    CSFSkinSchemaProperty(const CSFSkinSchemaProperty&) = delete;
    CSFSkinSchemaProperty& operator=(const CSFSkinSchemaProperty&) = delete;

    // A value parsed from style text by its type (int lists make none);
    // enumeration values are looked up under the property's name.
    static CSFSkinSchemaProperty* Create(LPCWSTR name, int property, int type, LPCWSTR text);

    int type;
    int property;
    union
    {
        wchar_t* string;
        int integer;
        BOOL boolean;
        COLORREF color;
        int enumValue;
        RECT rect;
        POINT position;
        LOGFONTW* font;
    } value;
};
