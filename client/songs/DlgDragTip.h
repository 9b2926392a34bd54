// CDlgDragTip: the small modal progress window of an import of songs into
// the user's own library (files and folders dropped on the song pane's
// lists, picked in the file dialog, or a folder picked for import). One
// worker walks the items (SongImporter) on its own copy of the library; the
// window's thread hands the result to the main window, saves it and reports
// the count once the walk has ended. A cancelled import changes nothing.
#pragma once
#include "BitmapProgress.h"
#include "Framework.h"
#include "ImportHost.h"
#include "SkinDialog.h"
#include "SongImporter.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

#include <functional>
#include <memory>
#include <vector>

class CDlgDragTip : public CSkinDialog
{
  public:
    enum Mode
    {
        ModeDropOnList = 0,  // dropped on the song list: into the selected list
        ModeDropOnLists = 1, // dropped on the list of song lists: by the marked row
        ModeFiles = -1,      // picked in the file dialog: into the selected list
        ModeFolder = -2,     // a folder picked for import
    };

    // A drop (modes 0 and 1): the shell's file list of the data object.
    CDlgDragTip(CWnd* parent, ImportHost& host, IDataObject* data, int mode);
    // Names already read (the file dialog's picks, or a drop's names).
    CDlgDragTip(CWnd* parent, ImportHost& host, const std::vector<CString>& names, int mode);
    // A folder import.
    CDlgDragTip(CWnd* parent, ImportHost& host, const CString& folder);
    ~CDlgDragTip() override;

    // The songs added, per song list (valid after DoModal).
    std::vector<CSyncPlaylist> result;
    int GetAddedCount() const { return m_added; }

    // Reads the shell's file list of a data object.
    static std::vector<CString> ReadDroppedNames(IDataObject* data);

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void OnOK() override {}
    void OnTimer(UINT_PTR id);
    LRESULT OnWorkerCall(WPARAM, LPARAM call);
    DECLARE_MESSAGE_MAP()

  private:
    static unsigned __stdcall WorkerThread(void* dialog);
    void RunWorker();
    void Finish();
    void WaitForWorker();

    ImportHost& m_host;
    int m_mode;
    std::vector<CString> m_names;
    CString m_folder;
    int m_targetRow;
    std::unique_ptr<SongImporter> m_importer;
    HANDLE m_worker;
    volatile LONG m_done;
    UINT_PTR m_timer;
    int m_added;

    CTransparentStatic m_processing;
    CTransparentStatic m_count;
    CTransparentStatic m_path;
    CBitmapProgress m_progress;
    ThemeButton m_cancel;
};
