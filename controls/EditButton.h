// CEditButton: the main window's signature label, a three-piece skinned
// button (drawn as ThemeButton draws) showing the signature, or a hint when
// it is empty, that turns into an editor when clicked. Ending the edit stores
// a changed signature in the signed-in user's record and announces it to the
// service.
#pragma once
#include "AutoSizeEdit.h"
#include "MainWindowLink.h"
#include "ThemeButton.h"
#include "Vossel.h"

class CEditButton : public ThemeButton
{
public:
    enum { EDITOR_ID = 1999 };

    CEditButton();

    void SetImages(UINT nLeft, UINT nMiddle, UINT nRight, int nImages);
    void SetText(LPCTSTR text);
    CString GetText() const { return m_strText; }
    void SetMaxWidth(int width) { m_edit.m_nMaxWidth = width; }
    void SetTipText(LPCTSTR text) { m_strTip = text ? text : L""; }
    void SetEditing(BOOL bEditing);
    BOOL IsEditing() const { return m_bEditing; }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // The profile command of a changed signature (code 22, extra 18).
    static void BuildProfileCommand(const MyProfileRecord& profile, const CString& userId, CommandData& record);
    // Where the command goes: the messaging library (replaceable for tests).
    static int (*s_pushCommand)(CommandData& record);

    BOOL m_bStoredText;
    CSize m_textExtent;
    BOOL m_bEditing;
    int m_nTextLimit;
    CAutoSizeEdit m_edit;
    CString m_strText;
    CString m_strTip;

protected:
    LRESULT OnEditDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
