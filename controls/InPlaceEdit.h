// CInPlaceEdit: the editor a list control creates by class name over one of
// its cells. Enter, Escape and the loss of the focus end an edit; the owner
// (the window that was the parent at creation) hears of it through the
// registered message "ipc_CtrlMsg" and answers non-zero to hide the editor.
#pragma once
#include "Framework.h"

// The record sent with "ipc_CtrlMsg" (lParam; wParam 0).
struct InPlaceEditNotify
{
    HWND hwndEditor;
    int reason;   // 1 a key ended the edit, 3 the edit lost the focus
    INT_PTR detail; // reason 1: VK_RETURN or VK_ESCAPE; reason 3: the window getting the focus
    int x;        // cursor position of the message that ended the edit (screen)
    int y;
    int item;     // reason 1: -1; reason 3: the parent list's first selected item
};

// The number of the registered message "ipc_CtrlMsg".
UINT GetInPlaceEditMessage();

class CInPlaceEdit : public CEdit
{
    DECLARE_DYNCREATE(CInPlaceEdit)
public:
    CInPlaceEdit();

    void ShowEdit(const RECT& rect);
    void HideEdit();

    HWND m_hOwner;

    enum { REASON_KEY = 1, REASON_FOCUS_LOST = 3 };
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnSetCursor(CWnd*, UINT, UINT);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

    // Sends the record to the owner; hides the editor on a non-zero answer.
    void Notify(int reason, INT_PTR detail, int item);
};
