#include "SFIconSet.h"
#include "SFIcon.h"

CSFIcon* CSFIconSet::GetIcon(int width, BOOL create)
{
    auto it = m_icons.find(width);
    if (it != m_icons.end())
        return it->second;
    if (!create)
        return NULL;
    CSFIcon* icon = new CSFIcon;
    icon->Init(this, m_id, width, m_owner);
    m_icons[width] = icon;
    return icon;
}

void CSFIconSet::SetIcon(CSFIcon* icon)
{
    auto it = m_icons.find(icon->GetWidth());
    if (it != m_icons.end() && it->second != icon)
    {
        it->second->Clear();
        it->second->InternalRelease();
    }
    m_icons[icon->GetWidth()] = icon;
}

void CSFIconSet::Clear()
{
    for (auto& entry : m_icons)
    {
        entry.second->Clear();
        entry.second->InternalRelease();
    }
    m_icons.clear();
}
