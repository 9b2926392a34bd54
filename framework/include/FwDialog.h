// Dialogs from resource templates, data exchange, the file dialog and the
// wait cursor.
//
// How to write a dialog class
// ---------------------------
//   class CDlgLogin : public CDialog {
//   public:
//       enum { IDD = 130 };
//       explicit CDlgLogin(CWnd* pParent = NULL) : CDialog(IDD, pParent) {}
//       CString m_strEmail;
//       CEdit m_editEmail;
//   protected:
//       void DoDataExchange(CDataExchange* pDX) override {
//           CDialog::DoDataExchange(pDX);
//           DDX_Control(pDX, IDC_LOGIN_EMAIL, m_editEmail);  // binds the control object
//           DDX_Text(pDX, IDC_LOGIN_EMAIL, m_strEmail);      // moves the text
//       }
//       BOOL OnInitDialog() override;   // call CDialog::OnInitDialog() first
//       void OnOK() override;           // Enter / IDOK; CDialog::OnOK saves data and ends with IDOK
//       DECLARE_MESSAGE_MAP()
//   };
// DoModal() runs the dialog with its own message loop (disabling the owner)
// and returns the code given to EndDialog; Create(IDD, pParent) makes a
// modeless one. UpdateData(TRUE) reads the controls into the members,
// UpdateData(FALSE) writes them (OnInitDialog does the latter).
#pragma once
#include "FwWnd.h"
#include <commdlg.h>
#include <string>

class CDialog;

// State of one DoDataExchange pass.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    UINT m_idLastControl;    // id of the control last prepared (focused by Fail)
    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last control and stops the exchange.
    [[noreturn]] void Fail();
};

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Limits the edit control (loading) or rejects a longer text (saving).
void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modeless: creates the dialog from the template; the window is shown
    // when the template says WS_VISIBLE.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);
    // Modal: runs until EndDialog and returns its code (-1 when the dialog
    // could not be created).
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

protected:
    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    // IDOK / IDCANCEL from buttons, Enter and Escape.
    void OnIdOk() { OnOK(); }
    void OnIdCancel() { OnCancel(); }
    // The owner a modal or modeless dialog gets: the given parent's top-level
    // window, else the main window.
    HWND FindOwner() const;
    // Loads the dialog template resource.
    LPCDLGTEMPLATE LoadTemplate(HINSTANCE* phInst) const;
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The system's file open / save dialog.
class CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                CWnd* pParentWnd = NULL, DWORD dwSize = 0);
    ~CFileDialog() override;

    OPENFILENAMEW m_ofn;

    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    // Multi-select: positions over the selected files (full paths).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // Explorer-style hook notification: the selection changed.
    virtual void OnFileNameChange() {}

protected:
    static UINT_PTR CALLBACK HookProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL m_bOpenFileDialog;
    std::wstring m_filter;   // NUL-separated pairs, double-NUL terminated
    CString m_strDefExt;
    wchar_t* m_pszFile;      // result buffer (large enough for many selected files)
    DWORD m_nFileBufferSize; // in characters
    wchar_t m_szFileTitle[MAX_PATH];
};

// Shows the hourglass for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor() { m_hOld = ::SetCursor(::LoadCursorW(NULL, IDC_WAIT)); }
    ~CWaitCursor() { ::SetCursor(m_hOld); }
    void Restore() { ::SetCursor(::LoadCursorW(NULL, IDC_WAIT)); }

private:
    HCURSOR m_hOld;
};
