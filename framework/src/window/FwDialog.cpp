// Dialogs: creation from templates, the modal loop, data exchange and the
// file dialog.
#include "FwDialog.h"
#include "FwApp.h"
#include <cwchar>
#include <cwctype>

BOOL AFXAPI FwCreateDialogIndirect(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, HINSTANCE hInst,
                                   DLGPROC lpDialogFunc);

// ---------------------------------------------------------------------------
// Data exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0), m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL)
        AfxThrowNotSupportedException(); // no such control in the template
    m_idLastControl = nIDC;
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != NULL)
    {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
        return TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return; // bound on an earlier pass
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException(); // the window already has another object
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        AfxGetWindowText(hWndCtrl, value);
    else
        AfxSetWindowText(hWndCtrl, value);
}

// Parses a whole decimal integer (blanks around it allowed) in [minVal, maxVal].
static bool ParseInteger(const CString& text, long long minVal, long long maxVal, long long* pValue)
{
    const wchar_t* p = text;
    while (iswspace(*p))
        ++p;
    if (*p == 0)
        return false;
    wchar_t* end = NULL;
    errno = 0;
    long long v = wcstoll(p, &end, 10);
    if (end == p || errno == ERANGE)
        return false;
    while (iswspace(*end))
        ++end;
    if (*end != 0 || v < minVal || v > maxVal)
        return false;
    *pValue = v;
    return true;
}

