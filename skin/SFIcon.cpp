#include "SFIcon.h"

IMPLEMENT_DYNCREATE(CSFIcon, CCmdTarget)

CSFIcon::CSFIcon() : m_id(0), m_width(0), m_attributes(kLoaderAttributes), m_set(NULL) {}

CSFIcon::~CSFIcon() { Clear(); }

void CSFIcon::Init(CSFIconSet* set, UINT id, int width, CSFImageManager* owner)
{
    m_set = set;
    m_id = id;
    m_width = width;
    for (CSFIconHandle& image : m_images)
        image.SetOwner(owner);
}

void CSFIcon::Clear()
{
    for (CSFIconHandle& image : m_images)
        image.Clear();
}

namespace
{
// Stored images in their order, and the format version each needs.
const struct
{
    int index;
    DWORD sinceAbove;
} kStored[] = {{0, 0}, {6, 0}, {3, 0}, {4, 7}, {5, 16}};
} // namespace

void CSFIcon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_attributes << (DWORD)kFormatVersion;
        for (const auto& stored : kStored)
            m_images[stored.index].Write(ar);
        return;
    }
    DWORD version = 0;
    ar >> m_attributes >> version;
    for (const auto& stored : kStored)
        if (stored.sinceAbove == 0 || version > stored.sinceAbove)
            m_images[stored.index].Read(ar, version > 24);
}
