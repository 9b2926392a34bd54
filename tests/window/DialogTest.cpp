// Dialogs from the test's resource template: the modal loop, data exchange,
// owner disabling, pre-translation, modeless dialogs and the file dialog's
// multi-select names.
#include "Framework.h"
#include "WindowTestRes.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{
const UINT WM_TEST_POKE = WM_USER + 20;
const UINT WM_TEST_NEST = WM_USER + 21;

// Windows that have no framework object (FromHandle makes temporaries).
HWND NewForeignWindow()
{
    return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
}

BOOL CALLBACK CloseIfMessageBox(HWND hWnd, LPARAM)
{
    wchar_t cls[16];
    ::GetClassNameW(hWnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && CWnd::FromHandlePermanent(hWnd) == NULL && ::IsWindowVisible(hWnd))
        ::PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Closes any message box the thread shows (a failed validation), answering OK.
void CALLBACK CloseMessageBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseIfMessageBox, 0);
}

class CFormDlg : public CDialog
{
public:
    explicit CFormDlg(CWnd* pParent = NULL) : CDialog(IDD_TEST_FORM, pParent) {}

    CString m_strName;
    int m_nCount = 0;
    int m_nCheck = 0;
    CEdit m_editName;

    // What the test does once the dialog is up.
    enum Script
    {
        TypeAndAccept,    // new texts, then IDOK
        EndAtOnce,        // EndDialog(77) inside OnInitDialog
        BadNumberThenFix, // "abc" fails validation; then "12" and IDOK
        PokeThenCancel,   // posted messages, then Escape
        CloseByTimer,     // idles until a timer ends it
        NestedDialog      // a handler runs another dialog modally
    } m_script = TypeAndAccept;

    // NestedDialog / CloseByTimer bookkeeping.
    HWND m_hForeign = NULL;
    CWnd* m_pOuterTemp = NULL;
    long m_nTempsBeforeInner = -1, m_nTempsAfterInner = -1;
    bool m_outerTempIntact = false;

    std::vector<UINT> m_preTranslated;
    BOOL m_ownerEnabledDuringRun = TRUE;
    BOOL m_firstValidation = TRUE;
    int m_failedValidations = 0;
    UINT_PTR m_closer = 0;

    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TEST_NAME, m_editName);
        DDX_Text(pDX, IDC_TEST_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
        DDX_Text(pDX, IDC_TEST_COUNT, m_nCount);
        DDX_Check(pDX, IDC_TEST_CHECK, m_nCheck);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (CWnd* pOwner = GetOwner())
            m_ownerEnabledDuringRun = pOwner->IsWindowEnabled();
        switch (m_script)
        {
        case EndAtOnce:
            EndDialog(77);
            break;
        case TypeAndAccept:
            SetDlgItemText(IDC_TEST_NAME, L"typed");
            SetDlgItemText(IDC_TEST_COUNT, L" 42 ");
            CheckDlgButton(IDC_TEST_CHECK, BST_CHECKED);
            PostMessage(WM_COMMAND, IDOK);
            break;
        case BadNumberThenFix:
            SetDlgItemText(IDC_TEST_COUNT, L"abc");
            m_closer = ::SetTimer(NULL, 0, 50, CloseMessageBoxes);
            PostMessage(WM_COMMAND, IDOK);
            break;
        case CloseByTimer:
            SetTimer(1, 30);
            break;
        case NestedDialog:
            PostMessage(WM_TEST_NEST);
            break;
        case PokeThenCancel:
            PostMessage(WM_TEST_POKE, 1);
            m_editName.PostMessage(WM_TEST_POKE, 2); // a control's message passes the dialog too
            PostMessage(WM_TEST_POKE, 3);
            PostMessage(WM_COMMAND, IDCANCEL);
            break;
        }
        return TRUE;
    }

    void OnOK() override
    {
        if (!UpdateData(TRUE))
        {
            ++m_failedValidations;
            ::KillTimer(NULL, m_closer);
            SetDlgItemText(IDC_TEST_COUNT, L"12");
            PostMessage(WM_COMMAND, IDOK);
            return;
        }
        EndDialog(IDOK);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_TEST_POKE)
            m_preTranslated.push_back((UINT)pMsg->wParam);
        return CDialog::PreTranslateMessage(pMsg);
    }

    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        CWnd::FromHandle(m_hForeign); // a temporary made inside this loop
        EndDialog(IDOK);
    }

    LRESULT OnNest(WPARAM, LPARAM)
    {
        m_pOuterTemp = CWnd::FromHandle(m_hForeign);
        m_nTempsBeforeInner = FwTemporaryObjectCount();
        HWND hInnerForeign = NewForeignWindow();
        CFormDlg inner(this);
        inner.m_script = CloseByTimer;
        inner.m_hForeign = hInnerForeign;
        inner.DoModal();
        m_nTempsAfterInner = FwTemporaryObjectCount();
        m_outerTempIntact = m_pOuterTemp->m_hWnd == m_hForeign;
        ::DestroyWindow(hInnerForeign);
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFormDlg, CDialog)
ON_WM_TIMER()
ON_MESSAGE(WM_TEST_NEST, &CFormDlg::OnNest)
END_MESSAGE_MAP()

