#include "UploadMusicDlg.h"
#include "resource.h"

CUploadMusicDlg* CUploadMusicDlg::s_open = NULL;

namespace
{
const CTransferWindow::Controls UploadControls = {
    IDC_UPLOAD_LIST,
    IDC_UPLOAD_MINIMISE,
    IDC_UPLOAD_CLOSE,
    {IDC_UPLOAD_RUNNING, IDC_UPLOAD_WAITING, IDC_UPLOAD_DONE, IDC_UPLOAD_FAILED},
    IDC_UPLOAD_AD_LINK};

// A done upload shows the chat icon where a download offers to play.
const UINT UploadIcons[] = {
    IDI_TASK_WAITING, IDI_TASK_RUNNING, IDI_TASK_DONE,   IDI_TASK_FAILED,       IDI_CHAT,
    IDI_CHAT,         IDI_CHAT,         IDI_TASK_REMOVE, IDI_TASK_REMOVE_HOVER, IDI_TASK_REMOVE_PRESSED};
} // namespace

BEGIN_MESSAGE_MAP(CUploadMusicDlg, CTransferWindow)
ON_MESSAGE(WM_USER + 101, &CUploadMusicDlg::OnListMessage)
ON_BN_CLICKED(IDC_UPLOAD_MINIMISE, &CUploadMusicDlg::OnMinimise)
ON_BN_CLICKED(IDC_UPLOAD_CLOSE, &CUploadMusicDlg::OnCloseButton)
END_MESSAGE_MAP()

CUploadMusicDlg::CUploadMusicDlg()
    : CTransferWindow(IDD_UPLOAD, UploadControls, WM_USER + 101, L"INFO_MUSIC_COMPANY_UPLOAD_TITLE")
{
}

CUploadMusicDlg* CUploadMusicDlg::Open()
{
    return ShowSingle(s_open, IDD_UPLOAD);
}

void CUploadMusicDlg::DoDataExchange(CDataExchange* pDX)
{
    CTransferWindow::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPLOAD_LIST, m_list);
}

BOOL CUploadMusicDlg::OnInitDialog()
{
    BOOL result = CTransferWindow::OnInitDialog();
    for (UINT id : UploadIcons)
        m_list.AddIcon(LoadTaskIcon(id));
    return result;
}

void CUploadMusicDlg::PlaceList(const CRect& rect)
{
    m_list.MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, 424);
    m_list.SetItemHeight(70);
}

int CUploadMusicDlg::AddUpload(LPCWSTR uploadHost, int uploadPort, LPCWSTR filePath, LPCWSTR title,
                               LPCWSTR author, LPCWSTR uploadId, int size, LPCWSTR fileType)
{
    m_list.AddTask(uploadHost, uploadPort, filePath, title, author, uploadId, size, fileType);
    return 0;
}

void CUploadMusicDlg::PostNcDestroy()
{
    if (s_open == this)
        s_open = NULL;
    CTransferWindow::PostNcDestroy();
}
