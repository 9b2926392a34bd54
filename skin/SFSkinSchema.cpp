#include "SFSkinSchema.h"
#include "SFSkinFramework.h"
#include "SFSkinMetrics.h"
#include "SFSkinResourceFile.h"
#include "SchemaNames.h"

CSFSkinSchema::CSFSkinSchema(CSFSkinFramework* manager)
    : m_manager(manager), m_name(L"Default"), m_globalsClassId(GetSchemaClassId(L"GLOBALS")),
      m_windowClassId(GetSchemaClassId(L"WINDOW")), m_premultiply(TRUE)
{
    m_store.reserve(199);
}

CSFSkinSchema::~CSFSkinSchema() { RemoveAllProperties(); }

void CSFSkinSchema::RemoveAllProperties()
{
    for (auto& entry : m_store)
        delete entry.second;
    m_store.clear();
}

COLORREF CSFSkinSchema::GetSizeBoxColor()
{
    return m_manager && m_manager->GetMetrics() ? m_manager->GetMetrics()->GetColor(COLOR_BTNFACE)
                                                : ::GetSysColor(COLOR_BTNFACE);
}

SchemaKey CSFSkinSchema::GetSectionKey(const CString& sectionName)
{
    CString name(sectionName);
    name.MakeUpper();
    if (name.Find(L':') >= 0)
        return 0;
    name.Remove(L' ');
    name.Remove(L'\t');
    CString stateName;
    int paren = name.Find(L'(');
    if (paren >= 0)
    {
        // The state runs to the name's last character, whatever that is.
        int length = name.GetLength() - paren - 2;
        stateName = length > 0 ? name.Mid(paren + 1, length) : CString();
        name = name.Left(paren);
    }
    CString className(name), partName;
    int dot = name.Find(L'.');
    if (dot >= 0)
    {
        className = name.Left(dot);
        partName = name.Mid(dot + 1);
    }
    int part = 0, state = 0;
    if (dot >= 0 && (part = GetSchemaPartId(className, partName)) == 0)
        return 0;
    if (paren >= 0 && (state = GetSchemaStateId(dot >= 0 ? partName : className, stateName)) == 0)
        return 0;
    int classId = GetSchemaClassId(className);
    if (classId == 0)
        return 0;
    return MakeSchemaKey(classId, part, state, 0);
}

void CSFSkinSchema::ParseLine(CString line, SchemaKey* section)
{
    line.TrimLeft();
    int semicolon = line.Find(L';');
    if (semicolon == 0)
        return;
    if (semicolon > 0)
        line = line.Left(semicolon); // blanks in front of the comment stay
    if (line.IsEmpty())
        return;
    line.MakeUpper();
    if (line[0] == L'[')
    {
        // The name ends before the line's last character, whatever it is.
        int length = line.GetLength() - 2;
        *section = GetSectionKey(length > 0 ? line.Mid(1, length) : CString());
        return;
    }
    if (*section == 0)
        return;
    int equals = line.Find(L'=');
    if (equals <= 0)
        return;
    CString name = line.Left(equals);
    name.TrimRight();
    int type = 0;
    int id = GetSchemaPropertyId(name, &type);
    if (id == 0)
        return;
    CString text = line.Mid(equals + 1);
    text.Trim();
    SchemaKey key = *section + id;
    auto it = m_store.find(key);
    if (it != m_store.end())
    {
        delete it->second; // the last line wins
        m_store.erase(it);
    }
    if (CSFSkinSchemaProperty* value = CSFSkinSchemaProperty::Create(name, id, type, text))
        m_store[key] = value;
}

int CSFSkinSchema::ReadStyle(CSFSkinResourceFile* file)
{
    RemoveAllProperties();
    m_premultiply = TRUE;
    SchemaKey section = 0;
    CString line;
    while (file && file->ReadString(line))
        ParseLine(line, &section);
    const CSFSkinSchemaProperty* level = Find(MakeSchemaKey(SCHEMA_CLASS_DOCUMENTATION, 0, 0, SCHEMA_PROP_ALPHALEVEL));
    if (level && level->type == SCHEMA_TYPE_INT && level->value.integer == 255)
        m_premultiply = FALSE;
    return 0;
}

const CSFSkinSchemaProperty* CSFSkinSchema::Find(SchemaKey key) const
{
    auto it = m_store.find(key);
    return it == m_store.end() ? NULL : it->second;
}

const CSFSkinSchemaProperty* CSFSkinSchema::GetProperty(int classId, int part, int state, int property) const
{
    const CSFSkinSchemaProperty* p = NULL;
    if (state != 0 && (p = Find(MakeSchemaKey(classId, part, state, property))) != NULL)
        return p;
    if ((p = Find(MakeSchemaKey(classId, part, 0, property))) != NULL)
        return p;
    if ((p = Find(MakeSchemaKey(classId, 0, 0, property))) != NULL)
        return p;
    return Find(MakeSchemaKey(m_globalsClassId, 0, 0, property));
}

HRESULT CSFSkinSchema::FindTyped(int classId, int part, int state, int property, int type,
                                 const CSFSkinSchemaProperty** out) const
{
    const CSFSkinSchemaProperty* p = GetProperty(classId, part, state, property);
    if (p == NULL)
        return E_FAIL;
    if (p->type != type)
        return E_INVALIDARG;
    *out = p;
    return S_OK;
}

HRESULT CSFSkinSchema::GetIntProperty(int classId, int part, int state, int property, int* out) const
{
    const CSFSkinSchemaProperty* p = NULL;
    HRESULT hr = FindTyped(classId, part, state, property, SCHEMA_TYPE_INT, &p);
    if (hr == S_OK)
        *out = p->value.integer;
    return hr;
}

HRESULT CSFSkinSchema::GetBoolProperty(int classId, int part, int state, int property, BOOL* out) const
{
    const CSFSkinSchemaProperty* p = NULL;
    HRESULT hr = FindTyped(classId, part, state, property, SCHEMA_TYPE_BOOL, &p);
    if (hr == S_OK)
        *out = p->value.boolean;
    return hr;
}

HRESULT CSFSkinSchema::GetColorProperty(int classId, int part, int state, int property, COLORREF* out) const
{
    const CSFSkinSchemaProperty* p = NULL;
    HRESULT hr = FindTyped(classId, part, state, property, SCHEMA_TYPE_COLOR, &p);
    if (hr != S_OK)
        return hr;
    COLORREF color = p->value.color;
    if (m_manager)
        m_manager->ApplyColorFilter(color);
    *out = color;
    return S_OK;
}

HRESULT CSFSkinSchema::GetFontProperty(int classId, int part, int state, int property, LOGFONTW* out) const
{
    const CSFSkinSchemaProperty* p = NULL;
    HRESULT hr = FindTyped(classId, part, state, property, SCHEMA_TYPE_FONT, &p);
    if (hr == S_OK && p->value.font == NULL)
        hr = E_INVALIDARG;
    if (hr == S_OK)
        *out = *p->value.font;
    return hr;
}

void CSFSkinSchema::GetWindowBorders(HWND hwnd, RECT* out)
{
    GetBorderWidths((DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE), (DWORD)::GetWindowLongPtrW(hwnd, GWL_EXSTYLE), out);
}
