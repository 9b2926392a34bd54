// CHotKeyEdit: a read-only flat edit that captures a key combination (Ctrl,
// Shift and Alt with a digit, a letter or F1 to F12) and shows it as a text
// such as "Ctrl+Shift+F5". Every key release is sent to the parent as
// WM_USER+46 before the control updates itself.
#pragma once
#include "FlatEdit.h"

// 1 when at least one modifier is set and the key is 0-9, A-Z or F1-F12.
BOOL IsValidHotKey(BOOL bAlt, BOOL bCtrl, BOOL bShift, UINT nKey);
// TRUE for the keys a combination may end in: 0-9, A-Z, F1-F12.
BOOL IsHotKeyMainKey(UINT nKey);

class CHotKeyEdit : public CFlatEdit
{
public:
    enum { WM_HOTKEY_CHANGED = WM_USER + 46 };

    CHotKeyEdit();
    ~CHotKeyEdit() override;

    // Shows the combination text.
    void UpdateText();
    // The text of the current combination ("" for none). A key on its own
    // counts as Ctrl with that key.
    CString GetCombinationText();

    // Live state of the modifier keys at the last key event.
    BOOL m_bAltHeld, m_bShiftHeld, m_bCtrlHeld;
    BOOL m_bKeyDown;
    // The combination (public: the settings page loads and saves it).
    BOOL m_bAlt, m_bShift, m_bCtrl, m_bHasKey;
    UINT m_nKey;
    CString m_strEmpty;

    // The key steps, TRUE when the key was handled here.
    BOOL OnKeyPressed(UINT nKey);
    BOOL OnKeyReleased(UINT nKey);

protected:
    LRESULT OnKeyDownMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUpMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Reads Ctrl, Shift and Alt held from the keyboard state.
    virtual void ReadModifiers();
};
