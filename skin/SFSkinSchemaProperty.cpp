#include "SFSkinSchemaProperty.h"
#include "SchemaNames.h"
#include "SchemaValueParsers.h"
#include <new>
#include <wchar.h>

CSFSkinSchemaProperty::CSFSkinSchemaProperty(int t, int p) : type(t), property(p) { ZeroMemory(&value, sizeof(value)); }

CSFSkinSchemaProperty::~CSFSkinSchemaProperty()
{
    if (type == SCHEMA_TYPE_STRING)
        delete[] value.string;
    else if (type == SCHEMA_TYPE_FONT)
        delete value.font;
}

CSFSkinSchemaProperty* CSFSkinSchemaProperty::Create(LPCWSTR name, int property, int type, LPCWSTR text)
{
    if (type == SCHEMA_TYPE_INTLIST || type < SCHEMA_TYPE_STRING || type > SCHEMA_TYPE_POSITION)
        return NULL;
    if (text == NULL)
        text = L"";
    CSFSkinSchemaProperty* p = new (std::nothrow) CSFSkinSchemaProperty(type, property);
    if (p == NULL)
        return NULL;
    switch (type)
    {
    case SCHEMA_TYPE_STRING:
    {
        size_t n = wcslen(text);
        p->value.string = new (std::nothrow) wchar_t[n + 1];
        if (p->value.string == NULL)
        {
            delete p;
            return NULL;
        }
        wmemcpy(p->value.string, text, n + 1);
        break;
    }
    case SCHEMA_TYPE_INT: p->value.integer = ParseSchemaInt(text); break;
    case SCHEMA_TYPE_BOOL: p->value.boolean = ParseSchemaBool(text); break;
    case SCHEMA_TYPE_COLOR: p->value.color = ParseSchemaColor(text); break;
    case SCHEMA_TYPE_RECT: p->value.rect = ParseSchemaRect(text); break;
    case SCHEMA_TYPE_POSITION: p->value.position = ParseSchemaPosition(text); break;
    case SCHEMA_TYPE_FONT:
        p->value.font = new (std::nothrow) LOGFONTW;
        if (p->value.font == NULL)
        {
            delete p;
            return NULL;
        }
        ParseSchemaFont(text, p->value.font);
        break;
    case SCHEMA_TYPE_ENUM: p->value.enumValue = GetSchemaEnumValue(name, text); break;
    }
    return p;
}
