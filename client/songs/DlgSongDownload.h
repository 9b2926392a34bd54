// CDlgSongDownload: the modeless download window: the download list, its
// totals, the advertisement link, and the album-cover job of every
// completed download. Created once, on the first download; closing it stops
// every download.
#pragma once
#include "ListCtrlDownload.h"
#include "TransferWindow.h"

class CDlgSongDownload : public CTransferWindow
{
  public:
    CDlgSongDownload();

    // The window of the program, made and shown when none is open.
    static CDlgSongDownload* Open();
    // The open window, or null.
    static CDlgSongDownload* GetOpen() { return s_open; }

    int AddDownload(LPCWSTR url, LPCWSTR fileName, LPCWSTR targetFolder, LPCWSTR songListName,
                    LPCWSTR coverAddress);
    void SetAlbumJob(LPCWSTR songHash, LPCWSTR coverAddress);
    CListCtrlDownload& GetList() { return m_list; }
    // The signed-in user's id the cover offers carry; the application's when empty.
    static CString s_userId;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PostNcDestroy() override;
    int ListTaskCount() override { return m_list.GetTaskCount(); }
    int ListRunningCount() override { return m_list.GetRunningCount(); }
    void StopAllAndDelete() override;
    void PlaceList(const CRect& rect) override;
    void OnTransferDone() override;
    DECLARE_MESSAGE_MAP()

  private:
    static CDlgSongDownload* s_open;
    CListCtrlDownload m_list;
    CString m_coverAddress;
    CString m_songHash;
};
