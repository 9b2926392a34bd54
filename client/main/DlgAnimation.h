// CDlgAnimation: the small layered pop-up (dialog 227) onto which the login
// dialog paints its loading animation. It has no behaviour of its own.
#pragma once
#include "Framework.h"

class CDlgAnimation : public CDialog
{
public:
    explicit CDlgAnimation(CWnd* pParent = NULL);
    // Creates the hidden, disabled window.
    BOOL CreateHidden();
    // Destroys the window and deletes the object (heap objects only).
    void CloseAndDelete();

protected:
    void OnOK() override {}
    void OnCancel() override {}
};
