#include "DlgSongDownload.h"
#include "AlbumCoverJob.h"
#include "ClientApp.h"
#include "resource.h"

CDlgSongDownload* CDlgSongDownload::s_open = NULL;
CString CDlgSongDownload::s_userId;

namespace
{
const CTransferWindow::Controls DownloadControls = {
    IDC_DOWNLOAD_LIST,
    IDC_DOWNLOAD_MINIMISE,
    IDC_DOWNLOAD_CLOSE,
    {IDC_DOWNLOAD_RUNNING, IDC_DOWNLOAD_WAITING, IDC_DOWNLOAD_DONE, IDC_DOWNLOAD_FAILED},
    IDC_DOWNLOAD_AD_LINK};

const UINT DownloadIcons[CListCtrlDownload::IconCount] = {
    IDI_TASK_WAITING,      IDI_TASK_RUNNING,       IDI_TASK_DONE,         IDI_TASK_FAILED,
    IDI_TASK_PLAY,         IDI_TASK_PLAY_HOVER,    IDI_TASK_PLAY_PRESSED, IDI_TASK_REMOVE,
    IDI_TASK_REMOVE_HOVER, IDI_TASK_REMOVE_PRESSED};
} // namespace

BEGIN_MESSAGE_MAP(CDlgSongDownload, CTransferWindow)
ON_MESSAGE(WM_USER + 48, &CDlgSongDownload::OnListMessage)
ON_BN_CLICKED(IDC_DOWNLOAD_MINIMISE, &CDlgSongDownload::OnMinimise)
ON_BN_CLICKED(IDC_DOWNLOAD_CLOSE, &CDlgSongDownload::OnCloseButton)
END_MESSAGE_MAP()

CDlgSongDownload::CDlgSongDownload()
    : CTransferWindow(IDD_SONG_DOWNLOAD, DownloadControls, WM_USER + 48, L"INFO_DOWNLOAD_SONG_TITLE")
{
}

CDlgSongDownload* CDlgSongDownload::Open()
{
    return ShowSingle(s_open, IDD_SONG_DOWNLOAD);
}

void CDlgSongDownload::DoDataExchange(CDataExchange* pDX)
{
    CTransferWindow::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DOWNLOAD_LIST, m_list);
}

BOOL CDlgSongDownload::OnInitDialog()
{
    BOOL result = CTransferWindow::OnInitDialog();
    m_list.m_onFinished = [this](const CString& hash, const CString& cover) { SetAlbumJob(hash, cover); };
    for (UINT id : DownloadIcons)
        m_list.AddIcon(LoadTaskIcon(id));
    return result;
}

void CDlgSongDownload::PlaceList(const CRect& rect)
{
    m_list.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, 424);
    m_list.SetItemHeight(70);
}

int CDlgSongDownload::AddDownload(LPCWSTR url, LPCWSTR fileName, LPCWSTR targetFolder, LPCWSTR songListName,
                                  LPCWSTR coverAddress)
{
    return m_list.AddTask(url, fileName, targetFolder, songListName, coverAddress);
}

void CDlgSongDownload::SetAlbumJob(LPCWSTR songHash, LPCWSTR coverAddress)
{
    m_songHash = songHash;
    m_coverAddress = coverAddress;
}

void CDlgSongDownload::OnTransferDone()
{
    CString user = s_userId;
    if (user.IsEmpty())
        if (CClientApp* app = GetClientApp())
            user = app->GetUserId();
    HANDLE job = AlbumCoverJob::Start(m_coverAddress, m_songHash, user);
    if (job)
        CloseHandle(job);
}

void CDlgSongDownload::StopAllAndDelete()
{
    m_list.StopAll(TRUE);
}

void CDlgSongDownload::PostNcDestroy()
{
    if (s_open == this)
        s_open = NULL;
    CTransferWindow::PostNcDestroy();
}
