// CListCtrlUpload: the owner-drawn list of the upload window, one row per
// UploadTask (the row owns it). Uploads run one at a time; the list draws
// each row's state, title, progress, sizes and speed, lets waiting and
// running rows be removed, and reports its counters to its parent with
// TransferMessage.
#pragma once
#include "Framework.h"
#include "ListCtrlTransfer.h"

#include <vector>

class UploadTask;

class CListCtrlUpload : public CListCtrlTransfer
{
  public:
    // Besides the task states: redraw the row.
    static const int KindRedraw = 6;

    CListCtrlUpload();
    ~CListCtrlUpload() override;

    int AddTask(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title, LPCWSTR author,
                LPCWSTR uploadId, int size, LPCWSTR fileType);
    int InsertTask(UploadTask* task);
    int StartNextTask(int fromRow);
    void StopAll(BOOL deleteRows);
    UploadTask* GetTask(int row) const;
    void DoRowAction(int row);
    int HitTestRowAction(CPoint point, BOOL* onAction) const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

  protected:
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
    void RedrawRow(int row) { RedrawItems(row, row); }
    void SetHover(int row, int hover);
    void DrawRow(HDC dc, const CRect& rc, UploadTask* task, BOOL selected);

    CString m_texts[9];
};
