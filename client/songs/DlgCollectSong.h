// CDlgCollectSong: keeps a copy of a cached song in a folder and adds it to
// the user's own library, in an existing song list or a new one.
#pragma once
#include "SongListChoiceDialog.h"

#include <functional>

class CDlgCollectSong : public CSongListChoiceDialog
{
  public:
    // library: the user's own library (may be null: the song texts stay empty).
    CDlgCollectSong(LPCWSTR songId, CSongLibrary* library, CWnd* parent);

    // The main window adds the row of a list made here (name).
    static std::function<void(const CString& name)> s_onListCreated;
    // Where the library is saved; the application's playlist file when empty.
    static CString s_libraryPath;
    // The list collected into last, preselected next time.
    static CString s_lastList;

    // The collect step (the collect button, or Enter).
    void Confirm() override;
    const CString& GetCollectedPath() const { return m_collected; }

  protected:
    BOOL OnInitDialog() override;
    const CSongLibrary& ChoiceLibrary() override { return m_library ? *m_library : m_empty; }
    CString RememberedList() override { return s_lastList; }

  private:
    void Save();

    CSongLibrary* m_library;
    CSongLibrary m_empty;
    CString m_hash, m_title, m_path, m_artist, m_album;
    CString m_collected;
};
