// CMainImportHost: the main window's side of an import of songs (a folder
// or picked files run through the import dialog): its list of song lists
// and its own library.
#pragma once

#include "ImportHost.h"

class CDlgMain;

class CMainImportHost : public ImportHost
{
  public:
    explicit CMainImportHost(CDlgMain& main) : m_main(main) {}

    int CreateSongList(const CString& name) override;
    int GetListRowCount() override;
    int FindListRow(const CString& name) override;
    CString GetListName(int row) override;
    int GetDropTargetRow() override;
    int GetSelectedRow() override;
    void ShowMessage(const CString& text) override;
    void CopyLibrary(CSongLibrary& into) override;
    void TakeLibrary(const CSongLibrary& library) override;
    CString GetLibraryPath() override;
    void LoadMyLibrary() override;
    void ShowSongList(int row) override;
    void PushSongCount(int added) override;
    void UpdateSongListCounts() override;

  private:
    CDlgMain& m_main;
};
