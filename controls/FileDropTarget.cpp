#include "FileDropTarget.h"
#include "ReservedNames.h"

#include <shellapi.h>
#include <shlobj.h>

CFileDropTarget::CFileDropTarget(CDropListCtrl* pOwner, int nMode)
    : m_pOwner(pOwner), m_nMode(nMode), m_pHelper(nullptr), m_bHelper(FALSE), m_refs(1), m_hRegistered(NULL),
      m_pDragData(nullptr)
{
}

void CFileDropTarget::MakeHelper()
{
    // The shell's drag picture helper is made when something is first
    // dragged over, not with every list that takes drops.
    if (m_bHelperTried)
        return;
    m_bHelperTried = TRUE;
    m_bHelper = SUCCEEDED(::CoCreateInstance(CLSID_DragDropHelper, NULL, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                             (void**)&m_pHelper)) &&
                m_pHelper;
}

CFileDropTarget::~CFileDropTarget()
{
    Revoke();
    if (m_pHelper)
        m_pHelper->Release();
}

BOOL CFileDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->GetSafeHwnd(), this)))
        return FALSE;
    m_hRegistered = pWnd->GetSafeHwnd();
    return TRUE;
}

void CFileDropTarget::Revoke()
{
    if (m_hRegistered)
        ::RevokeDragDrop(m_hRegistered);
    m_hRegistered = NULL;
}

BOOL CFileDropTarget::OffersFiles(IDataObject* pData)
{
    FORMATETC format{CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return pData && pData->QueryGetData(&format) == S_OK;
}

CString CFileDropTarget::ResolveShortcut(const CString& path)
{
    if (path.IsEmpty())
        return CString();
    CString target;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)))
    {
        if (SUCCEEDED(file->Load(path, 0)))
        {
            wchar_t buffer[MAX_PATH] = {0};
            WIN32_FIND_DATAW find{};
            if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, &find, SLGP_UNCPRIORITY)))
                target = buffer;
        }
        file->Release();
    }
    link->Release();
    return target;
}

BOOL CFileDropTarget::CheckFiles(IDataObject* pData)
{
    FORMATETC format{CF_HDROP, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!pData || FAILED(pData->GetData(&format, &medium)))
        return FALSE;
    HDROP drop = (HDROP)::GlobalLock(medium.hGlobal);
    if (!drop)
    {
        ::ReleaseStgMedium(&medium);
        return FALSE;
    }
    BOOL accept = FALSE;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < count; ++i)
    {
        wchar_t name[MAX_PATH + 1] = {0};
        UINT length = ::DragQueryFileW(drop, i, NULL, 0);
        if (length == 0 || length > MAX_PATH || !::DragQueryFileW(drop, i, name, MAX_PATH + 1))
            continue; // unreadable names are skipped
        CString path(name);
        CString target = ResolveShortcut(path);
        if (!target.IsEmpty())
            path = target;
        DWORD attributes = ::GetFileAttributesW(path);
        BOOL isFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (m_nMode == MODE_SONGS)
        {
            accept = TRUE;
            break;
        }
        if (!isFile)
        {
            accept = TRUE; // a folder (or a name that is gone) for the list of song lists
            break;
        }
    }
    ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return accept;
}

DROPEFFECT CFileDropTarget::OnDragEnter(CWnd* pWnd, IDataObject* pData, DWORD, CPoint point)
{
    DROPEFFECT effect = OffersFiles(pData) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    MakeHelper();
    if (m_bHelper)
    {
        POINT pt = point;
        m_pHelper->DragEnter(pWnd->GetSafeHwnd(), pData, &pt, effect);
    }
    return effect;
}

