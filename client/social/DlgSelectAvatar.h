// CDlgSelectAvatar: the avatar chooser. It lists the pictures that ship with
// the program and the ones the user imported earlier, shows the selected one,
// imports any picture file as a 150 x 150 JPEG of the user's private avatar
// folder, and on OK makes the choice the user's avatar and uploads it.
#pragma once

#include "AvatarPreview.h"
#include "ImageButton.h"
#include "PictureListBox.h"
#include "SkinDialog.h"
#include "ThemeButton.h"

#include <vector>

class CDlgSelectAvatar : public CSkinDialog
{
  public:
    enum { IDD = 948, SIDE = 150 };
    struct Entry
    {
        CString name;
        CString path;
        BOOL builtIn;
    };

    CDlgSelectAvatar(const CString& email, CWnd* pParent = NULL);
    ~CDlgSelectAvatar() override;

    void SetScrollBarBitmap(HBITMAP bitmap) { m_hScrollBar = bitmap; }
    // Turns the picture file of path into "<name>.jpg" of the user's private
    // avatar folder; on 1 path holds the new file's path.
    int ImportPicture(CString& path, const CString& name);
    // The same into a given folder (ending without a backslash).
    static int ImportPictureTo(const CString& folder, CString& path, const CString& name);
    // "<program folder>avatar\".
    static CString BuiltInFolder();

    void OnSelectionChange();
    void OnDeleteSelected();
    void OnMorePictures();

    CString m_strEmail;
    CString m_strChosen;
    HBITMAP m_hScrollBar;
    CImageButton m_btnClose, m_btnMinimise;
    ThemeButton m_btnOK, m_btnCancel, m_btnMore;
    CPictureListBox m_list; // one entry per picture: name, path, built-in flag
    CAvatarPreview m_preview;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCloseButton() { EndDialog(IDCANCEL); }
    void OnMinimiseButton() { ShowWindow(SW_MINIMIZE); }
    DECLARE_MESSAGE_MAP()

  private:
    void AddEntry(const Entry& entry);
    void FillList();
    void Select(int index);
};
