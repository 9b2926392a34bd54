#include "PictureListBox.h"

#include "PixImage.h"
#include "SkinScrollBarFrame.h"

BEGIN_MESSAGE_MAP(CPictureListBox, CListBox)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CPictureListBox::CPictureListBox() : m_hWhite(::CreateSolidBrush(0xFFFFFF)) {}

CPictureListBox::~CPictureListBox()
{
    ::DeleteObject(m_hWhite);
}

void CPictureListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    SetItemHeight(0, ROW_HEIGHT);
}

int CPictureListBox::AddPicture(LPCWSTR text, LPCWSTR path, int value)
{
    int row = InsertString(GetCount(), text);
    if (row < 0)
        return row;
    AvatarListEntry* entry = new AvatarListEntry(text, path, value);
    if (path && *path)
        entry->LoadThumbnail();
    if (SetItemDataPtr(row, entry) == LB_ERR)
        delete entry;
    return row;
}

AvatarListEntry* CPictureListBox::GetEntry(int row) const
{
    DWORD_PTR data = GetItemData(row);
    return data == static_cast<DWORD_PTR>(LB_ERR) ? NULL : reinterpret_cast<AvatarListEntry*>(data);
}

void CPictureListBox::DeletePicture(int row)
{
    delete GetEntry(row);
    SetItemDataPtr(row, NULL);
    DeleteString(row);
}

void CPictureListBox::DeleteAllPictures()
{
    if (!GetSafeHwnd())
        return;
    for (int row = GetCount() - 1; row >= 0; --row)
        DeletePicture(row);
}

void CPictureListBox::OnDestroy()
{
    DeleteAllPictures();
    Default();
}

void CPictureListBox::OnSize(UINT, int, int)
{
    Default();
    AttachSkinScrollBarsWhenShown(this, m_hScrollBar, m_bSkinScrollBars);
}

HBRUSH CPictureListBox::CtlColor(CDC*, UINT)
{
    return m_hWhite;
}

void CPictureListBox::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    measure->itemHeight = ROW_HEIGHT;
}

void CPictureListBox::DrawItem(LPDRAWITEMSTRUCT draw)
{
    if (static_cast<int>(draw->itemID) < 0)
        return;
    HDC dc = draw->hDC;
    RECT rect = draw->rcItem;
    ::FillRect(dc, &rect, m_hWhite);
    ::InflateRect(&rect, -1, -1);
    if (draw->itemState & ODS_SELECTED)
    {
        HPEN pen = ::CreatePen(PS_SOLID, 1, 0xEFE0BF);
        HBRUSH brush = ::CreateSolidBrush(0xFFFAF1);
        HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, brush);
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(pen);
        ::DeleteObject(brush);
    }
    else
        ::FillRect(dc, &rect, m_hWhite);
    ::InflateRect(&rect, -5, -5);

    AvatarListEntry* entry = reinterpret_cast<AvatarListEntry*>(draw->itemData);
    if (!entry || draw->itemData == static_cast<ULONG_PTR>(LB_ERR) || entry->picturePath.IsEmpty())
        return;
    HPEN pen = ::CreatePen(PS_SOLID, 1, 0xB4B4B4);
    HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, m_hWhite);
    ::Rectangle(dc, rect.left - 2, rect.top - 1, rect.left + 32, rect.top + 33);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(pen);
    if (!entry->thumbnail)
        return;
    RECT picture = {rect.left, rect.top + 1, rect.left + 30, rect.top + 31};
    entry->thumbnail->Draw(dc, picture);
    RECT text = {picture.right + 4, rect.top, rect.right - 4, rect.bottom};
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, entry->text, -1, &text, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetBkMode(dc, oldMode);
}
