// CSendMsgRichEdit: the input box of the chat and board windows. Enter asks
// the owner to send (Shift+Enter starts a new line), Alt+S too; the owner
// hears whenever the box becomes empty or not, and typed or pasted text
// always takes the box's default format.
#pragma once
#include "Framework.h"
#include <richedit.h>

// To the owner: send the input (0, 0); the box is empty (1) or not (0).
#define WM_INPUT_SEND (WM_USER + 34)
#define WM_INPUT_EMPTY (WM_USER + 35)

class CSendMsgRichEdit : public CRichEditCtrl
{
  public:
    CSendMsgRichEdit();

    void SetOwner(CWnd* owner) { m_pOwner = owner; }
    CWnd* GetOwner() const { return m_pOwner; }

    HBITMAP m_hScrollBitmap; // shared with the window, not owned
    BOOL m_bScrollBarsAttached;

  protected:
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChange();
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    CWnd* m_pOwner;
};
