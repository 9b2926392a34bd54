#include "DlgAnimation.h"

#include "resource.h"

CDlgAnimation::CDlgAnimation(CWnd* pParent) : CDialog(IDD_ANIMATION, pParent) {}

BOOL CDlgAnimation::CreateHidden()
{
    if (!Create(IDD_ANIMATION, NULL))
        return FALSE;
    ShowWindow(SW_HIDE);
    EnableWindow(FALSE);
    return TRUE;
}

void CDlgAnimation::CloseAndDelete()
{
    if (GetSafeHwnd())
        DestroyWindow();
    delete this;
}