DROPEFFECT CFileDropTarget::OnDragOver(CWnd*, IDataObject* pData, DWORD, CPoint point)
{
    DROPEFFECT effect = DROPEFFECT_NONE;
    IMainWindowLink* main = GetMainWindowLink();
    if (main && main->IsShowingOwnLibrary())
    {
        BOOL accept = OffersFiles(pData) && CheckFiles(pData);
        if (m_nMode == MODE_SONG_LISTS && m_pOwner)
        {
            m_pOwner->SetFocus();
            int rows = m_pOwner->GetItemCount();
            CRect first;
            CRect area;
            if (rows > 0 && m_pOwner->GetItemRect(0, &first, LVIR_BOUNDS))
                area = CRect(first.left, first.top, first.right, first.top + rows * first.Height());
            if (!area.IsRectEmpty() && area.PtInRect(point) && first.Height() > 0)
            {
                int row = (point.y - area.top) / first.Height();
                m_pOwner->SetDropTarget(row);
                accept = !IsReservedListName(m_pOwner->GetListName(row), FALSE);
            }
            else
                m_pOwner->ClearDropTarget();
        }
        else if (m_nMode == MODE_SONGS && IsReservedListName(main->GetCurrentListName(), FALSE))
            accept = FALSE;
        effect = accept ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    if (m_bHelper)
    {
        POINT pt = point;
        m_pHelper->DragOver(&pt, effect);
    }
    return effect;
}

void CFileDropTarget::OnDragLeave(CWnd*)
{
    if (m_nMode == MODE_SONG_LISTS && m_pOwner)
        m_pOwner->ClearDropTarget();
    if (m_bHelper)
        m_pHelper->DragLeave();
}

BOOL CFileDropTarget::OnDrop(CWnd*, IDataObject* pData, DROPEFFECT dropEffect, CPoint point)
{
    if (m_bHelper)
    {
        POINT pt = point;
        m_pHelper->Drop(pData, &pt, dropEffect);
    }
    if (IMainWindowLink* main = GetMainWindowLink())
    {
        std::vector<CSyncPlaylist> changed;
        main->RunImportTip(pData, m_nMode, changed);
        if (!changed.empty())
            main->UploadSongLists(changed);
    }
    if (m_nMode == MODE_SONG_LISTS && m_pOwner)
        m_pOwner->ClearDropTarget();
    // The data object stays the drag source's: its reference is not ours to release.
    return FALSE; // the source is told that nothing was moved
}

STDMETHODIMP CFileDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IDropTarget)
    {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CFileDropTarget::AddRef()
{
    return ::InterlockedIncrement(&m_refs);
}

// The target is a member of its pane: the last reference does not delete it.
STDMETHODIMP_(ULONG) CFileDropTarget::Release()
{
    return ::InterlockedDecrement(&m_refs);
}

namespace
{
CWnd* WindowOf(HWND hwnd)
{
    return CWnd::FromHandle(hwnd);
}

CPoint ClientPoint(HWND hwnd, POINTL pt)
{
    CPoint point(pt.x, pt.y);
    ::ScreenToClient(hwnd, &point);
    return point;
}
} // namespace

STDMETHODIMP CFileDropTarget::DragEnter(IDataObject* pData, DWORD keys, POINTL pt, DWORD* effect)
{
    m_pDragData = pData;
    *effect = OnDragEnter(WindowOf(m_hRegistered), pData, keys, ClientPoint(m_hRegistered, pt));
    return S_OK;
}

STDMETHODIMP CFileDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect)
{
    *effect = OnDragOver(WindowOf(m_hRegistered), m_pDragData, keys, ClientPoint(m_hRegistered, pt));
    return S_OK;
}

STDMETHODIMP CFileDropTarget::DragLeave()
{
    OnDragLeave(WindowOf(m_hRegistered));
    m_pDragData = nullptr;
    return S_OK;
}

STDMETHODIMP CFileDropTarget::Drop(IDataObject* pData, DWORD, POINTL pt, DWORD* effect)
{
    OnDrop(WindowOf(m_hRegistered), pData, *effect, ClientPoint(m_hRegistered, pt));
    m_pDragData = nullptr;
    *effect = DROPEFFECT_NONE;
    return S_OK;
}
