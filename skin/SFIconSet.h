// The icons of one command id, one per pixel width.
#pragma once
#include <Framework.h>
#include <map>

class CSFIcon;
class CSFImageManager;

class CSFIconSet
{
public:
    CSFIconSet(UINT id, CSFImageManager* owner) : m_id(id), m_owner(owner) {}
    ~CSFIconSet() { Clear(); }
    CSFIconSet(const CSFIconSet&) = delete;
    CSFIconSet& operator=(const CSFIconSet&) = delete;

    UINT GetId() const { return m_id; }
    // The icon of that width; with create, a new empty one when there is none.
    CSFIcon* GetIcon(int width, BOOL create);
    // Takes a loaded icon under its width, replacing one of the same width.
    void SetIcon(CSFIcon* icon);
    // Clears and releases every icon.
    void Clear();
    const std::map<int, CSFIcon*>& Icons() const { return m_icons; }

private:
    UINT m_id;
    CSFImageManager* m_owner;
    std::map<int, CSFIcon*> m_icons;
};
