// CListCtrlCD: the owner-drawn one-column list on the left of the song pane
// (control 947): one row per song list of the library on view with its name
// and song count, the playing mark, a drop-target frame, a tip, in-place
// renaming, automatic scrolling for drags, and the alpha-blended loading
// animation the main window runs while a buddy's library loads.
#pragma once

#include "DListItem.h"
#include "InPlaceEdit.h"
#include "Kavpng.h"
#include "MainWindowLink.h"
#include "MarkupTip.h"
#include "SkinHeaderCtrl.h"

class CDlgAnimation;

class CListCtrlCD : public CDropListCtrl
{
  public:
    enum
    {
        ROW_HEIGHT = 25,
        TIMER_AUTO_SCROLL = 1,
        FIRST_FRAME = 8306,
        EDITOR_ID = 1
    };
    static const COLORREF kText = 0x333333, kCount = 0x68CAE4, kEmpty = 0x808080;

    CListCtrlCD();
    ~CListCtrlCD() override;

    // Rows: the list takes the record (deleted with the row).
    int InsertRow(int index, CDListItem* record);
    CDListItem* GetRow(int row) const;

    CString GetListName(int row) override;
    int FindList(LPCWSTR name) const;
    BOOL SetListName(int row, LPCWSTR text);

    void BeginRename(int row);
    void EndRename(BOOL cancel);
    int GetEditedRow() const { return m_nEditedRow; }
    int m_nCurrentRow = -1; // the row the keys and the editor work on (-1 none)
    CInPlaceEdit* GetEditor() const { return m_pEditor; }

    void SetPlayingMark(int row);
    void ClearPlayingMark();
    void SetDropTarget(int row) override;
    void ClearDropTarget() override;
    int GetDropTarget() const;

    void StartAutoScroll(int direction);
    void StopAutoScroll();
    int GetAutoScrollDirection() const { return m_nScrollDirection; }

    // One frame of the loading animation (a PNG resource) painted on the
    // animation window with the current constant alpha; FALSE when the frame
    // cannot be made (the previous one stays).
    BOOL ShowAnimationFrame(UINT id);
    // The animation window (made hidden with the list), its first frame drawn
    // when first asked for; null when it cannot be made.
    CDlgAnimation* GetAnimation();
    // The animation window as it is, its frame drawn or not.
    CDlgAnimation* PeekAnimation() const { return m_pAnimation; }
    UINT GetAnimationFrame() const { return m_nFrame; }
    BYTE m_nAlpha;

    // Hooks: may a row be edited, and an edit has ended.
    virtual BOOL CanEditRow(int) { return TRUE; }
    virtual BOOL OnRenameEnded(int, BOOL) { return TRUE; }

    // The tip of a row (its name, count and playing state).
    static CString RowTip(const CDListItem& row);
    // The split of "%s (%d)": name part and count part.
    static void SplitRowText(const CDListItem& row, CString& namePart, CString& countPart);

    void SetPlayingIcon(HICON icon) { m_hPlayingIcon = icon; }
    void SetFontSource(CWnd* wnd) { m_fontSource = wnd ? wnd->GetSafeHwnd() : NULL; }

    CSkinHeaderCtrl m_header;
    CMarkupTip m_tip;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

  protected:
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDeleteItemReflect(NMHDR* hdr, LRESULT* result);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

  private:
    void EnsureFont();
    void ResetTool();
    void ShowClickedList(CPoint point, BOOL select);

    CFont m_font;
    HWND m_fontSource;
    HICON m_hPlayingIcon;
    HCURSOR m_hHand;
    int m_nEditedRow;
    CInPlaceEdit* m_pEditor;
    CRect m_editRect;
    UINT_PTR m_timerScroll;
    int m_nScrollDirection;
    CDlgAnimation* m_pAnimation;
    BOOL m_bAnimationTried = FALSE;
    HKAVPNGDECODER m_hDecoder;
    HKAVPNGDIB m_hDib;
    UINT m_nFrame;
};
