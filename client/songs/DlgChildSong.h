// CDlgChildSong: the song pane in the centre of the main window (dialog 324):
// the song-list list on the left, the song list on the right and a splitter
// between them. It lays them out, turns their notifications into calls and
// commands of the main window, runs the drag of songs onto a song list or to
// another place of the song list, and finishes the renaming of a song list.
#pragma once

#include "FileDropTarget.h"
#include "InPlaceEdit.h"
#include "ListCtrlCD.h"
#include "ListCtrlSong.h"
#include "SplitterBar.h"

#include <commctrl.h>

class CDlgChildSong : public CDialog
{
  public:
    enum
    {
        DRAG_NONE = 0,
        DRAG_OVER_LISTS = 1,
        DRAG_OVER_SONGS = 2,
        SCROLL_ZONE = 8,
        SPLITTER_WIDTH = 5,
        DEFAULT_SPLITTER = 200
    };

    explicit CDlgChildSong(CWnd* parent = NULL);
    ~CDlgChildSong() override;

    void Layout();
    // The drag of songs, as the mouse messages drive it (points in this
    // pane's client coordinates).
    BOOL BeginSongDrag(CPoint listPoint);
    void DragMove(CPoint point);
    void DragDrop(CPoint point);
    BOOL IsDragging() const { return m_hDragImage != NULL; }
    int GetDragTarget() const { return m_nDragTarget; }
    // The cursor the drag shows now (drop allowed or not).
    BOOL DropAllowed() const { return m_bDropAllowed; }
    // What the rename of a song list does with the editor's report; the
    // answer of "ipc_CtrlMsg".
    LRESULT OnRenameMessage(const InPlaceEditNotify& note);
    // The shell-drop targets of the song-list list and of the song list.
    CFileDropTarget* GetListsDropTarget() const { return m_pDropLists; }
    CFileDropTarget* GetSongsDropTarget() const { return m_pDropSongs; }

    CListCtrlSong m_listSong;
    CListCtrlCD m_listCD;
    CSplitterBar m_splitter;
    int m_nSplitterPos;
    BOOL m_bStripDirty;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void OnSongListsKey(WORD key);
    void EndDrag();
    void RefuseRename(int reopen);
    BOOL IsOver(CWnd& list, CPoint screen) const;

    CFileDropTarget* m_pDropLists;
    CFileDropTarget* m_pDropSongs;
    HIMAGELIST m_hDragImage;
    CWnd* m_pDragSource;
    int m_nDragTarget;
    BOOL m_bDropAllowed;
    HCURSOR m_hDropCursor;
    HCURSOR m_hNoDropCursor;
};