class COwnerWnd : public CWnd
{
public:
    int m_begins = 0, m_ends = 0;
    void BeginModalState() override
    {
        ++m_begins;
        CWnd::BeginModalState();
    }
    void EndModalState() override
    {
        ++m_ends;
        CWnd::EndModalState();
    }
};

TEST(Dialog, ModalRunExchangesDataAndEndsWithTheCodeGiven)
{
    CFormDlg dlg;
    dlg.m_strName = L"start";
    dlg.m_nCount = 5;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_STREQ(L"typed", dlg.m_strName);
    EXPECT_EQ(42, dlg.m_nCount);
    EXPECT_EQ(1, dlg.m_nCheck);
    EXPECT_EQ(NULL, dlg.m_hWnd);
    EXPECT_EQ(NULL, dlg.m_editName.m_hWnd);

    CFormDlg early;
    early.m_script = CFormDlg::EndAtOnce;
    EXPECT_EQ(77, early.DoModal());
}

TEST(Dialog, FailedValidationKeepsTheDialogOpen)
{
    CFormDlg dlg;
    dlg.m_script = CFormDlg::BadNumberThenFix;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, dlg.m_failedValidations);
    EXPECT_EQ(12, dlg.m_nCount);
}

TEST(Dialog, OwnerIsDisabledWhileTheDialogRunsAndPreTranslateSeesItsMessages)
{
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL));
    CFormDlg dlg(&owner);
    dlg.m_script = CFormDlg::PokeThenCancel;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_FALSE(dlg.m_ownerEnabledDuringRun);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(1, owner.m_begins);
    EXPECT_EQ(1, owner.m_ends);
    EXPECT_EQ((std::vector<UINT>{1, 2, 3}), dlg.m_preTranslated);
    owner.DestroyWindow();
}

TEST(Dialog, TemporariesOfANestedLoopGoWithItWhileTheOuterHandlersStay)
{
    HWND hForeign = NewForeignWindow();
    CFormDlg dlg;
    dlg.m_script = CFormDlg::NestedDialog;
    dlg.m_hForeign = hForeign;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.m_outerTempIntact);
    EXPECT_GT(dlg.m_nTempsBeforeInner, 0);
    EXPECT_EQ(dlg.m_nTempsBeforeInner, dlg.m_nTempsAfterInner);
    ::DestroyWindow(hForeign);
}

class CModelessDlg : public CDialog
{
public:
    explicit CModelessDlg(bool* pDeleted) : m_pDeleted(pDeleted) {}
    ~CModelessDlg() override { *m_pDeleted = true; }
    void PostNcDestroy() override { delete this; }
    bool* m_pDeleted;
};

TEST(Dialog, ModelessDialogLivesUntilDestroyed)
{
    bool deleted = false;
    CModelessDlg* pDlg = new CModelessDlg(&deleted);
    ASSERT_TRUE(pDlg->Create(IDD_TEST_MODELESS, CWnd::GetDesktopWindow()));
    CString label;
    pDlg->GetDlgItemText(IDC_TEST_LABEL, label);
    EXPECT_STREQ(L"Label", label);
    EXPECT_FALSE(deleted);
    pDlg->DestroyWindow();
    EXPECT_TRUE(deleted);
}

TEST(FileDialog, MultiSelectNamesJoinTheFolderAndStayInsideTheBuffer)
{
    CFileDialog dlg(TRUE, NULL, NULL, OFN_ALLOWMULTISELECT);
    static const wchar_t several[] = L"C:\\music\0a.mp3\0b.wma\0";
    memcpy(dlg.m_ofn.lpstrFile, several, sizeof(several));
    POSITION pos = dlg.GetStartPosition();
    EXPECT_STREQ(L"C:\\music\\a.mp3", dlg.GetNextPathName(pos));
    ASSERT_NE((POSITION)NULL, pos);
    EXPECT_STREQ(L"C:\\music\\b.wma", dlg.GetNextPathName(pos));
    EXPECT_EQ((POSITION)NULL, pos);

    static const wchar_t single[] = L"C:\\a.mp3\0";
    memcpy(dlg.m_ofn.lpstrFile, single, sizeof(single));
    dlg.m_ofn.lpstrFile[lstrlenW(single) + 1] = 0;
    pos = dlg.GetStartPosition();
    EXPECT_STREQ(L"C:\\a.mp3", dlg.GetNextPathName(pos));
    EXPECT_EQ((POSITION)NULL, pos);
    EXPECT_STREQ(L"a", dlg.GetFileTitle());
    EXPECT_STREQ(L"mp3", dlg.GetFileExt());

    // A buffer the caller filled without terminators is not read past its end.
    wchar_t small[6] = {'C', ':', '\\', 'x', 'y', 'z'};
    dlg.m_ofn.lpstrFile = small;
    dlg.m_ofn.nMaxFile = 6;
    pos = dlg.GetStartPosition();
    EXPECT_STREQ(L"C:\\xyz", dlg.GetNextPathName(pos));
    EXPECT_EQ((POSITION)NULL, pos);
}
} // namespace
