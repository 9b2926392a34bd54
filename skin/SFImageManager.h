// The command icons of the program: one icon set per command id, cache
// strips shared by all icons of one size, and the image lists it was given.
// Its serialisation through the property exchange is a stored format.
#pragma once
#include "CritSec.h"
#include <Framework.h>
#include <list>
#include <map>

class CSFIconSet;
class CSFCacheStrip;
struct CSFCacheSlot;

class CSFImageManager : public CCmdTarget
{
    DECLARE_DYNCREATE(CSFImageManager)
public:
    CSFImageManager();
    ~CSFImageManager() override;

    CSFIconSet* GetIconSet(UINT id, BOOL create);
    // Every set with its icons, every strip and every owned image list.
    void RemoveAll();
    const std::map<UINT, CSFIconSet*>& IconSets() const { return m_sets; }
    void AddImageList(HIMAGELIST list, BOOL owns);

    // A slot of the strip for (width, height) holding the icon or the alpha
    // bitmap; NULL when the image is not of that size or nothing can be made.
    CSFCacheSlot* PlaceImage(int width, int height, HICON icon, HBITMAP alphaBitmap);
    // A copy of a slot's image: the alpha bitmap of an alpha slot, else an icon.
    BOOL TakeOut(CSFCacheSlot* slot, HICON* icon, HBITMAP* alphaBitmap);
    void FreeSlot(CSFCacheSlot* slot);
    CSFCacheStrip* FindStrip(int width, int height);

    // "IconSet" list: per set "Id", "CheckSum" and an "Icon" list of "Width"
    // and "Data" (the icon's own serialisation).
    void Serialize(CArchive& ar) override;

private:
    std::map<UINT, CSFIconSet*> m_sets;
    std::map<DWORD, CSFCacheStrip*> m_strips; // key: height << 16 | width
    struct ImageListEntry
    {
        HIMAGELIST list;
        BOOL owns;
    };
    std::list<ImageListEntry> m_imageLists;
    CCritSec m_lock;
};

CSFImageManager* GetImageManager();
