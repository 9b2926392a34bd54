#include "SFImageManager.h"
#include "BitmapDC.h"
#include "SFBitmapTransforms.h"
#include "SFCacheStrip.h"
#include "SFDibHelpers.h"
#include "SFIcon.h"
#include "SFIconSet.h"
#include "SFImageLoading.h"
#include "SFOSVersionInfo.h"
#include "SFPropEnumerator.h"
#include "SFPropExchangeArchive.h"
#include <commctrl.h>
#include <memory>

IMPLEMENT_DYNCREATE(CSFImageManager, CCmdTarget)

namespace
{
const wchar_t kCheckSum[] = L"CSFImageManagerIcons";

DWORD StripKey(int width, int height) { return ((DWORD)height << 16) | (DWORD)(width & 0xFFFF); }

// Copies a top-down 32-bit picture of the strip's size into one column.
void CopyRowsIn(CSFCacheStrip* strip, const CSFCacheSlot* slot, const BYTE* pixels)
{
    ::GdiFlush();
    int w = strip->GetWidth(), total = strip->GetTotalWidth();
    for (int y = 0; y < strip->GetHeight(); y++)
        memcpy(strip->GetBits() + ((size_t)y * total + slot->column.left) * 4, pixels + (size_t)y * w * 4,
               (size_t)w * 4);
}
} // namespace

CSFImageManager::CSFImageManager() {}

CSFImageManager::~CSFImageManager() { RemoveAll(); }

CSFImageManager* GetImageManager()
{
    static CSFImageManager manager;
    return &manager;
}

CSFIconSet* CSFImageManager::GetIconSet(UINT id, BOOL create)
{
    auto it = m_sets.find(id);
    if (it != m_sets.end())
        return it->second;
    if (!create)
        return NULL;
    CSFIconSet* set = new CSFIconSet(id, this);
    m_sets[id] = set;
    return set;
}

void CSFImageManager::RemoveAll()
{
    for (auto& entry : m_sets)
        delete entry.second; // releases the icons, whose images free their slots
    m_sets.clear();
    CCritSecLock lock(m_lock);
    for (auto& entry : m_strips)
        delete entry.second;
    m_strips.clear();
    for (ImageListEntry& entry : m_imageLists)
        if (entry.owns && entry.list)
            ImageList_Destroy(entry.list);
    m_imageLists.clear();
}

void CSFImageManager::AddImageList(HIMAGELIST list, BOOL owns) { m_imageLists.push_back({list, owns}); }

CSFCacheStrip* CSFImageManager::FindStrip(int width, int height)
{
    CCritSecLock lock(m_lock);
    auto it = m_strips.find(StripKey(width, height));
    return it == m_strips.end() ? NULL : it->second;
}

CSFCacheSlot* CSFImageManager::PlaceImage(int width, int height, HICON icon, HBITMAP alphaBitmap)
{
    if (width <= 0 || height <= 0 || (icon == NULL && alphaBitmap == NULL))
        return NULL;
    // The image must be exactly the strip's size.
    if (icon)
    {
        SIZE size = GetIconImageSize(icon);
        if (size.cx != width || size.cy != height)
            return NULL;
    }
    SFBitmapPixels alphaPixels;
    if (alphaBitmap && (!Read32BitPixels(NULL, alphaBitmap, &alphaPixels) || alphaPixels.Width() != width ||
                        alphaPixels.Height() != height))
        return NULL;

    CCritSecLock lock(m_lock);
    CSFCacheStrip*& strip = m_strips[StripKey(width, height)];
    if (strip == NULL)
        strip = new CSFCacheStrip(width, height);
    CSFCacheSlot* slot = strip->TakeSlot();
    if (slot == NULL)
        return NULL;
    if (alphaBitmap)
    {
        CopyRowsIn(strip, slot, alphaPixels.bits.data());
        slot->alpha = TRUE;
        return slot;
    }
    ICONINFO info = {};
    if (::GetIconInfo(icon, &info))
    {
        int flag = -1;
        void* bits = NULL;
        HBITMAP premultiplied = NULL;
        if (info.hbmColor && GetOSVersionInfo().IsWinXPOrGreater())
            premultiplied = SFPremultipliedCopy(info.hbmColor, &flag, &bits);
        if (premultiplied && flag == 1)
        {
            CopyRowsIn(strip, slot, (const BYTE*)bits);
            slot->alpha = TRUE;
        }
        if (premultiplied)
            ::DeleteObject(premultiplied);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
    }
    if (!slot->alpha)
    {
        const RECT& c = slot->column;
        ::PatBlt(strip->GetDC(), c.left, 0, width, height, BLACKNESS);
        ::DrawIconEx(strip->GetDC(), c.left, 0, icon, width, height, 0, NULL, DI_NORMAL);
        BitmapDC maskDC(NULL, strip->GetMask());
        if (maskDC.IsReady())
            ::DrawIconEx(maskDC, c.left, 0, icon, width, height, 0, NULL, DI_MASK);
    }
    return slot;
}

