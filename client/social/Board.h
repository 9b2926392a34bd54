// CBoard: the small window of one song's message board. On the user's own
// board it shows the stored posts at once with pin, unpin and delete links;
// on a buddy's board it waits for the board the main window asked the owner
// for and shows it read-only at the next tick of its wait timer, or a retry
// link. A post goes into the view and the store (or the local copy), to the
// main window, which tells the owner or the buddies, and to the data server.
#pragma once

#include "BoardRichEdit.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "StaticLink.h"
#include "SendMsgRichEdit.h"
#include "TransparentStatic.h"

class CBoardStore;

class CBoard : public CSkinDialog
{
  public:
    enum { IDD = 423, WIDTH = 280, HEIGHT = 200, TIMER_WAIT = 1075, INPUT_LIMIT = 50 };

    CBoard(const CString& key, const CString& ownerId, const CString& title, CBoardStore* store, BOOL own,
           CWnd* pParent = NULL);
    ~CBoard() override;

    void EndDownload() { m_bDownloading = FALSE; }
    CBoardRichEdit& GetView() { return m_view; }
    const CString& GetKey() const { return m_strKey; }
    const CString& GetOwnerId() const { return m_strOwnerId; }
    // Where the window opens for a cursor position on a desktop.
    static CPoint PlaceAtCursor(CPoint cursor, const CRect& desktop);

    void OnPost();
    void OnRetry();
    void OnWaitTimeout();

    CBitmap m_bmpLeft, m_bmpMiddle, m_bmpRight;
    CSize m_sizeLeft, m_sizeMiddle, m_sizeRight;
    CBoardStore* m_pStore;
    CBoardRichEdit m_view;
    CRichEditCtrl m_input;
    CImageButton m_btnClose, m_btnPost, m_btnAnonymous, m_btnPin;
    CTransparentStatic m_status, m_anonymousLabel, m_pinLabel, m_title;
    CHARFORMAT2W m_textFormat, m_headerFormat;
    CString m_strKey, m_strOwnerId, m_strTitle;
    BOOL m_bOwn;
    BOOL m_bAnonymous, m_bPin;
    BOOL m_bDownloading;
    CStaticLink m_retry;
    // Set by the main window for the boards it keeps: the object then goes
    // with its window (a board closes itself from its own close button).
    BOOL m_bAutoDelete = FALSE;

  protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override { OnPost(); }
    void OnCancel() override;
    void PostNcDestroy() override;
    LRESULT OnInputSend(WPARAM, LPARAM);
    LRESULT OnInputEmpty(WPARAM wParam, LPARAM);
    LRESULT OnBoardChanged(WPARAM, LPARAM);
    void OnInputChange();
    void OnAnonymous();
    void OnPin();
    void OnRetryClicked() { OnRetry(); }
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()

  private:
    void SendPost(const CString& sender, const CString& time, const CString& text, BOOL pinned, BOOL own);
    void ShowToggle(CImageButton& button, BOOL on);
    void Place(CWnd& control, int x, int y, int cx, int cy, BOOL show = TRUE);
    void PlaceOwnLayout();
    void ShowAll(BOOL show);
};
