// CListCtrlDownload: the owner-drawn list of the download window. Each row is
// one DownloadTask (the row owns it). The list is the queue: it runs at most
// three tasks at once, starts the next waiting one when one ends, draws
// state, progress, sizes, speed and time left, offers one action icon per
// row (remove, or play once done), puts a finished song into the user's own
// library and reports its counters to its parent with TransferMessage.
#pragma once
#include "Framework.h"
#include "ListCtrlTransfer.h"
#include "MarkupTip.h"

#include <functional>
#include <vector>

class DownloadTask;

class CListCtrlDownload : public CListCtrlTransfer
{
  public:
    // Icons, by index, as the parent loads them.
    enum Icon
    {
        IconWaiting,
        IconRunning,
        IconDone,
        IconFailed,
        IconPlay,
        IconPlayHover,
        IconPlayPressed,
        IconRemove,
        IconRemoveHover,
        IconRemovePressed,
        IconCount
    };
    static const int MaxRunning = 3;

    // What the main window does once a finished song is in the own library
    // (reload or recount what it shows, tell the buddies the new count), and
    // how it plays a finished song (list name, file path). Set by the main
    // window; unset, the library file alone is changed.
    static std::function<void(const CString& listName)> s_onSongAdded;
    static std::function<void(const CString& listName, const CString& path)> s_onPlay;
    // The user's own library file; the application's when empty.
    static CString s_libraryPath;

    CListCtrlDownload();
    ~CListCtrlDownload() override;

    int AddTask(LPCWSTR url, LPCWSTR fileName, LPCWSTR targetFolder, LPCWSTR songListName,
                LPCWSTR coverAddress);
    int InsertTask(DownloadTask* task);
    int StartNextTask(int fromRow);
    void StopAll(BOOL deleteRows);
    void RemoveTask(int row, BOOL deleteRow);
    DownloadTask* GetTask(int row) const;
    // Called when a download completed, with the song's hash and the task's
    // cover address, before the parent hears the new done count.
    std::function<void(const CString& hash, const CString& cover)> m_onFinished;
    // The row action at a row, as a click on its icon does it.
    void DoRowAction(int row);

    static CString FormatSize(double bytes);
    static CString FormatDuration(unsigned seconds, LPCWSTR secondText, LPCWSTR minuteText);
    // The action icon's rectangle of a row rectangle.
    static CRect ActionRect(const CRect& row)
    {
        return CRect(row.right - 35, row.top + 30, row.right - 19, row.top + 46);
    }
    // The row under the point and whether the point is on its action icon.
    int HitTestRowAction(CPoint point, BOOL* onAction) const;
    // The row whose whole width holds the point (the control's own hit test
    // only counts the text of a row), -1 when none; its rectangle.
    static int RowAt(const CListCtrl& list, CPoint point, CRect* rect);

    // Adds a finished download to the user's own library file: into its
    // song list when that list exists, else to the library only; queues
    // the list's sync record and the download log. Gives the song's hash.
    static CString AddSongToLibrary(LPCWSTR libraryPath, LPCWSTR filePath, LPCWSTR songListName);

    // The tooltip's text at a point of the list: the action's name over the
    // action icon, else the row's state, name, song list and folder.
    CString TooltipTextAt(CPoint point);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL PreTranslateMessage(MSG* msg) override;

  protected:
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT OnTaskMessage(WPARAM state, LPARAM row);
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnDblClk(NMHDR* header, LRESULT* result);
    void OnDeleteItem(NMHDR* header, LRESULT* result);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    void RenumberRows(int from);
    void RedrawRow(int row);
    void SetHover(int row, int hover);
    void AddFinishedToLibrary(int row, CString& hash, CString& cover);
    void PlayFinished(int row);
    void DrawRow(HDC dc, const CRect& rc, DownloadTask* task, BOOL selected);

    CMarkupTip m_tip;
    CString m_texts[12];
};
