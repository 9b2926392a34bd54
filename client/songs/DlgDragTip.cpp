#include "DlgDragTip.h"
#include "SmallDialogFrame.h"
#include "LanguageTable.h"
#include "resource.h"

#include <process.h>
#include <shellapi.h>

namespace
{
// The worker's calls to the window's thread: lParam points at the call,
// which lives on the worker's stack until SendMessage returns.
const UINT WorkerCallMessage = WM_APP + 21;
const UINT_PTR DoneTimer = 1;
} // namespace

BEGIN_MESSAGE_MAP(CDlgDragTip, CSkinDialog)
ON_WM_TIMER()
ON_MESSAGE(WorkerCallMessage, &CDlgDragTip::OnWorkerCall)
END_MESSAGE_MAP()

CDlgDragTip::CDlgDragTip(CWnd* parent, ImportHost& host, IDataObject* data, int mode)
    : CSkinDialog(IDD_DRAG_TIP, parent), m_host(host), m_mode(mode), m_names(ReadDroppedNames(data)),
      m_targetRow(-1), m_worker(NULL), m_done(0), m_timer(0), m_added(0)
{
}

CDlgDragTip::CDlgDragTip(CWnd* parent, ImportHost& host, const std::vector<CString>& names, int mode)
    : CSkinDialog(IDD_DRAG_TIP, parent), m_host(host), m_mode(mode), m_names(names), m_targetRow(-1),
      m_worker(NULL), m_done(0), m_timer(0), m_added(0)
{
}

CDlgDragTip::CDlgDragTip(CWnd* parent, ImportHost& host, const CString& folder)
    : CSkinDialog(IDD_DRAG_TIP, parent), m_host(host), m_mode(ModeFolder), m_folder(folder), m_targetRow(-1),
      m_worker(NULL), m_done(0), m_timer(0), m_added(0)
{
}

CDlgDragTip::~CDlgDragTip()
{
    if (m_worker)
    {
        if (m_importer)
            m_importer->RequestStop();
        WaitForWorker();
    }
}

