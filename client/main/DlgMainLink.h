// What the controls and the import of songs ask of the main window: the
// main window's side of IMainWindowLink (the song panes' shell drops, the
// signature editor, page commands of links) and of ImportHost (the import
// dialog's calls on the own library and the list of song lists). One object
// per main window; it is the process's main window link while it lives.
#pragma once
#include "ImportHost.h"
#include "MainWindowLink.h"

class CDlgMain;

class CDlgMainLink : public IMainWindowLink, public ImportHost
{
  public:
    explicit CDlgMainLink(CDlgMain& main);
    ~CDlgMainLink() override;

    // IMainWindowLink
    BOOL IsShowingOwnLibrary() override;
    CString GetCurrentListName() override;
    MyProfileRecord& GetMyProfile() override;
    void PostMyProfile() override;
    void PushMyPresence() override;
    void UpdateMyStatusText() override;
    void RunImportTip(IDataObject* data, int mode, std::vector<CSyncPlaylist>& changed) override;
    CString GetMyUserId() override;
    void UploadSongLists(const std::vector<CSyncPlaylist>& changed) override;

    // ImportHost
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

    // Where the changed song lists go after an import (replaceable for tests;
    // by default the data client's upload queue).
    static void (*s_uploadSongLists)(const std::vector<CSyncPlaylist>& changed);

  private:
    CDlgMain& m_main;
    MyProfileRecord m_profile;
};
