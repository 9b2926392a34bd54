// Avatars as the main window sees them: pictures that arrived and the
// chooser of the own picture.
#include "DlgMain.h"

#include "AvatarTransfer.h"
#include "ClientApp.h"
#include "DataFolder.h"
#include "DlgSelectAvatar.h"

#include <memory>

LRESULT CDlgMain::OnAvatarReady(WPARAM wParam, LPARAM lParam)
{
    std::unique_ptr<CString> email(reinterpret_cast<CString*>(wParam));
    if (lParam == 1)
    {
        CString path = AvatarTransfer::AvatarFolder(m_strUserEmail, TRUE) + m_strUserEmail + L".jpg";
        if (!m_strUserEmail.IsEmpty() && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES &&
            m_picAvatar.GetSafeHwnd())
        {
            m_picAvatar.SetImage(path);
            m_picAvatar.Invalidate();
        }
        return 0;
    }
    if (lParam != 0 || !email)
        return 0;
    int row = LeftBar().FindItem(*email);
    CFriendItem* item = LeftBar().GetItem(row);
    if (!item)
        return 0;
    CString path = AvatarTransfer::AvatarFolder(*email, FALSE) + *email + L".jpg";
    if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
    {
        item->avatarPath = path;
        if (item->Load(path, 0))
        {
            item->Resample(42, 42, 4, 5);
            item->Save(path, 3);
            item->Resample(30, 30, 4, 5);
        }
        else
            item->Destroy();
    }
    LeftBar().RedrawItem(row);
    return 0;
}

void CDlgMain::OpenAvatarChooser()
{
    if (m_strUserEmail.IsEmpty())
        return;
    CDlgSelectAvatar dialog(m_strUserEmail, this);
    dialog.DoModal();
}
