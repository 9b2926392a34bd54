// CUploadMusicDlg: the modeless upload window: the upload list, its totals
// and the advertisement link. Created once by the main window's upload
// command; closing it stops the running upload.
#pragma once
#include "ListCtrlUpload.h"
#include "TransferWindow.h"

class CUploadMusicDlg : public CTransferWindow
{
  public:
    CUploadMusicDlg();

    static CUploadMusicDlg* Open();
    static CUploadMusicDlg* GetOpen() { return s_open; }

    int AddUpload(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title, LPCWSTR author,
                  LPCWSTR uploadId, int size, LPCWSTR fileType);
    CListCtrlUpload& GetList() { return m_list; }

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PostNcDestroy() override;
    int ListTaskCount() override { return m_list.GetTaskCount(); }
    int ListRunningCount() override { return m_list.GetRunningCount(); }
    void StopAllAndDelete() override { m_list.StopAll(TRUE); }
    void PlaceList(const CRect& rect) override;
    DECLARE_MESSAGE_MAP()

  private:
    static CUploadMusicDlg* s_open;
    CListCtrlUpload m_list;
};
