#include "DlgSelectAvatar.h"

#include "AvatarTransfer.h"
#include "DataFolder.h"
#include "DlgMain.h"
#include "FECFileDialog.h"
#include "FileFolder.h"
#include "LanguageTable.h"
#include "PixImage.h"
#include "ShellFolder.h"
#include "SmallDialogFrame.h"
#include "resource.h"

namespace
{
// The folder without its last backslash; "" without My Music.
CString PrivateAvatarFolder(const CString& email)
{
    CString folder = BuildAvatarFolder(email, FALSE);
    return folder.IsEmpty() ? folder : folder.Left(folder.GetLength() - 1);
}
} // namespace

BEGIN_MESSAGE_MAP(CDlgSelectAvatar, CSkinDialog)
    ON_LBN_SELCHANGE(IDC_AVATAR_LIST, &CDlgSelectAvatar::OnSelectionChange)
    ON_LBN_DBLCLK(IDC_AVATAR_LIST, &CDlgSelectAvatar::OnOK)
    ON_STN_CLICKED(IDC_AVATAR_DELETE, &CDlgSelectAvatar::OnDeleteSelected)
    ON_BN_CLICKED(IDC_AVATAR_MORE, &CDlgSelectAvatar::OnMorePictures)
    ON_BN_CLICKED(IDC_AVATAR_CLOSE, &CDlgSelectAvatar::OnCloseButton)
    ON_BN_CLICKED(IDC_AVATAR_MINIMISE, &CDlgSelectAvatar::OnMinimiseButton)
END_MESSAGE_MAP()

CDlgSelectAvatar::CDlgSelectAvatar(const CString& email, CWnd* pParent)
    : CSkinDialog(IDD, pParent), m_strEmail(email), m_hScrollBar(NULL)
{
}

CDlgSelectAvatar::~CDlgSelectAvatar() {}

CString CDlgSelectAvatar::BuiltInFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    CString folder = path;
    return folder.Left(folder.ReverseFind(L'\\') + 1) + L"avatar\\";
}

int CDlgSelectAvatar::ImportPicture(CString& path, const CString& name)
{
    CString folder = PrivateAvatarFolder(m_strEmail);
    if (folder.IsEmpty())
        return 0;
    return ImportPictureTo(folder, path, name);
}

int CDlgSelectAvatar::ImportPictureTo(const CString& folder, CString& path, const CString& name)
{
    CreateFolderPath(folder);
    CString target = name;
    if (target.IsEmpty())
    {
        target = path.Mid(path.ReverseFind(L'\\') + 1);
        int dot = target.ReverseFind(L'.');
        if (dot >= 0)
            target = target.Left(dot);
    }
    target = folder + L"\\" + target + L".jpg";
    DWORD attributes = ::GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(target, attributes & ~FILE_ATTRIBUTE_READONLY);

    CPixImage image;
    if (!image.Load(path, 0))
        return 0;
    long w = (long)image.GetWidth(), h = (long)image.GetHeight();
    if (w < 1 || h < 1)
        return 0;
    RGBQUAD white = {255, 255, 255, 0};
    bool ok = true;
    if (w >= SIDE && h >= SIDE)
    {
        if (w > h)
        {
            long nw = (long)((long long)SIDE * w / h);
            ok = image.Resample(nw, SIDE, 4, 5) && image.Crop((nw - SIDE) / 2, 0, (nw - SIDE) / 2 + SIDE, SIDE);
        }
        else
        {
            long nh = (long)((long long)SIDE * h / w);
            ok = image.Resample(SIDE, nh, 4, 5) && image.Crop(0, (nh - SIDE) / 2, SIDE, (nh - SIDE) / 2 + SIDE);
        }
    }
    else if (w >= SIDE)
    {
        long left = (w - SIDE) / 2, top = (SIDE - h) / 2;
        ok = image.Crop(left, 0, left + SIDE, h) && image.Expand(0, top, 0, SIDE - h - top, white);
    }
    else if (h >= SIDE)
    {
        long top = (h - SIDE) / 2, left = (SIDE - w) / 2;
        ok = image.Crop(0, top, w, top + SIDE) && image.Expand(left, 0, SIDE - w - left, 0, white);
    }
    else
    {
        long left = (SIDE - w) / 2, top = (SIDE - h) / 2;
        ok = image.Expand(left, top, SIDE - w - left, SIDE - h - top, white);
    }
    // A picture that could not be made or saved must not go out as the
    // avatar: the caller uploads only on success.
    if (!ok || !image.Save(target, 3))
        return 0;
    path = target;
    return 1;
}

