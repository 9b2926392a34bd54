// CSongListChoiceDialog: the small dialog that puts one song somewhere: a
// name line (the song's title or file name), a song list (an existing one
// from a combo, or a new one typed in), and the folder the file is saved
// to. The collect dialog and the download target dialog are built on it;
// each does its own OK.
#pragma once
#include "Framework.h"
#include "ImageButton.h"
#include "SkinDialog.h"
#include "SongLibrary.h"
#include "StaticLink.h"
#include "ThemeButton.h"
#include "TransparentStatic.h"

class CSongListChoiceDialog : public CSkinDialog
{
  public:
    struct Controls
    {
        UINT close, ok, cancel, nameLabel, name, listLabel, combo, newName, newList, existingList,
            folderLabel, folder, changeFolder;
    };
    CSongListChoiceDialog(UINT templateId, const Controls& ids, LPCWSTR captionKey, CWnd* parent);

    BOOL IsNewListMode() const { return m_newListMode; }
    CString GetFolder() const { return m_folder; }
    // The folder shown at the start (the settings' save folder by default).
    void SetFolder(LPCWSTR folder) { m_folder = folder; }

    // What the dialog's controls do, callable as a click would.
    void SwitchToExistingList();
    void SwitchToNewList();
    // The message line in red with the text of a key.
    void ShowListProblem(LPCWSTR key);
    CString GetListLabelText();

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { Confirm(); }
    virtual void Confirm() = 0;
    // The library whose lists the combo offers.
    virtual const CSongLibrary& ChoiceLibrary() = 0;
    virtual CString RememberedList() = 0;

    Controls m_ids;
    CString m_captionKey;
    CString m_nameText;
    CString m_folder;
    BOOL m_newListMode;
    CImageButton m_close;
    ThemeButton m_ok;
    ThemeButton m_cancel;
    CTransparentStatic m_nameLabel, m_name, m_listLabel, m_folderLabel;
    CStaticLink m_newList, m_existingList, m_changeFolder;
    CComboBox m_combo;
    CEdit m_newName;
    CEdit m_folderEdit;
};
