// Everything a style says about how each kind of window part looks: the
// typed values of its INI text keyed by class, part, state and property,
// with look-ups that fall back from the state to the part, the class and the
// global class, and the drawing of part backgrounds from them.
#pragma once
#include "CritSec.h"
#include "SFSkinSchemaProperty.h"
#include <Framework.h>
#include <unordered_map>

class CSFSkinFramework;
class CSFSkinResourceFile;
class CSFSkinClass;
class CSFSkinObjectFrame;
struct ScrollBarLayout;

class CSFSkinSchema
{
public:
    explicit CSFSkinSchema(CSFSkinFramework* manager);
    virtual ~CSFSkinSchema();
    CSFSkinSchema(const CSFSkinSchema&) = delete;
    CSFSkinSchema& operator=(const CSFSkinSchema&) = delete;

    virtual BOOL DrawThemeBackground(CDC* dc, CSFSkinClass* cls, int part, int state, const RECT* rect) = 0;
    // Caption, borders and caption buttons of a frame, in window coordinates.
    virtual void DrawFrame(CDC* /*dc*/, CSFSkinObjectFrame* /*frame*/) {}
    // Non-client widths for a style pair; top includes the caption bar.
    virtual void GetBorderWidths(DWORD /*style*/, DWORD /*exStyle*/, RECT* out) { ::SetRectEmpty(out); }
    void GetWindowBorders(HWND hwnd, RECT* out);
    // The window region of a frame of that size, owned by the caller; NULL
    // when the frame keeps its plain rectangle.
    virtual HRGN GetWindowRegion(CSFSkinObjectFrame* /*frame*/, int /*width*/, int /*height*/) { return NULL; }
    // A skinned scroll bar from its layout.
    virtual void DrawScrollBar(CDC* /*dc*/, CSFSkinObjectFrame* /*object*/, ScrollBarLayout* /*layout*/) {}
    // Drops what the schema derived from the style for drawing.
    virtual void Refresh() {}
    // Colour of the scroll bars' size box: the skin's button face.
    virtual COLORREF GetSizeBoxColor();

    // Empties the store and reads the style text line by line; returns 0.
    int ReadStyle(CSFSkinResourceFile* file);
    const CSFSkinSchemaProperty* GetProperty(int classId, int part, int state, int property) const;
    // S_OK with the value; E_INVALIDARG (out untouched) for a value of
    // another type; E_FAIL when there is none.
    HRESULT GetIntProperty(int classId, int part, int state, int property, int* out) const;
    HRESULT GetBoolProperty(int classId, int part, int state, int property, BOOL* out) const;
    // The colour passes the manager's colour filters.
    HRESULT GetColorProperty(int classId, int part, int state, int property, COLORREF* out) const;
    HRESULT GetFontProperty(int classId, int part, int state, int property, LOGFONTW* out) const;
    void RemoveAllProperties();

    // Key of a section name such as "BUTTON.PUSHBUTTON(HOT)" (upper case), 0
    // for a section the tables do not know.
    static SchemaKey GetSectionKey(const CString& name);

    BOOL GetPremultiply() const { return m_premultiply; }
    const CString& GetName() const { return m_name; }
    size_t GetPropertyCount() const { return m_store.size(); }
    CSFSkinFramework* GetManager() const { return m_manager; }
    CCritSec& GetLock() { return m_lock; }

protected:
    void ParseLine(CString line, SchemaKey* section);
    // The value when it has the type: S_OK, E_INVALIDARG or E_FAIL as the getters answer.
    HRESULT FindTyped(int classId, int part, int state, int property, int type,
                      const CSFSkinSchemaProperty** out) const;
    const CSFSkinSchemaProperty* Find(SchemaKey key) const;

    std::unordered_map<SchemaKey, CSFSkinSchemaProperty*> m_store;
    CSFSkinFramework* m_manager;
    CString m_name;
    CCritSec m_lock;
    int m_globalsClassId;
    int m_windowClassId;
    BOOL m_premultiply;
};
