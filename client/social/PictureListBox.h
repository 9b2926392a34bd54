// CPictureListBox: an owner-drawn list box whose 44-pixel rows show a
// 30 x 30 thumbnail in a thin frame and one line of text, on white; the
// selected row sits in a pale tinted box. Each row owns its entry.
#pragma once

#include "AvatarListEntry.h"
#include "Framework.h"

class CPictureListBox : public CListBox
{
  public:
    enum { ROW_HEIGHT = 44 };

    CPictureListBox();
    ~CPictureListBox() override;

    // Appends a row; the thumbnail is loaded when the path is not empty.
    // The list box's LB_INSERTSTRING result.
    int AddPicture(LPCWSTR text, LPCWSTR path, int value);
    void DeletePicture(int row);
    void DeleteAllPictures();
    AvatarListEntry* GetEntry(int row) const;
    void SetScrollBarBitmap(HBITMAP bitmap) { m_hScrollBar = bitmap; }

    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    void MeasureItem(LPMEASUREITEMSTRUCT measure) override;

  protected:
    // A list box of a dialog template asks its row height before it is
    // subclassed; the height is set again here.
    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* dc, UINT type);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    HBRUSH m_hWhite;
    HBITMAP m_hScrollBar = NULL;
    BOOL m_bSkinScrollBars = FALSE;
};
