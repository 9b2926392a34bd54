#include "DlgAddFriend.h"

#include "Base64Codec.h"
#include "BuddyRecord.h"
#include "AppSetting.h"
#include "ClientApp.h"
#include "CommandTexts.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "FormPost.h"
#include "LanguageTable.h"
#include "MessagingLink.h"
#include "ServiceAddresses.h"
#include "SmallDialogFrame.h"
#include "StripButton.h"

#include <algorithm>
#include <vector>

namespace
{
void Place(CWnd& wnd, int x, int y, int cx, int cy)
{
    wnd.SetWindowPos(NULL, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Everything the report needs, taken when the thread starts: the thread
// never touches the dialog, which may be gone long before it ends.
struct AddFriendReport
{
    CString host;
    int port = 80;
    CStringA body;
    HANDLE* handleSlot = nullptr; // the dialog's handle member, while it lives
};

CRITICAL_SECTION& ReportLock()
{
    static CRITICAL_SECTION lock;
    static bool made = (::InitializeCriticalSection(&lock), true);
    (void)made;
    return lock;
}

std::vector<AddFriendReport*>& RunningReports();

DWORD WINAPI PostReport(LPVOID param)
{
    AddFriendReport* report = static_cast<AddFriendReport*>(param);
    PostForm(report->host, report->port, L"/inset/addfriend.php", report->body);
    // The handle is closed once, by whichever of the dialog and the thread is last.
    ::EnterCriticalSection(&ReportLock());
    if (report->handleSlot && *report->handleSlot)
    {
        ::CloseHandle(*report->handleSlot);
        *report->handleSlot = NULL;
    }
    std::vector<AddFriendReport*>& running = RunningReports();
    running.erase(std::remove(running.begin(), running.end(), report), running.end());
    ::LeaveCriticalSection(&ReportLock());
    delete report;
    return 1;
}

std::vector<AddFriendReport*>& RunningReports()
{
    static std::vector<AddFriendReport*> reports;
    return reports;
}
} // namespace

int (*CDlgAddFriend::s_showMessage)(const CString&, CWnd*) = [](const CString& text, CWnd* parent) {
    return CDlgMessage::ShowMessage(text, CDlgMessage::BUTTONS_OK, L"", CString(), 0, 0, parent);
};

IMPLEMENT_DYNAMIC(CDlgAddFriend, CSkinDialog)

BEGIN_MESSAGE_MAP(CDlgAddFriend, CSkinDialog)
    ON_BN_CLICKED(IDC_ADD_FRIEND_CLOSE, &CDlgAddFriend::OnCloseButton)
    ON_BN_CLICKED(IDC_ADD_FRIEND_MINIMISE, &CDlgAddFriend::OnMinimiseButton)
END_MESSAGE_MAP()

CDlgAddFriend::CDlgAddFriend(CWnd* parent) : CSkinDialog(IDD, parent), m_hPostThread(NULL)
{
}

CDlgAddFriend::~CDlgAddFriend()
{
    ::EnterCriticalSection(&ReportLock());
    if (m_hPostThread)
    {
        ::CloseHandle(m_hPostThread);
        m_hPostThread = NULL;
    }
    // A report still running must not write into this object any more.
    for (AddFriendReport* report : RunningReports())
        if (report->handleSlot == &m_hPostThread)
            report->handleSlot = nullptr;
    ::LeaveCriticalSection(&ReportLock());
}

BOOL CDlgAddFriend::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetSmallDialogFrame(*this);
    SetWindowText(Lang(L"STR_ADDFRIEND_TITLE"));
    m_strCaption = Lang(L"STR_ADDFRIEND_TITLE");
    SetWindowPos(NULL, 0, 0, WIDTH, HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    CRect client;
    GetClientRect(&client);

    m_editAddress.SubclassDlgItem(IDC_ADD_FRIEND_ADDRESS, this);
    Place(m_editAddress, 165, 55, 152, 20);
    m_prompt.SubclassDlgItem(IDC_ADD_FRIEND_PROMPT, this);
    Place(m_prompt, 10, 58, 150, 16);
    m_hint.SubclassDlgItem(IDC_ADD_FRIEND_HINT, this);
    m_hint.m_textColour = RGB(255, 0, 0);
    Place(m_hint, 165, 85, 170, 16);
    m_hint.ShowWindow(SW_HIDE);

    for (ThemeButton* button : {&m_btnOK, &m_btnCancel})
    {
        button->SubclassDlgItem(button == &m_btnOK ? IDOK : IDCANCEL, this);
        SetSmallDialogButton(*button);
        Place(*button, button == &m_btnOK ? 165 : 255, 108, 63, 22);
    }
    m_btnClose.SubclassDlgItem(IDC_ADD_FRIEND_CLOSE, this);
    ShowAsStripButton(m_btnClose, IDB_BTN_CLOSE);
    m_btnClose.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btnMinimise.SubclassDlgItem(IDC_ADD_FRIEND_MINIMISE, this);
    ShowAsStripButton(m_btnMinimise, IDB_BTN_MINIMISE);
    m_btnMinimise.SetWindowPos(NULL, client.Width() - 60, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    CenterWindow();
    m_editAddress.SetFocus();
    return FALSE;
}

void CDlgAddFriend::RefuseAddress(const CString& message)
{
    if (!message.IsEmpty())
        s_showMessage(message, this);
    m_editAddress.SetSel(0, -1);
    m_editAddress.SendMessage(EM_SCROLLCARET);
    m_editAddress.SetFocus();
}

void CDlgAddFriend::OnOK()
{
    CString address;
    m_editAddress.GetWindowText(address);
    address.MakeLower();
    // The address also names the buddy's folders and rows: one that could
    // name other files is refused like one without "@" or ".".
    if (address.Find(L'@') < 0 || address.Find(L'.') < 0 || !IsUsableBuddyId(address))
    {
        m_hint.SetWindowText(Lang(L"INFO_LOGIN_ERROR_EMAIL"));
        m_hint.ShowWindow(SW_SHOW);
        RefuseAddress(CString());
        return;
    }
    CDlgMain* main = CDlgMain::Instance();
    CString own;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(own);
    if (address == own.MakeLower())
    {
        RefuseAddress(Lang(L"INFO_ADDFRIEND_MYSELF"));
        return;
    }
    if (main && main->LeftBar().FindItem(address) >= 0)
    {
        RefuseAddress(Lang(L"INFO_ADDFRIEND_EXIST"));
        return;
    }
    if (main)
    {
        CBuddyRecord buddy;
        if (SUCCEEDED(buddy.SetEmail(address)))
            main->m_buddyStore.AddOrUpdate(buddy);
    }
    m_strFriendAddress = address;
    Messaging().addFriend(address, L"");
    StartReport();
    EndDialog(IDOK);
}

CStringA CDlgAddFriend::ReportBody(const CString& from, const CString& to, const CString& nick, int songCount)
{
    CString form;
    form.Format(L"from=%s&to=%s&nick=%s&songnum=%d", (LPCWSTR)from, (LPCWSTR)to, (LPCWSTR)nick, songCount);
    int length = ::WideCharToMultiByte(CP_UTF8, 0, form, form.GetLength(), NULL, 0, NULL, NULL);
    std::vector<BYTE> bytes((size_t)length + 2, 0); // the form and two zero bytes
    if (length > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, form, form.GetLength(), (LPSTR)bytes.data(), length, NULL, NULL);
    std::vector<char> text(4 * ((bytes.size() + 2) / 3) + 1, 0);
    Base64Codec codec;
    codec.Encode(bytes.data(), text.data(), (int)bytes.size());
    CStringA encoded(text.data());
    encoded.Replace("+", "%2B");
    return "str=" + encoded;
}

void CDlgAddFriend::StartReport()
{
    CString own, nick;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(own);
    if (g_pAppSetting)
        nick = g_pAppSetting->strNick;
    CDlgMain* main = CDlgMain::Instance();
    int songs = main ? main->CountOwnSongs() : 0;

    AddFriendReport* report = new AddFriendReport();
    report->host = CServiceAddresses::Get().m_webHost;
    report->port = CServiceAddresses::Get().m_webPort;
    report->body = ReportBody(own, m_strFriendAddress, nick, songs);
    report->handleSlot = &m_hPostThread;
    ::EnterCriticalSection(&ReportLock());
    RunningReports().push_back(report);
    m_hPostThread = ::CreateThread(NULL, 0, &PostReport, report, CREATE_SUSPENDED, NULL);
    if (!m_hPostThread)
    {
        RunningReports().pop_back();
        delete report;
    }
    else
        ::ResumeThread(m_hPostThread);
    ::LeaveCriticalSection(&ReportLock());
}

void CDlgAddFriend::OnCloseButton()
{
    EndDialog(IDCANCEL);
}

void CDlgAddFriend::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}
