// CListFriendCtrl: the owner-drawn row list of the main window's left bar
// (window name "ListFriendCtrl"): the own library, the channels and the
// buddies in an online and an offline group. Rows are CFriendItem copies
// owned by the list, keyed by their position. The list paints its rows,
// shows a mark-up tooltip per row, and reports clicks, double clicks, the
// right button, mouse moves and keyboard selection to its owner as
// FriendListNotify records.
//
// Everything runs on the window's thread except GetItemById, which looks a
// row up under the list's lock so that a worker may ask while the window's
// thread changes the list.
#pragma once

#include "Framework.h"
#include "FriendItem.h"
#include "FriendListNotify.h"
#include "MarkupTip.h"

#include <vector>

class CBoardStore;

class CListFriendCtrl : public CWnd
{
  public:
    CListFriendCtrl();
    ~CListFriendCtrl() override;

    // The icons the painter uses, by index: own row, group header, listening
    // line, state, marker, presence 0 to 4, and the mark of button bit 2.
    static const UINT IconIds[11];
    static const UINT DefaultAvatarId = 300;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreTranslateMessage(MSG* msg) override;

    // Appends a copy; a negative key becomes the row count. The new key.
    int AddItem(const CFriendItem& item, BOOL redraw);
    // 1 when the row of that key was removed and freed, else 0.
    int DeleteItem(int key);
    void DeleteAllItems();
    int GetItemCount() const { return m_count; }
    CFriendItem* GetItem(int index) const;
    CRect GetItemRect(int index) const;
    int FindItem(LPCWSTR id) const;
    // Any thread; the pointer is good only while the row is not deleted.
    CFriendItem* GetItemById(LPCWSTR id);
    void SetCurSel(int index);
    int GetCurSel() const { return m_curSel; }
    void MarkItem(int index);
    void ClearMark();
    void SortItems();
    void EnsureVisible(int key);
    // Sends code 1 for the row (nothing when there is no such row).
    void NotifySelection(int index);
    // Repaints one row (with erase).
    void RedrawItem(int index);

    // The window that receives the notifications (the parent until set).
    void SetNotifyOwner(HWND owner) { m_owner = owner; }
    HWND GetNotifyOwner() const { return m_owner; }
    // The list owns the icons and destroys them with its window.
    void AddIcon(HICON icon) { m_icons.push_back(icon); }
    // Loads IconIds from the module's resources.
    void LoadStandardIcons(HINSTANCE module);
    // The picture of rows that have no loadable avatar; the list owns it.
    void SetDefaultAvatar(HBITMAP bitmap);
    // The store whose new board messages the own row counts (may be null).
    void SetBoardStore(const CBoardStore* store) { m_boards = store; }
    int GetScrollPosition() const { return m_scrollPos; }
    int GetTotalHeight() const { return m_totalHeight; }

    // Paints one row; L, T, R, B its rectangle in the target's coordinates.
    virtual void DrawItem(CDC* dc, int L, int T, int R, int B, CFriendItem* item, BOOL selected, BOOL focused,
                          BOOL avatarHot, BOOL linkHot);

  protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; } // the paint covers the client area
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    void OnDestroy();
    UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

  private:
    void Renumber();
    void UpdateScrollRange();
    void SetScrollPosition(int pos);
    int ScrollLimit() const;
    void RegisterTool();
    void LeaveHover();
    // The mouse is on a part of row index (its avatar or listening line).
    void HoverPart(BOOL& part, int index);
    // Sends (codes 2 and 7, freed here) or posts (freed by the receiver) a record.
    void SendNotify(UINT code, int key, CFriendItem* item);
    void PostNotify(UINT code, int key, CFriendItem* item);
    FriendListNotify* MakeNotify(UINT code, int key, CFriendItem* item) const;
    void DrawPicture(CDC* dc, const CRect& box, CFriendItem* item);
    void DrawIcon(CDC* dc, size_t index, int x, int y, int cx, int cy);
    void DrawFirstLine(CDC* dc, const CRect& textRect, const CFriendItem* item);
    void DrawSecondLine(CDC* dc, CRect textRect, const CRect& secondLine, const CFriendItem* item, int T);
    void PrepareFont();

    std::vector<CFriendItem*> m_rows;   // display order; owned
    std::vector<CFriendItem*> m_keyMap; // key -> row, read by GetItemById under m_lock
    CCriticalSection m_lock;
    int m_count;
    UINT m_controlId;
    int m_totalHeight;
    int m_pageWidth, m_pageHeight;
    int m_scrollPos;
    CFont m_font;
    CPen m_separatorPen;
    COLORREF m_focusSelectColor, m_selectColor, m_avatarHoverColor;
    int m_curSel;
    int m_hoverRow;
    BOOL m_linkHover, m_avatarHover, m_hasFocus;
    std::vector<HICON> m_icons;
    CBitmap m_defaultAvatar;
    HWND m_owner;
    HCURSOR m_handCursor;
    CMarkupTip m_tip;
    const CBoardStore* m_boards;
};
