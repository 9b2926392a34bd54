#include "SFIconHandle.h"
#include "SFBitmapTransforms.h"
#include "SFCacheStrip.h"
#include "SFDibHelpers.h"
#include "SFImageLoading.h"
#include "SFImageManager.h"
#include <commctrl.h>

CSFIconHandle::CSFIconHandle(CSFImageManager* owner)
    : m_icon(NULL), m_alphaBitmap(NULL), m_alphaBits(NULL), m_owner(owner), m_slot(NULL), m_width(0), m_height(0),
      m_useCache(TRUE), m_owns(TRUE)
{
}

void CSFIconHandle::Clear()
{
    if (m_owns)
    {
        if (m_icon)
            ::DestroyIcon(m_icon);
        if (m_alphaBitmap)
            ::DeleteObject(m_alphaBitmap);
        if (m_slot && m_owner)
            m_owner->FreeSlot(m_slot);
    }
    m_icon = NULL;
    m_alphaBitmap = NULL;
    m_alphaBits = NULL;
    m_slot = NULL;
    m_width = m_height = 0;
}

void CSFIconHandle::TakeSize()
{
    m_width = m_height = 0;
    if (m_icon)
    {
        SIZE size = GetIconImageSize(m_icon);
        m_width = size.cx;
        m_height = size.cy;
    }
    else if (m_alphaBitmap)
    {
        BITMAP bm = {};
        if (::GetObjectW(m_alphaBitmap, sizeof(bm), &bm))
        {
            m_width = bm.bmWidth;
            m_height = bm.bmHeight;
        }
    }
}

void CSFIconHandle::SetIcon(HICON icon)
{
    Clear();
    m_icon = icon;
    m_owns = TRUE;
    TakeSize();
}

void CSFIconHandle::SetAlphaBitmap(HBITMAP bitmap, void* bits)
{
    Clear();
    m_alphaBitmap = bitmap;
    m_alphaBits = bits;
    m_owns = TRUE;
    TakeSize();
}

void CSFIconHandle::CopyFrom(const CSFIconHandle& source)
{
    if (&source == this)
        return;
    Clear();
    m_owns = TRUE;
    BOOL hasImage = !source.IsEmpty();
    if (hasImage && m_owner && m_useCache && source.m_useCache && source.m_width > 0 && source.m_height > 0)
    {
        HICON icon = source.m_icon;
        HBITMAP alpha = source.m_alphaBitmap;
        HICON takenIcon = NULL;
        HBITMAP takenAlpha = NULL;
        if (source.m_slot && source.m_owner)
            source.m_owner->TakeOut(source.m_slot, &takenIcon, &takenAlpha);
        m_slot = m_owner->PlaceImage(source.m_width, source.m_height, takenIcon ? takenIcon : icon,
                                     takenAlpha ? takenAlpha : alpha);
        if (takenIcon)
            ::DestroyIcon(takenIcon);
        if (takenAlpha)
            ::DeleteObject(takenAlpha);
        if (m_slot)
        {
            m_width = source.m_width;
            m_height = source.m_height;
            return;
        }
    }
    if (source.m_icon)
        m_icon = ::CopyIcon(source.m_icon);
    if (source.m_alphaBitmap)
        m_alphaBitmap = Copy32BitBitmap(source.m_alphaBitmap, &m_alphaBits);
    if (source.m_slot && source.m_owner && !m_icon && !m_alphaBitmap)
        source.m_owner->TakeOut(source.m_slot, &m_icon, &m_alphaBitmap);
    TakeSize();
}

void* CSFIconHandle::GetAlphaBits()
{
    if (m_alphaBitmap == NULL)
        return NULL;
    if (m_alphaBits == NULL)
    {
        int flag = 0;
        void* bits = NULL;
        HBITMAP copy = SFPremultipliedCopy(m_alphaBitmap, &flag, &bits);
        if (copy == NULL)
            return NULL;
        if (m_owns)
            ::DeleteObject(m_alphaBitmap);
        m_alphaBitmap = copy;
        m_alphaBits = bits;
        m_owns = TRUE;
    }
    return m_alphaBits;
}

void CSFIconHandle::Write(CArchive& ar) const
{
    HICON icon = m_icon;
    HBITMAP alpha = m_alphaBitmap;
    HICON takenIcon = NULL;
    HBITMAP takenAlpha = NULL;
    if (!icon && !alpha && m_slot && m_owner)
    {
        m_owner->TakeOut(m_slot, &takenIcon, &takenAlpha);
        icon = takenIcon;
        alpha = takenAlpha;
    }
    if (alpha)
    {
        WriteBitmapToArchive(ar, alpha);
        ar.WriteCount(0);
    }
    else if (icon)
    {
        ICONINFO info = {};
        if (::GetIconInfo(icon, &info))
        {
            WriteBitmapToArchive(ar, info.hbmColor);
            WriteBitmapToArchive(ar, info.hbmMask);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
        else
        {
            ar.WriteCount(0);
            ar.WriteCount(0);
        }
    }
    else
    {
        ar.WriteCount(0);
        ar.WriteCount(0);
    }
    if (takenIcon)
        ::DestroyIcon(takenIcon);
    if (takenAlpha)
        ::DeleteObject(takenAlpha);
}

void CSFIconHandle::Read(CArchive& ar, BOOL keepBits)
{
    Clear();
    void* bits = NULL;
    HBITMAP first = NULL, second = NULL;
    try
    {
        first = ReadBitmapFromArchive(ar, &bits);
        second = ReadBitmapFromArchive(ar);
    }
    catch (CException*)
    {
        if (first)
            ::DeleteObject(first);
        throw;
    }
    if (first && second)
    {
        BITMAP bm = {};
        ::GetObjectW(first, sizeof(bm), &bm);
        HIMAGELIST list = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
        if (list)
        {
            if (ImageList_Add(list, first, second) >= 0)
                SetIcon(ImageList_GetIcon(list, 0, ILD_NORMAL));
            ImageList_Destroy(list);
        }
        ::DeleteObject(first);
        ::DeleteObject(second);
    }
    else if (first)
        SetAlphaBitmap(first, keepBits ? bits : NULL);
    else if (second)
        ::DeleteObject(second);
}