BOOL CDlgSelectAvatar::OnInitDialog()
{
    SetSmallDialogFrame(*this);
    SetTitleBitmap(IDB_AVATAR_CHOOSER_TITLE);
    SetTitleBitmapPos(80, 10);
    CSkinDialog::OnInitDialog();
    m_strCaption = Lang(L"STR_SELECT_AVATAR_TITLE");
    SetWindowText(m_strCaption);
    m_btnClose.SubclassDlgItem(IDC_AVATAR_CLOSE, this);
    m_btnClose.SetBitmapStrip(IDB_BTN_CLOSE, RGB(255, 0, 255));
    m_btnMinimise.SubclassDlgItem(IDC_AVATAR_MINIMISE, this);
    m_btnMinimise.SetBitmapStrip(IDB_BTN_MINIMISE, RGB(255, 0, 255));
    const struct
    {
        ThemeButton* button;
        UINT id;
    } buttons[] = {{&m_btnOK, IDOK}, {&m_btnCancel, IDCANCEL}, {&m_btnMore, IDC_AVATAR_MORE}};
    for (const auto& b : buttons)
    {
        b.button->SubclassDlgItem(b.id, this);
        b.button->SetImages(IDB_TEXT_BTN_LEFT, IDB_TEXT_BTN_MIDDLE, IDB_TEXT_BTN_RIGHT, 4);
    }
    m_list.SubclassDlgItem(IDC_AVATAR_LIST, this);
    m_list.SetScrollBarBitmap(m_hScrollBar);
    m_preview.SubclassDlgItem(IDC_AVATAR_PREVIEW, this);
    m_preview.SetFrameBitmap(IDB_PICTURE_FRAME);
    m_preview.ShowWindow(SW_HIDE);
    if (CWnd* label = GetDlgItem(IDC_AVATAR_PREVIEW_LABEL))
        label->ShowWindow(SW_HIDE);
    CenterWindow();
    FillList();
    return TRUE;
}

void CDlgSelectAvatar::AddEntry(const Entry& entry)
{
    m_list.AddPicture(entry.name, entry.path, entry.builtIn);
}

void CDlgSelectAvatar::FillList()
{
    auto addFolder = [this](const CString& folder, BOOL builtIn) {
        WIN32_FIND_DATAW found = {};
        HANDLE find = ::FindFirstFileW(folder + L"*.jpg", &found);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do
        {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CString file = found.cFileName;
            CString name = file.Left(file.ReverseFind(L'.'));
            // The current avatar is not a choice of its own.
            if (!builtIn && name == m_strEmail)
                continue;
            AddEntry({name, folder + file, builtIn});
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    };
    addFolder(BuiltInFolder(), TRUE);
    CString own = PrivateAvatarFolder(m_strEmail);
    if (!own.IsEmpty())
    {
        CreateFolderPath(own);
        addFolder(own + L"\\", FALSE);
    }
}

void CDlgSelectAvatar::Select(int index)
{
    m_list.SetCurSel(index);
    OnSelectionChange();
}

void CDlgSelectAvatar::OnSelectionChange()
{
    m_preview.ShowWindow(SW_SHOW);
    if (CWnd* label = GetDlgItem(IDC_AVATAR_PREVIEW_LABEL))
        label->ShowWindow(SW_SHOW);
    AvatarListEntry* entry = m_list.GetEntry(m_list.GetCurSel());
    if (!entry)
    {
        m_strChosen.Empty();
        return;
    }
    m_preview.SetImageFile(entry->picturePath);
    m_preview.Invalidate();
    m_strChosen = entry->picturePath;
}

void CDlgSelectAvatar::OnDeleteSelected()
{
    int index = m_list.GetCurSel();
    AvatarListEntry* entry = m_list.GetEntry(index);
    if (!entry || entry->value)
        return;
    ::DeleteFileW(entry->picturePath);
    m_list.DeletePicture(index);
    m_list.SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
    int count = m_list.GetCount();
    if (count == 0)
    {
        m_strChosen.Empty();
        m_preview.SetImageFile(L"");
        m_preview.Invalidate();
    }
    else
        Select(index < count ? index : count - 1);
}

void CDlgSelectAvatar::OnMorePictures()
{
    CString filter = Lang(L"INFO_SELECT_PORTRAIT_TIP") +
                     L" (*.bmp;*.jpg;*.png;*.jpeg)|*.bmp;*.jpg;*.png;*.jpeg||";
    CFECFileDialog picker(TRUE, NULL, NULL, OFN_FILEMUSTEXIST, filter, this);
    if (picker.DoModal() != IDOK)
        return;
    CString path = picker.GetPathName();
    if (ImportPicture(path, CString()) != 1)
        return;
    AddEntry({picker.GetFileTitle(), path, FALSE});
    Select(m_list.GetCount() - 1);
}

void CDlgSelectAvatar::OnOK()
{
    CDlgMain* main = CDlgMain::Instance();
    if (main && main->GetSafeHwnd() && !m_strChosen.IsEmpty())
    {
        main->m_picAvatar.SetImage(m_strChosen);
        main->m_picAvatar.Invalidate();
        CString path = m_strChosen;
        if (ImportPicture(path, m_strEmail) == 1)
            AvatarTransfer::StartAvatarUpload(m_strEmail, path);
    }
    EndDialog(IDOK);
}
