// CDlgWebSongDownloadPre: before a song found on the web is downloaded, the
// user confirms where it goes: a song list of the own library (or a new
// one) and the folder the file is saved to.
#pragma once
#include "SongListChoiceDialog.h"

#include <functional>

class CDlgWebSongDownloadPre : public CSongListChoiceDialog
{
  public:
    CDlgWebSongDownloadPre(LPCWSTR url, LPCWSTR fileName, CWnd* parent);

    // The chosen song list (valid after OK); the folder is GetFolder().
    CString GetSongListName() const { return m_chosen; }

    // When the main window shows the user's own library it offers that
    // library for a new list (and adds the list's row); else the dialog
    // changes the library file itself.
    static std::function<CSongLibrary*()> s_mainLibrary;
    static std::function<void(const CString& name)> s_onListCreated;
    static CString s_libraryPath;
    static CString s_lastList;

    void Confirm() override;

  protected:
    BOOL OnInitDialog() override;
    const CSongLibrary& ChoiceLibrary() override { return m_library; }
    CString RememberedList() override { return s_lastList; }

  private:
    CString LibraryPath() const;

    CString m_url;
    CString m_chosen;
    CSongLibrary m_library;
};
