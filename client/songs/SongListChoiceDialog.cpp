#include "SongListChoiceDialog.h"
#include "SmallDialogFrame.h"
#include "FolderDialog.h"
#include "LanguageTable.h"
#include "SongListChoice.h"
#include "resource.h"

namespace
{
const COLORREF LabelColour = RGB(63, 88, 106);
const COLORREF ProblemColour = RGB(255, 0, 0);

void Place(CWnd& control, int x, int y, int width, int height)
{
    control.SetWindowPos(NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

CSongListChoiceDialog::CSongListChoiceDialog(UINT templateId, const Controls& ids, LPCWSTR captionKey,
                                             CWnd* parent)
    : CSkinDialog(templateId, parent), m_ids(ids), m_captionKey(captionKey), m_newListMode(FALSE)
{
}

void CSongListChoiceDialog::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, m_ids.close, m_close);
    DDX_Control(pDX, m_ids.ok, m_ok);
    DDX_Control(pDX, m_ids.cancel, m_cancel);
    DDX_Control(pDX, m_ids.nameLabel, m_nameLabel);
    DDX_Control(pDX, m_ids.name, m_name);
    DDX_Control(pDX, m_ids.listLabel, m_listLabel);
    DDX_Control(pDX, m_ids.folderLabel, m_folderLabel);
    DDX_Control(pDX, m_ids.combo, m_combo);
    DDX_Control(pDX, m_ids.newName, m_newName);
    DDX_Control(pDX, m_ids.newList, m_newList);
    DDX_Control(pDX, m_ids.existingList, m_existingList);
    DDX_Control(pDX, m_ids.folder, m_folderEdit);
    DDX_Control(pDX, m_ids.changeFolder, m_changeFolder);
}

BOOL CSongListChoiceDialog::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetSmallDialogFrame(*this);
    MoveWindow(0, 0, 350, 170);
    SetWindowText(Lang(m_captionKey));
    CRect client;
    GetClientRect(&client);
    m_close.SetBitmapStrip(IDB_BTN_CLOSE_SMALL, RGB(255, 0, 255));
    m_close.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (ThemeButton* button : {&m_ok, &m_cancel})
    {
        button->SetImages(IDB_TEXT_BTN_LEFT, IDB_TEXT_BTN_MIDDLE, IDB_TEXT_BTN_RIGHT, 4);
        button->m_bSplitCaption = FALSE;
        button->m_clrNormal = button->m_clrDisabled = RGB(0x40, 0x4C, 0x62);
        button->m_clrHover = RGB(0x27, 0x6F, 0x7E);
        button->m_clrPressed = RGB(0x33, 0x33, 0x33);
        button->m_bMiddleColour = FALSE;
    }
    Place(m_ok, 102, 132, 75, 24);
    Place(m_cancel, 201, 132, 75, 24);
    Place(m_nameLabel, 40, 46, 66, 20);
    Place(m_listLabel, 5, 73, 101, 20);
    Place(m_folderLabel, 32, 104, 74, 20);
    Place(m_name, 111, 46, 220, 20);
    Place(m_combo, 111, 68, 174, 200);
    Place(m_newName, 111, 68, 174, 20);
    Place(m_folderEdit, 111, 101, 174, 20);
    m_changeFolder.SetWindowPos(NULL, 299, 104, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_newList.SetWindowPos(NULL, 299, 73, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_existingList.SetWindowPos(NULL, 299, 73, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (CStaticLink* link : {&m_newList, &m_existingList, &m_changeFolder})
    {
        link->m_normalColour = link->m_colour = RGB(0xFF, 0xAA, 0x6A);
        link->m_hoverColour = RGB(0x83, 0x83, 0x83);
        link->m_bOpenTarget = FALSE;
    }
    m_name.m_textColour = RGB(0, 66, 204);
    m_name.SetWindowText(m_nameText);
    m_folderEdit.SetWindowText(m_folder);
    CenterWindow();
    SwitchToExistingList();
    return FALSE;
}

BOOL CSongListChoiceDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    if (id == m_ids.close || id == m_ids.cancel)
    {
        OnCancel();
        return TRUE;
    }
    if (id == m_ids.ok)
    {
        Confirm();
        return TRUE;
    }
    if (id == m_ids.newList)
    {
        SwitchToNewList();
        return TRUE;
    }
    if (id == m_ids.existingList)
    {
        SwitchToExistingList();
        return TRUE;
    }
    if (id == m_ids.changeFolder)
    {
        CFolderDialog picker;
        picker.m_strInitialSelection = m_folder;
        if (picker.DoModal(m_hWnd) == 1)
        {
            m_folder = picker.m_strChosenPath;
            m_folderEdit.SetWindowText(m_folder);
        }
        return TRUE;
    }
    return CSkinDialog::OnCommand(wParam, lParam);
}

void CSongListChoiceDialog::SwitchToExistingList()
{
    m_newListMode = FALSE;
    m_listLabel.m_textColour = LabelColour;
    m_listLabel.SetWindowText(Lang(L"INFO_NEWPLAYLIST_ADD_OLD"));
    m_combo.ShowWindow(SW_SHOW);
    m_newName.ShowWindow(SW_HIDE);
    m_newList.ShowWindow(SW_SHOW);
    m_existingList.ShowWindow(SW_HIDE);
    SongListChoice::FillCombo(m_combo.m_hWnd, ChoiceLibrary(), RememberedList());
    m_combo.SetFocus();
}

void CSongListChoiceDialog::SwitchToNewList()
{
    m_newListMode = TRUE;
    m_listLabel.m_textColour = LabelColour;
    m_listLabel.SetWindowText(Lang(L"INFO_NEWPLAYLIST_ADD_NEW"));
    m_combo.ShowWindow(SW_HIDE);
    m_newName.ShowWindow(SW_SHOW);
    m_newList.ShowWindow(SW_HIDE);
    m_existingList.ShowWindow(SW_SHOW);
    m_newName.SetWindowText(SongListChoice::SuggestNewListName(ChoiceLibrary()));
    m_newName.SetFocus();
    m_newName.SetSel(0, -1);
}

void CSongListChoiceDialog::ShowListProblem(LPCWSTR key)
{
    m_listLabel.m_textColour = ProblemColour;
    m_listLabel.SetWindowText(Lang(key));
}

CString CSongListChoiceDialog::GetListLabelText()
{
    CString text;
    m_listLabel.GetWindowText(text);
    return text;
}
