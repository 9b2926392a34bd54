#include "TransferWindow.h"
#include "SmallDialogFrame.h"
#include "DlgMessage.h"
#include "HttpFetcher.h"
#include "LanguageTable.h"
#include "ServiceAddresses.h"
#include "AdvertisementList.h"
#include "Xml.h"
#include "resource.h"

#include <process.h>

#include <cstdlib>
#include <memory>

namespace
{
const wchar_t* const TotalKeys[4] = {L"INFO_DOWNLOAD_SONG_BEGIN_SUM", L"INFO_DOWNLOAD_SONG_WAIT_SUM",
                                     L"INFO_DOWNLOAD_SONG_SUCCESS_SUM", L"INFO_DOWNLOAD_SONG_FAILED_SUM"};
const int TotalX[4] = {16, 120, 220, 320};

struct Advertisements
{
    std::vector<CString> names;
    std::map<CString, CString> links;
};
} // namespace

BEGIN_MESSAGE_MAP(CTransferWindow, CSkinDialog)
ON_WM_SYSCOMMAND()
ON_WM_DESTROY()
ON_MESSAGE(CTransferWindow::AdvertisementMessage, &CTransferWindow::OnAdvertisements)
END_MESSAGE_MAP()

CTransferWindow::CTransferWindow(UINT templateId, const Controls& controls, UINT listMessage,
                                 LPCWSTR titleKey)
    : CSkinDialog(templateId, CWnd::GetDesktopWindow()), m_ids(controls), m_listMessage(listMessage),
      m_titleKey(titleKey), m_totals{0, 0, 0, 0}, m_closing(FALSE)
{
    m_hIcon = LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_APP));
    for (int i = 0; i < 4; ++i)
        m_formats[i] = Lang(TotalKeys[i]);
}

CTransferWindow::~CTransferWindow() = default;

HICON CTransferWindow::LoadTaskIcon(UINT id)
{
    return (HICON)LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
}

void CTransferWindow::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, m_ids.minimise, m_minimise);
    DDX_Control(pDX, m_ids.close, m_close);
    for (int i = 0; i < 4; ++i)
        DDX_Control(pDX, m_ids.totals[i], m_totalTexts[i]);
    DDX_Control(pDX, m_ids.advertisement, m_advertisement);
}

