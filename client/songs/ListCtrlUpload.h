// CListCtrlUpload: the owner-drawn list of the upload window, one row per
// UploadTask (the row owns it). Uploads run one at a time; the list draws
// each row's state, title, progress, sizes and speed, lets waiting and
// running rows be removed, and reports its counters to its parent with
// TransferMessage.
#pragma once
#include "Framework.h"

#include <vector>

class UploadTask;

class CListCtrlUpload : public CListCtrl
{
  public:
    enum ParentKind
    {
        ParentDone = 8,
        ParentRunning = 9,
        ParentFailed = 10,
        ParentRemoved = 11,
    };
    // Besides the task states: redraw the row.
    static const int KindRedraw = 6;

    CListCtrlUpload();
    ~CListCtrlUpload() override;

    int AddTask(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title, LPCWSTR author,
                LPCWSTR uploadId, int size, LPCWSTR fileType);
    int InsertTask(UploadTask* task);
    int StartNextTask(int fromRow);
    void StopAll(BOOL deleteRows);
    int GetTaskCount() const { return m_taskCount; }
    int GetRunningCount() const { return m_running; }
    int GetDoneCount() const { return m_done; }
    int GetFailedCount() const { return m_failed; }
    UploadTask* GetTask(int row) const;
    void SetItemHeight(int height);
    void AddIcon(HICON icon) { m_icons.push_back(icon); }
    void DoRowAction(int row);
    int HitTestRowAction(CPoint point, BOOL* onAction) const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

  protected:
    LRESULT OnTaskMessage(WPARAM state, LPARAM row);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnDblClk(NMHDR* header, LRESULT* result);
    void OnDeleteItem(NMHDR* header, LRESULT* result);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    void RenumberRows(int from);
    void RedrawRow(int row) { RedrawItems(row, row); }
    void SetHover(int row, int hover);
    void DrawRow(HDC dc, const CRect& rc, UploadTask* task, BOOL selected);

    std::vector<HICON> m_icons;
    int m_taskCount;
    int m_running;
    int m_done;
    int m_failed;
    int m_rowHeight;
    HCURSOR m_hand;
    BOOL m_stoppingAll;
    int m_tick;
    int m_hoverRow;
    CString m_texts[9];
};
