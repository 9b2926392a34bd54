// CListCtrlTransfer: what the download list and the upload list share: the
// task counters they report to their parent, the state and action icons the
// parent hands in, the row height, the hand cursor over a row's action, and
// the flicker-free painting through an off-screen picture.
#pragma once
#include "Framework.h"

#include <vector>

class CListCtrlTransfer : public CListCtrl
{
  public:
    // Kinds of TransferMessage sent to the parent (lParam the value).
    enum ParentKind
    {
        ParentDone = 8,     // done count
        ParentRunning = 9,  // running count
        ParentFailed = 10,  // failed count
        ParentRemoved = 11, // a waiting row was removed
    };

    CListCtrlTransfer();
    ~CListCtrlTransfer() override;

    int GetTaskCount() const { return m_taskCount; }
    int GetRunningCount() const { return m_running; }
    int GetDoneCount() const { return m_done; }
    int GetFailedCount() const { return m_failed; }
    // The list owns the icons from here on.
    void AddIcon(HICON icon) { m_icons.push_back(icon); }
    void SetItemHeight(int height);

    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

  protected:
    static const UINT_PTR TimerRedraw = 1;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

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
};