BOOL CTransferWindow::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    HICON small =
        (HICON)LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_APP_SMALL), IMAGE_ICON, 16, 16, 0);
    if (small)
        SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)small);
    SetSmallDialogFrame(*this);

    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE))
    {
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    }
    MoveWindow(0, 0, 428, 358);
    SetWindowText(Lang(m_titleKey));
    CRect client;
    GetClientRect(&client);
    m_minimise.SetBitmapStrip(IDB_BTN_MINIMISE, RGB(255, 0, 255));
    m_close.SetBitmapStrip(IDB_BTN_CLOSE, RGB(255, 0, 255));
    m_minimise.SetWindowPos(NULL, client.Width() - 60, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_close.SetWindowPos(NULL, client.Width() - 34, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceList(CRect(2, 54, 2 + 424, 54 + 280));
    for (int i = 0; i < 4; ++i)
    {
        m_totalTexts[i].SetWindowPos(NULL, TotalX[i], 37, 100, 16, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowTotal(i, 0);
    }
    m_advertisement.m_normalColour = m_advertisement.m_colour = RGB(24, 78, 199);
    m_advertisement.SetBkColor(RGB(232, 232, 232));
    m_advertisement.SetWindowPos(NULL, 10, 338, 204, 16, SWP_NOZORDER | SWP_NOACTIVATE);
    m_advertisement.ShowWindow(SW_HIDE);
    HANDLE loader = (HANDLE)_beginthreadex(NULL, 0, AdvertisementThread, (void*)m_hWnd, 0, NULL);
    if (loader)
        CloseHandle(loader);
    return TRUE;
}

unsigned __stdcall CTransferWindow::AdvertisementThread(void* window)
{
    HWND target = (HWND)window;
    std::unique_ptr<Advertisements> found(new Advertisements);
    CHttpFetcher fetcher;
    if (fetcher.SetUrl(CServiceAddresses::Get().WebUrl(L"/inset/ad_browser.xml")) && fetcher.Start(FALSE))
        ParseAdvertisements(fetcher.GetResponseText(CP_UTF8), found->names, found->links);
    // AdvertisementMessage: lParam a heap Advertisements the window frees.
    if (::IsWindow(target) && ::PostMessageW(target, AdvertisementMessage, 0, (LPARAM)found.get()))
        found.release();
    return 0;
}

void CTransferWindow::ParseAdvertisements(LPCWSTR xml, std::vector<CString>& names,
                                          std::map<CString, CString>& links)

{
    AdvertisementList list;
    list.Parse(xml);
    names.swap(list.names);
    links.swap(list.links);
}

LRESULT CTransferWindow::OnAdvertisements(WPARAM, LPARAM lParam)
{
    std::unique_ptr<Advertisements> found((Advertisements*)lParam);
    if (!found)
        return 0;
    m_adNames = found->names;
    m_adLinks = found->links;
    if (m_adNames.empty())
        return 0;
    CString name = m_adNames[rand() % m_adNames.size()];
    CString link = m_adLinks[name];
    if (name.IsEmpty() || link.IsEmpty())
    {
        m_advertisement.ShowWindow(SW_HIDE);
        return 0;
    }
    m_advertisement.SetWindowText(name);
    m_advertisement.m_link.m_strTarget = link;
    m_advertisement.ShowWindow(SW_SHOW);
    return 0;
}

CString CTransferWindow::GetTotalText(int index)
{
    CString text;
    m_totalTexts[index].GetWindowText(text);
    return text;
}

void CTransferWindow::ShowTotal(int index, int value)
{
    CString text;
    text.Format(m_formats[index], value < 0 ? 0 : value);
    m_totalTexts[index].SetWindowText(text);
}

int CTransferWindow::GetWaitingTotal() const
{
    CTransferWindow* self = const_cast<CTransferWindow*>(this);
    int waiting = self->ListTaskCount() - (m_totals[3] + m_totals[2] + m_totals[0]);
    return waiting < 0 ? 0 : waiting;
}

void CTransferWindow::RefreshWaiting()
{
    m_totals[1] = GetWaitingTotal();
    ShowTotal(1, m_totals[1]);
    m_totalTexts[1].ShowWindow(SW_SHOW);
}

LRESULT CTransferWindow::OnListMessage(WPARAM kind, LPARAM value)
{
    int shown = (int)value < 0 ? 0 : (int)value;
    switch (kind)
    {
    case KindRunning:
        m_totals[0] = shown;
        ShowTotal(0, shown);
        break;
    case KindDone:
        m_totals[2] = shown;
        ShowTotal(2, shown);
        break;
    case KindFailed:
        m_totals[3] = shown;
        ShowTotal(3, shown);
        break;
    case KindRemoved:
        break;
    default:
        return 0;
    }
    RefreshWaiting();
    if (kind == KindDone)
        OnTransferDone();
    return 0;
}

void CTransferWindow::OnMinimise()
{
    ShowWindow(SW_MINIMIZE);
}

void CTransferWindow::OnCloseButton()
{
    CloseWithConfirmation();
}

void CTransferWindow::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == SC_CLOSE)
    {
        if (!m_closing)
            CloseWithConfirmation();
        return;
    }
    Default();
}

void CTransferWindow::CloseWithConfirmation()
{
    if (ListRunningCount() > 0)
    {
        m_closing = TRUE;
        int answer = CDlgMessage::ShowMessage(Lang(L"INFO_DOWNLOAD_SONG_QUIT"),
                                              CDlgMessage::BUTTONS_OK_CANCEL, NULL, CString(), 0, 0, this);
        m_closing = FALSE;
        if (answer != IDOK)
            return;
    }
    DestroyWindow();
}

void CTransferWindow::OnDestroy()
{
    StopAllAndDelete();
    m_adNames.clear();
    m_adLinks.clear();
    Default();
}

void CTransferWindow::PostNcDestroy()
{
    delete this;
}