BOOL CSFImageManager::TakeOut(CSFCacheSlot* slot, HICON* icon, HBITMAP* alphaBitmap)
{
    *icon = NULL;
    *alphaBitmap = NULL;
    if (slot == NULL || slot->strip == NULL)
        return FALSE;
    CCritSecLock lock(m_lock);
    CSFCacheStrip* strip = slot->strip;
    int w = strip->GetWidth(), h = strip->GetHeight(), total = strip->GetTotalWidth();
    void* bits = NULL;
    HBITMAP column = Create32BitDibTopDown(w, h, &bits);
    if (column == NULL)
        return FALSE;
    ::GdiFlush();
    for (int y = 0; y < h; y++)
        memcpy((BYTE*)bits + (size_t)y * w * 4, strip->GetBits() + ((size_t)y * total + slot->column.left) * 4,
               (size_t)w * 4);
    if (slot->alpha)
    {
        *alphaBitmap = column;
        return TRUE;
    }
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, NULL);
    if (mask)
    {
        BitmapDC from(NULL, strip->GetMask()), to(NULL, mask);
        if (from.IsReady() && to.IsReady())
            ::BitBlt(to, 0, 0, w, h, from, slot->column.left, 0, SRCCOPY);
    }
    ICONINFO info = {TRUE, 0, 0, mask, column};
    *icon = mask ? ::CreateIconIndirect(&info) : NULL;
    if (mask)
        ::DeleteObject(mask);
    ::DeleteObject(column);
    return *icon != NULL;
}

void CSFImageManager::FreeSlot(CSFCacheSlot* slot)
{
    if (slot == NULL || slot->strip == NULL)
        return;
    CCritSecLock lock(m_lock);
    slot->strip->FreeSlot(slot);
}

void CSFImageManager::Serialize(CArchive& ar)
{
    CSFPropExchangeArchive px(ar);
    BOOL loading = px.IsLoading();
    if (loading)
        RemoveAll();
    CSFPropEnumerator sets(&px, L"IconSet");
    DWORD setCount = (DWORD)m_sets.size();
    if (!sets.Start(&setCount, TRUE))
        return;
    auto nextSet = m_sets.begin();
    for (int pos = sets.GetStartPosition(); pos != 0;)
    {
        std::unique_ptr<CSFPropExchange> section(sets.Next(&pos));
        long id = loading ? 0 : (long)nextSet->first;
        CSFIconSet* set = loading ? NULL : nextSet->second;
        if (!loading)
            ++nextSet;
        section->ExchangeInt(L"Id", &id, 0);
        CString checkSum(kCheckSum);
        section->ExchangeString(L"CheckSum", &checkSum, kCheckSum);
        if (loading && checkSum != kCheckSum)
            AfxThrowArchiveException(CArchiveException::badClass);
        if (loading)
        {
            set = GetIconSet((UINT)id, TRUE);
            set->Clear();
        }
        CSFPropEnumerator icons(section.get(), L"Icon");
        DWORD iconCount = set ? (DWORD)set->Icons().size() : 0;
        if (!icons.Start(&iconCount, TRUE))
            continue;
        auto nextIcon = set->Icons().begin();
        for (int iconPos = icons.GetStartPosition(); iconPos != 0;)
        {
            std::unique_ptr<CSFPropExchange> item(icons.Next(&iconPos));
            CSFIcon* icon = NULL;
            if (!loading)
                icon = (nextIcon++)->second;
            long width = icon ? icon->GetWidth() : 16;
            item->ExchangeInt(L"Width", &width, 16);
            if (!loading)
            {
                item->ExchangeSerialized(L"Data", icon);
                continue;
            }
            icon = new CSFIcon;
            icon->Init(set, (UINT)id, (int)width, this);
            if (item->ExchangeSerialized(L"Data", icon))
                set->SetIcon(icon);
            else
                icon->InternalRelease();
        }
    }
}