std::vector<CString> CDlgDragTip::ReadDroppedNames(IDataObject* data)
{
    std::vector<CString> names;
    if (!data)
        return names;
    FORMATETC format = {CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return names;
    if (HDROP drop = (HDROP)GlobalLock(medium.hGlobal))
    {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
        for (UINT i = 0; i < count; ++i)
        {
            wchar_t name[MAX_PATH] = L"";
            // A name that cannot be read keeps its place, so that the count shows it.
            DragQueryFileW(drop, i, name, MAX_PATH);
            names.push_back(name);
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return names;
}

void CDlgDragTip::DoDataExchange(CDataExchange* pDX)
{
    CSkinDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DRAG_PROCESSING, m_processing);
    DDX_Control(pDX, IDC_DRAG_COUNT, m_count);
    DDX_Control(pDX, IDC_DRAG_PATH, m_path);
    DDX_Control(pDX, IDC_DRAG_PROGRESS, m_progress);
    DDX_Control(pDX, IDCANCEL, m_cancel);
}

BOOL CDlgDragTip::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetSmallDialogFrame(*this);
    SetWindowText(Lang(L"INFO_LOADING_SONG_TITLE"));
    MoveWindow(0, 0, 276, 154);
    CString processingText = Lang(L"INFO_DRAG_PROCESSING_TIP");
    m_processing.SetWindowText(processingText);
    // As wide as its text, so that the count follows it.
    CRect processing;
    m_processing.GetWindowRect(&processing);
    {
        HDC dc = ::GetDC(m_processing.m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, (HFONT)m_processing.SendMessage(WM_GETFONT));
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, processingText, processingText.GetLength(), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_processing.m_hWnd, dc);
        m_processing.SetWindowPos(NULL, 11, 39, extent.cx + 2, processing.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_processing.GetWindowRect(&processing);
    ScreenToClient(&processing);
    m_count.SetWindowText(L"");
    m_count.SetWindowPos(NULL, processing.right, 39, 239 - processing.right, processing.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    m_path.SetWindowText(L"");
    m_path.SetWindowPos(NULL, 11, 86, 228, processing.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_progress.SetBitmaps(IDB_BAR_BACK, IDB_BAR_FILL, TRUE, RGB(255, 0, 255));
    m_progress.SetWindowPos(NULL, 12, 60, 250, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    m_progress.SetRange(0, 1000);
    m_progress.SetPos(0);
    m_cancel.SetImages(IDB_TEXT_BTN_LEFT, IDB_TEXT_BTN_MIDDLE, IDB_TEXT_BTN_RIGHT, 4);
    m_cancel.m_bSplitCaption = FALSE;
    m_cancel.m_clrNormal = m_cancel.m_clrDisabled = RGB(0x40, 0x4C, 0x62);
    m_cancel.m_clrHover = RGB(0x27, 0x6F, 0x7E);
    m_cancel.m_clrPressed = RGB(0x33, 0x33, 0x33);
    m_cancel.m_bMiddleColour = FALSE;
    CRect cancel;
    m_cancel.GetWindowRect(&cancel);
    m_cancel.SetWindowPos(NULL, 190, 105, 74, cancel.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (CWnd* owner = GetParent())
        CenterWindow(owner);
    else
        CenterWindow();

    m_importer.reset(new SongImporter(m_host, [this](const std::function<void()>& call) {
        ::SendMessageW(m_hWnd, WorkerCallMessage, 0, (LPARAM)&call);
    }));
    m_host.CopyLibrary(m_importer->library);
    m_importer->onProgress = [this](int index, int total, const CString& path) {
        std::function<void()> show = [&] {
            m_progress.SetPos(total > 0 ? index * 1000 / total : 0);
            CString count;
            count.Format(L"%d/%d ", index + 1, total);
            m_count.SetWindowText(count);
            m_path.SetWindowText(path);
        };
        ::SendMessageW(m_hWnd, WorkerCallMessage, 0, (LPARAM)&show);
    };
    if (m_mode == ModeDropOnLists)
        m_targetRow = m_host.GetDropTargetRow();
    else if (m_mode != ModeFolder)
        m_targetRow = m_host.GetSelectedRow();
    m_worker = (HANDLE)_beginthreadex(NULL, 0, WorkerThread, this, 0, NULL);
    if (!m_worker)
        m_done = 1;
    m_timer = SetTimer(DoneTimer, 100, NULL);
    return TRUE;
}

unsigned __stdcall CDlgDragTip::WorkerThread(void* dialog)
{
    static_cast<CDlgDragTip*>(dialog)->RunWorker();
    return 0;
}

void CDlgDragTip::RunWorker()
{
    SongImporter& importer = *m_importer;
    switch (m_mode)
    {
    case ModeDropOnLists:
        if (m_targetRow < 0)
            importer.DropWithoutTarget(m_names);
        else
            importer.DropOnRow(m_names, m_targetRow);
        break;
    case ModeFolder:
        importer.ImportFolder(m_folder);
        break;
    default:
        // Into the selected list: without one, nothing is imported.
        importer.countBefore = importer.library.CountListedSongs();
        if (m_targetRow >= 0)
            importer.DropOnRow(m_names, m_targetRow);
        break;
    }
    InterlockedExchange(&m_done, 1);
}

LRESULT CDlgDragTip::OnWorkerCall(WPARAM, LPARAM call)
{
    const std::function<void()>* run = (const std::function<void()>*)call;
    if (run && *run && !m_importer->Stopped())
        (*run)();
    return 0;
}

void CDlgDragTip::OnTimer(UINT_PTR id)
{
    if (id != DoneTimer || !m_done)
        return;
    KillTimer(m_timer);
    m_timer = 0;
    WaitForWorker();
    Finish();
    EndDialog(IDOK);
}

void CDlgDragTip::Finish()
{
    SongImporter& importer = *m_importer;
    result = importer.result;
    bool imported = m_mode == ModeFolder || m_mode == ModeDropOnLists || m_targetRow >= 0;
    if (!imported)
        return;
    // The library file is replaced whole, never left half-written.
    CString path = m_host.GetLibraryPath();
    if (!path.IsEmpty())
    {
        CString fresh = path + L".new";
        if (importer.library.SaveToFile(fresh) == S_OK)
            MoveFileExW(fresh, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        else
            DeleteFileW(fresh);
    }
    m_host.TakeLibrary(importer.library);
    if (m_mode == ModeDropOnLists)
    {
        if (m_targetRow <= 0 || m_host.GetSelectedRow() != m_targetRow)
            m_host.LoadMyLibrary();
        else
            m_host.ShowSongList(m_targetRow);
    }
    else if (m_mode != ModeFolder)
    {
        if (m_targetRow == 0)
            m_host.LoadMyLibrary();
        else if (m_targetRow > 0)
            m_host.ShowSongList(m_targetRow);
    }
    m_added = importer.library.CountListedSongs() - importer.countBefore;
    if (m_added > 0)
        m_host.PushSongCount(m_added);
    m_host.UpdateSongListCounts();
}

void CDlgDragTip::WaitForWorker()
{
    if (!m_worker)
        return;
    // The worker may be waiting for a call on this thread: serve those.
    for (;;)
    {
        DWORD wait = MsgWaitForMultipleObjects(1, &m_worker, FALSE, INFINITE, QS_SENDMESSAGE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(m_worker);
    m_worker = NULL;
}

void CDlgDragTip::OnCancel()
{
    if (m_timer)
        KillTimer(m_timer);
    m_timer = 0;
    if (m_importer)
        m_importer->RequestStop();
    WaitForWorker();
    EndDialog(IDCANCEL);
}
