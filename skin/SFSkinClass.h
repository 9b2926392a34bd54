// One class of the loaded style ("BUTTON", "WINDOW", "SCROLLBAR" ...) as
// the framework hands it out for drawing: typed property look-ups with
// defaults, cached per part, state and property, and the pictures of the
// class.
#pragma once
#include "SFStyleImageCache.h"
#include <Framework.h>
#include <unordered_map>

class CSFSkinFramework;
class CSFSkinSchemaProperty;
class CSFStyleImage;

class CSFSkinClass
{
public:
    CSFSkinClass(CSFSkinFramework* manager, const CString& name, int classId);
    ~CSFSkinClass();
    CSFSkinClass(const CSFSkinClass&) = delete;
    CSFSkinClass& operator=(const CSFSkinClass&) = delete;

    // The schema's value when it has the requested type; a miss is
    // remembered, a value of another type is neither returned nor remembered.
    const CSFSkinSchemaProperty* GetProperty(int type, int part, int state, int property);

    CString GetString(int part, int state, int property, LPCWSTR defaultValue = L"");
    int GetInt(int part, int state, int property, int defaultValue);
    BOOL GetBool(int part, int state, int property, BOOL defaultValue);
    int GetEnum(int part, int state, int property, int defaultValue);
    RECT GetRect(int part, int state, int property, const RECT& defaultValue);
    // A found colour passes the colour filters on every call.
    COLORREF GetColor(int part, int state, int property, COLORREF defaultValue);
    BOOL GetPosition(int part, int state, int property, POINT* out);

    BOOL DrawBackground(CDC* dc, int part, int state, const RECT* rect);
    // sizeKind 1: one image's true size; 2: the size it is drawn at in rect.
    BOOL GetPartSize(int part, int state, const RECT* rect, int sizeKind, SIZE* size);
    // Text in the class's colour, caption margins, alignment and shadow.
    BOOL DrawText(CDC* dc, int part, int state, const CString& text, UINT format, const RECT* rect);

    CSFStyleImage* GetImage(const CString& fileName);
    const CString& GetName() const { return m_name; }
    int GetClassId() const { return m_classId; }
    CSFSkinFramework* GetManager() const { return m_manager; }
    CSFStyleImageCache& GetImageCache() { return m_images; }
    size_t GetCachedCount() const { return m_cache.size(); }

private:
    BOOL MeasurePart(int part, int state, const RECT* rect, int sizeKind, SIZE* size);

    CSFSkinFramework* m_manager;
    CString m_name;
    int m_classId;
    CSFStyleImageCache m_images;
    std::unordered_map<DWORD, const CSFSkinSchemaProperty*> m_cache;
};