static void DDX_Integer(CDataExchange* pDX, int nIDC, long long& value, long long minVal, long long maxVal,
                        LPCWSTR format)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        CString text;
        AfxGetWindowText(hWndCtrl, text);
        if (!ParseInteger(text, minVal, maxVal, &value))
        {
            AfxMessageBox(L"Please enter an integer.", MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    }
    else
    {
        CString text;
        text.Format(format, value);
        AfxSetWindowText(hWndCtrl, text);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    long long v = value;
    DDX_Integer(pDX, nIDC, v, INT_MIN, INT_MAX, L"%I64d");
    value = (int)v;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    long long v = value;
    DDX_Integer(pDX, nIDC, v, 0, UINT_MAX, L"%I64d");
    value = (UINT)v;
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0);
    else
        ::SendMessageW(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // The group starts at nIDC and runs through the following radio buttons
    // up to the next WS_GROUP; value is the index of the checked one or -1.
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do
    {
        if (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        {
            if (pDX->m_bSaveAndValidate)
            {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            }
            else
                ::SendMessageW(hWndCtrl, BM_SETCHECK, index == value, 0);
            ++index;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate)
    {
        if (value.GetLength() > nChars)
        {
            CString text;
            text.Format(L"Enter no more than %d characters.", nChars);
            AfxMessageBox(text, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    }
    else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl)
        ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
    {
        CString text;
        text.Format(L"Enter an integer between %d and %d.", minVal, maxVal);
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// ---------------------------------------------------------------------------
// CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnIdOk)
ON_COMMAND(IDCANCEL, &CDialog::OnIdCancel)
END_MESSAGE_MAP()

CDialog::CDialog() : m_lpszTemplateName(NULL), m_nIDHelp(0), m_pParentWnd(NULL) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(0), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CDialog)))
            return static_cast<CDialog*>(pWnd)->OnInitDialog();
        return TRUE;
    }
    return FALSE;
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HINSTANCE* phInst) const
{
    if (m_lpszTemplateName == NULL)
        return NULL;
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceW(hInst, m_lpszTemplateName, RT_DIALOG);
    if (hResource == NULL)
        return NULL;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    *phInst = hInst;
    return hTemplate ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
}

HWND CDialog::FindOwner() const
{
    CWnd* pParent = m_pParentWnd;
    if (pParent == NULL)
        pParent = AfxGetMainWnd();
    HWND hWnd = pParent ? FwSafeHandle(pParent) : NULL;
    if (hWnd == m_hWnd && hWnd != NULL)
        return NULL;
    // Dialogs are owned by top-level windows.
    while (hWnd != NULL && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(&hInst);
    if (lpTemplate == NULL)
        return FALSE;
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    HWND hWndParent = m_pParentWnd ? FwSafeHandle(m_pParentWnd) : FindOwner();
    return FwCreateDialogIndirect(this, lpTemplate, hWndParent, hInst, AfxDlgProc);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    HWND hWndParent = m_pParentWnd ? FwSafeHandle(m_pParentWnd) : FindOwner();
    return FwCreateDialogIndirect(this, lpDialogTemplate, hWndParent, AfxGetInstanceHandle(), AfxDlgProc);
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(&hInst);
    if (lpTemplate == NULL || m_hWnd != NULL)
        return -1;

    // The owner is disabled while the dialog runs.
    HWND hWndOwner = FindOwner();
    CWnd* pOwner = FromHandlePermanent(hWndOwner);
    BOOL bOwnerDisabled = FALSE;
    if (hWndOwner != NULL && ::IsWindowEnabled(hWndOwner))
    {
        if (pOwner != NULL)
            pOwner->BeginModalState();
        else
            ::EnableWindow(hWndOwner, FALSE);
        bOwnerDisabled = TRUE;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL; // EndDialog in OnInitDialog ends before the loop starts
    if (FwCreateDialogIndirect(this, lpTemplate, hWndOwner, hInst, AfxDlgProc))
    {
        if (m_nFlags & WF_CONTINUEMODAL)
            RunModalLoop(MLF_SHOWONIDLE);
        if (m_hWnd != NULL)
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);

    // Enable the owner before the dialog goes, so that activation returns to it.
    if (bOwnerDisabled)
    {
        if (pOwner != NULL && FromHandlePermanent(hWndOwner) == pOwner)
            pOwner->EndModalState();
        else
            ::EnableWindow(hWndOwner, TRUE);
    }
    if (hWndOwner != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Tab, arrows, Enter and Escape move between the dialog's controls.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd != NULL &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)FwSafeHandle(pWndCtrl), 1);
}

// ---------------------------------------------------------------------------
// CFileDialog

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD)
    : CDialog((UINT)0, pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_pszFile(NULL),
      m_nFileBufferSize(0), m_szFileTitle()
{
    // Room for many selected names when several may be chosen.
    m_nFileBufferSize = (dwFlags & OFN_ALLOWMULTISELECT) ? 65536 : MAX_PATH;
    m_pszFile = new wchar_t[m_nFileBufferSize]();
    if (lpszFileName != NULL)
        lstrcpynW(m_pszFile, lpszFileName, (int)m_nFileBufferSize);
    if (lpszDefExt != NULL)
        m_strDefExt = lpszDefExt;
    if (lpszFilter != NULL)
    {
        // "Text|*.txt|All|*.*||" -> NUL-separated pairs.
        m_filter = lpszFilter;
        for (wchar_t& ch : m_filter)
            if (ch == L'|')
                ch = L'\0';
        m_filter.append(2, L'\0');
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_pszFile;
    m_ofn.nMaxFile = m_nFileBufferSize;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = _countof(m_szFileTitle);
    m_ofn.lpstrDefExt = lpszDefExt ? (LPCWSTR)m_strDefExt : NULL;
    m_ofn.lpstrFilter = lpszFilter ? m_filter.c_str() : NULL;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = (LPARAM)this;
    m_ofn.hInstance = AfxGetInstanceHandle();
}

CFileDialog::~CFileDialog() { delete[] m_pszFile; }

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hDlg, UINT msg, WPARAM, LPARAM lParam)
{
    static const wchar_t kProp[] = L"FwFileDialog";
    if (msg == WM_INITDIALOG)
    {
        ::SetPropW(hDlg, kProp, (HANDLE)((OPENFILENAMEW*)lParam)->lCustData);
        return 0;
    }
    if (msg == WM_DESTROY)
    {
        ::RemovePropW(hDlg, kProp);
        return 0;
    }
    if (msg == WM_NOTIFY && ((NMHDR*)lParam)->code == CDN_SELCHANGE)
    {
        if (CFileDialog* pThis = (CFileDialog*)::GetPropW(hDlg, kProp))
            pThis->OnFileNameChange();
    }
    return 0;
}

INT_PTR CFileDialog::DoModal()
{
    if (m_ofn.hwndOwner == NULL)
        m_ofn.hwndOwner = FindOwner();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

// Length of the string at p without reading past the end of the file buffer.
static size_t BoundedLength(const OPENFILENAMEW& ofn, LPCWSTR p)
{
    LPCWSTR end = ofn.lpstrFile + ofn.nMaxFile;
    return p < end ? wcsnlen(p, (size_t)(end - p)) : 0;
}

POSITION CFileDialog::GetStartPosition() const
{
    if (m_ofn.lpstrFile == NULL || m_ofn.nMaxFile == 0 || m_ofn.lpstrFile[0] == 0)
        return NULL;
    return (POSITION)m_ofn.lpstrFile;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    LPCWSTR buf = m_ofn.lpstrFile;
    LPCWSTR end = buf + m_ofn.nMaxFile;
    LPCWSTR p = (LPCWSTR)pos;
    if (p == NULL || p < buf || p >= end)
    {
        pos = NULL;
        return CString();
    }
    size_t dirLen = BoundedLength(m_ofn, buf);
    // One name (or no multi-select): the buffer holds the full path.
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || buf + dirLen + 1 >= end || buf[dirLen + 1] == 0)
    {
        pos = NULL;
        return CString(buf, (int)dirLen);
    }
    // Several names: "folder\0name1\0name2\0\0".
    if (p == buf)
        p = buf + dirLen + 1;
    size_t nameLen = BoundedLength(m_ofn, p);
    LPCWSTR next = p + nameLen + 1;
    pos = (next < end && *next != 0) ? (POSITION)next : NULL;
    CString name(p, (int)nameLen);
    CString dir(buf, (int)dirLen);
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != L'\\')
        dir += L'\\';
    return dir + name;
}

CString CFileDialog::GetPathName() const
{
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    CString path = GetPathName();
    int slash = path.ReverseFind(L'\\');
    return slash >= 0 ? path.Left(slash) : CString();
}
