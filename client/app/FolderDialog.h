// The folder picker: the shell's folder browser with an optional root, an
// initial selection and a title (the language text of
// "INFO_DIR_SELECT_PATH_TIP" when none is given).
#pragma once

#include "Framework.h"

class CFolderDialog
{
  public:
    CFolderDialog() : m_nImageIndex(0) {}
    virtual ~CFolderDialog() {}

    // 1 when a file-system folder was chosen (its path is then in
    // m_strChosenPath), 0 on cancel or failure.
    int DoModal(HWND owner);

    CString m_strInitialSelection;
    CString m_strChosenPath;
    CString m_strRoot;
    CString m_strTitle;
    int m_nImageIndex;

  private:
    static int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM data);
};
