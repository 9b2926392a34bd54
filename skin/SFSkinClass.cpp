#include "SFSkinClass.h"
#include "SFSkinFramework.h"
#include "SFSkinSchema.h"
#include "SFStyleImage.h"
#include "SFNoThrow.h"
#include "SchemaNames.h"

CSFSkinClass::CSFSkinClass(CSFSkinFramework* manager, const CString& name, int classId)
    : m_manager(manager), m_name(name), m_classId(classId)
{
    m_name.MakeUpper();
    m_cache.reserve(199);
}

CSFSkinClass::~CSFSkinClass() { m_images.Clear(); }

const CSFSkinSchemaProperty* CSFSkinClass::GetProperty(int type, int part, int state, int property)
{
    DWORD key = (DWORD)property + (DWORD)state * 0x100000 + (DWORD)part * 0x4000;
    auto it = m_cache.find(key);
    if (it != m_cache.end())
        return it->second;
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema == NULL)
        return NULL;
    const CSFSkinSchemaProperty* p = schema->GetProperty(m_classId, part, state, property);
    if (p == NULL)
    {
        m_cache[key] = NULL;
        return NULL;
    }
    if (p->type != type)
        return NULL;
    m_cache[key] = p;
    return p;
}

CString CSFSkinClass::GetString(int part, int state, int property, LPCWSTR defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_STRING, part, state, property);
    return p ? CString(p->value.string) : CString(defaultValue ? defaultValue : L"");
}

int CSFSkinClass::GetInt(int part, int state, int property, int defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_INT, part, state, property);
    return p ? p->value.integer : defaultValue;
}

BOOL CSFSkinClass::GetBool(int part, int state, int property, BOOL defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_BOOL, part, state, property);
    return p ? p->value.boolean : defaultValue;
}

int CSFSkinClass::GetEnum(int part, int state, int property, int defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_ENUM, part, state, property);
    return p ? p->value.enumValue : defaultValue;
}

RECT CSFSkinClass::GetRect(int part, int state, int property, const RECT& defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_RECT, part, state, property);
    return p ? p->value.rect : defaultValue;
}

COLORREF CSFSkinClass::GetColor(int part, int state, int property, COLORREF defaultValue)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_COLOR, part, state, property);
    if (p == NULL)
        return defaultValue;
    COLORREF color = p->value.color;
    if (m_manager)
        m_manager->ApplyColorFilter(color);
    return color;
}

BOOL CSFSkinClass::GetPosition(int part, int state, int property, POINT* out)
{
    const CSFSkinSchemaProperty* p = GetProperty(SCHEMA_TYPE_POSITION, part, state, property);
    if (p == NULL)
        return FALSE;
    if (out)
        *out = p->value.position;
    return TRUE;
}

CSFStyleImage* CSFSkinClass::GetImage(const CString& fileName)
{
    return m_images.Get(m_manager ? m_manager->GetResourceFile() : NULL, fileName);
}


BOOL CSFSkinClass::DrawBackground(CDC* dc, int part, int state, const RECT* rect)
{
    CSFSkinSchema* schema = m_manager ? m_manager->GetSchema() : NULL;
    if (schema == NULL || dc == NULL || rect == NULL)
        return FALSE;
    return SFNoThrow([&] { return schema->DrawThemeBackground(dc, this, part, state, rect); });
}

BOOL CSFSkinClass::GetPartSize(int part, int state, const RECT* rect, int sizeKind, SIZE* size)
{
    return size != NULL && SFNoThrow([&] { return MeasurePart(part, state, rect, sizeKind, size); });
}

BOOL CSFSkinClass::MeasurePart(int part, int state, const RECT* rect, int sizeKind, SIZE* size)
{
    int bgType = GetEnum(part, state, SCHEMA_PROP_BGTYPE, 0);
    if (bgType != BGTYPE_IMAGEFILE)
        return FALSE;
    int property = SCHEMA_PROP_IMAGEFILE;
    if (GetEnum(part, state, SCHEMA_PROP_IMAGESELECTTYPE, 0) != 0 &&
        GetEnum(part, state, SCHEMA_PROP_GLYPHTYPE, 0) == 0)
        property = SCHEMA_PROP_IMAGEFILE1;
    CString file = GetString(part, state, property);
    if (file.IsEmpty() && property == SCHEMA_PROP_IMAGEFILE1)
        file = GetString(part, state, SCHEMA_PROP_IMAGEFILE);
    if (file.IsEmpty())
        return FALSE;
    CSFStyleImage* image = GetImage(file);
    if (image == NULL)
        return FALSE;
    int count = GetInt(part, state, SCHEMA_PROP_IMAGECOUNT, 1);
    if (count <= 0)
        count = 1;
    int layout = GetEnum(part, state, SCHEMA_PROP_IMAGELAYOUT, IMAGELAYOUT_HORIZONTAL);
    int frameW = image->GetWidth(), frameH = image->GetHeight();
    if (layout == IMAGELAYOUT_HORIZONTAL)
        frameW /= count;
    else
        frameH /= count;
    if (sizeKind == 1)
    {
        size->cx = frameW;
        size->cy = frameH;
    }
    else if (sizeKind == 2)
    {
        const CSFSkinSchemaProperty* sizing = GetProperty(SCHEMA_TYPE_ENUM, part, state, SCHEMA_PROP_SIZINGTYPE);
        if (sizing && sizing->value.enumValue == SIZINGTYPE_TRUESIZE)
        {
            size->cx = frameW;
            size->cy = frameH;
        }
        else
        {
            size->cx = rect ? rect->right - rect->left : 0;
            size->cy = rect ? rect->bottom - rect->top : 0;
            if (GetBool(part, state, SCHEMA_PROP_UNIFORMSIZING, FALSE) && frameH > 0)
                size->cx = MulDiv(size->cy, frameW, frameH);
        }
    }
    return TRUE;
}

BOOL CSFSkinClass::DrawText(CDC* dc, int part, int state, const CString& text, UINT format, const RECT* rect)
{
    if (dc == NULL || rect == NULL)
        return FALSE;
    HDC hdc = dc->GetSafeHdc();
    ::SetBkMode(hdc, TRANSPARENT);
    RECT area = *rect;
    const CSFSkinSchemaProperty* margins = GetProperty(SCHEMA_TYPE_RECT, part, state, SCHEMA_PROP_CAPTIONMARGINS);
    if (margins)
    {
        area.left += margins->value.rect.left;
        area.right -= margins->value.rect.right;
    }
    if (GetEnum(part, state, SCHEMA_PROP_CONTENTALIGNMENT, 0) == 1)
        format |= DT_CENTER;
    COLORREF color = GetColor(part, state, SCHEMA_PROP_TEXTCOLOR, ::GetTextColor(hdc));
    ::SetTextColor(hdc, color);
    POINT offset = {0, 0};
    if (GetEnum(part, state, SCHEMA_PROP_TEXTSHADOWTYPE, 0) == 1 &&
        GetPosition(part, state, SCHEMA_PROP_TEXTSHADOWOFFSET, &offset) && (offset.x != 0 || offset.y != 0))
    {
        RECT shadow = area;
        ::OffsetRect(&shadow, offset.x, offset.y);
        ::SetTextColor(hdc, GetColor(part, state, SCHEMA_PROP_TEXTSHADOWCOLOR, (COLORREF)-1));
        ::DrawTextW(hdc, text, text.GetLength(), &shadow, format);
        ::SetTextColor(hdc, color);
    }
    ::DrawTextW(hdc, text, text.GetLength(), &area, format);
    return TRUE;
}
