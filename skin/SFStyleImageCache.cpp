#include "SFStyleImageCache.h"
#include "SFSkinResourceFile.h"
#include "SFStyleImage.h"

CSFStyleImage* CSFStyleImageCache::Get(CSFSkinResourceFile* file, const CString& name)
{
    if (file == NULL || name.IsEmpty())
        return NULL;
    auto it = m_images.find(name);
    if (it != m_images.end())
        return it->second;
    CSFStyleImage* image = file->LoadImage(name);
    if (image)
        m_images[name] = image;
    return image;
}

SIZE CSFStyleImageCache::GetSize(CSFSkinResourceFile* file, const CString& name)
{
    SIZE size = {0, 0};
    if (CSFStyleImage* image = Get(file, name))
    {
        size.cx = image->GetWidth();
        size.cy = image->GetHeight();
    }
    return size;
}

void CSFStyleImageCache::Clear()
{
    for (auto& entry : m_images)
        delete entry.second;
    m_images.clear();
}
