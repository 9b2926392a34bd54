// The loaded pictures of one skin class by file name (as the style writes
// it, upper case), so each file is read once per class.
#pragma once
#include <Framework.h>
#include <map>

class CSFStyleImage;
class CSFSkinResourceFile;

class CSFStyleImageCache
{
public:
    CSFStyleImageCache() {}
    ~CSFStyleImageCache() { Clear(); }
    CSFStyleImageCache(const CSFStyleImageCache&) = delete;
    CSFStyleImageCache& operator=(const CSFStyleImageCache&) = delete;

    // The cached picture, else one opened through the style file; a failed
    // load is not remembered, so it is tried again next time.
    CSFStyleImage* Get(CSFSkinResourceFile* file, const CString& name);
    // Its size, (0, 0) when it cannot be had.
    SIZE GetSize(CSFSkinResourceFile* file, const CString& name);
    void Clear();
    size_t GetCount() const { return m_images.size(); }

private:
    std::map<CString, CSFStyleImage*> m_images;
};
