#include "MainImportHost.h"

#include "ClientApp.h"
#include "DlgMain.h"
#include "DlgMessage.h"
#include "ListCtrlCD.h"
#include "SongLibrary.h"

int CMainImportHost::CreateSongList(const CString& name)
{
    return m_main.CreateSongList(name);
}

int CMainImportHost::GetListRowCount()
{
    return m_main.m_listSongLists.GetItemCount();
}

int CMainImportHost::FindListRow(const CString& name)
{
    return m_main.m_listSongLists.FindList(name);
}

CString CMainImportHost::GetListName(int row)
{
    return m_main.m_listSongLists.GetListName(row);
}

int CMainImportHost::GetDropTargetRow()
{
    return m_main.m_listSongLists.GetDropTarget();
}

int CMainImportHost::GetSelectedRow()
{
    return m_main.m_listSongLists.GetNextItem(-1, LVNI_SELECTED);
}

void CMainImportHost::ShowMessage(const CString& text)
{
    CDlgMain::s_askUser(text, CDlgMessage::BUTTONS_OK, L"", FALSE, &m_main);
}

void CMainImportHost::CopyLibrary(CSongLibrary& into)
{
    // The file is the library of record; the shown copy may be a buddy's.
    if (FAILED(into.LoadFromFile(GetLibraryPath())))
        into = CSongLibrary();
}

void CMainImportHost::TakeLibrary(const CSongLibrary& library)
{
    if (m_main.IsShowingOwnLibrary())
        m_main.m_shownLibrary = library;
}

CString CMainImportHost::GetLibraryPath()
{
    CClientApp* app = GetClientApp();
    return app ? app->GetMyPlaylistPath() : CString();
}

void CMainImportHost::LoadMyLibrary()
{
    m_main.LoadMyLibrary(TRUE);
}

void CMainImportHost::ShowSongList(int row)
{
    m_main.ShowSongList(row, TRUE, FALSE);
}

void CMainImportHost::PushSongCount(int added)
{
    m_main.PushSongCount(added, TRUE);
}

void CMainImportHost::UpdateSongListCounts()
{
    m_main.UpdateSongListCounts();
}
