// CFECFileDialog: the file dialog whose multiple selection is not lost when
// it does not fit the dialog's file-name buffer: it collects the typed or
// selected names and the folder itself whenever the selection changes, and
// reads them back one path after the other.
#pragma once
#include "Framework.h"

#include <vector>

class CFECFileDialog : public CFileDialog
{
public:
    CFECFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                   DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                   CWnd* pParentWnd = NULL);
    ~CFECFileDialog() override;

    INT_PTR DoModal() override;
    void OnFileNameChange() override;
    POSITION GetStartPosition();
    CString GetNextPathName(POSITION& pos);

    // Turns the dialog's name text ("a" "b" ... : each name in double quotes,
    // one blank between) into names each ending in a NUL, the list ending in
    // an empty name. Texts that do not hold quoted names give no names.
    static std::vector<wchar_t> ConvertNameList(const CString& spec);

    BOOL m_bConverted;
    std::vector<wchar_t> m_folder; // empty while the standard buffer suffices
    std::vector<wchar_t> m_names;

private:
    void FreeOwnBuffers();
    static UINT_PTR CALLBACK FecHookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hDialog;
};
