#include "DlgMainLink.h"

#include "AppSetting.h"
#include "ClientApp.h"
#include "DataClient.h"
#include "DlgConfig.h"
#include "DlgDragTip.h"
#include "DlgMain.h"
#include "DlgMessage.h"

namespace
{
void QueueForUpload(const std::vector<CSyncPlaylist>& changed)
{
    CDataClient* data = CDataClient::GetInstance();
    if (!data)
        return;
    for (const CSyncPlaylist& record : changed)
        data->AddSyncPlaylist(record);
    data->UploadPlaylists();
}
} // namespace

void (*CDlgMainLink::s_uploadSongLists)(const std::vector<CSyncPlaylist>& changed) = &QueueForUpload;

CDlgMainLink::CDlgMainLink(CDlgMain& main) : m_main(main)
{
    SetMainWindowLink(this);
}

CDlgMainLink::~CDlgMainLink()
{
    if (GetMainWindowLink() == this)
        SetMainWindowLink(nullptr);
}

BOOL CDlgMainLink::IsShowingOwnLibrary()
{
    return m_main.IsShowingOwnLibrary();
}

CString CDlgMainLink::GetCurrentListName()
{
    return m_main.m_strShownListName;
}

MyProfileRecord& CDlgMainLink::GetMyProfile()
{
    // The settings hold the profile; the record is what an edit changes
    // before PostMyProfile stores it back.
    if (g_pAppSetting)
    {
        m_profile.nick = g_pAppSetting->strNick;
        m_profile.signature = g_pAppSetting->strSignature;
        m_profile.third = g_pAppSetting->strName;
        m_profile.fourth = g_pAppSetting->strRegion;
        m_profile.number = g_pAppSetting->nGender;
    }
    return m_profile;
}

void CDlgMainLink::PostMyProfile()
{
    if (!g_pAppSetting)
        return;
    g_pAppSetting->strSignature = m_profile.signature;
    CDlgConfig::PostNickAndSignature(g_pAppSetting->strNick);
}

void CDlgMainLink::PushMyPresence()
{
    m_main.PushMyPresence();
}

void CDlgMainLink::UpdateMyStatusText()
{
    m_main.UpdateMyStatusText();
}

void CDlgMainLink::RunImportTip(IDataObject* data, int mode, std::vector<CSyncPlaylist>& changed)
{
    changed.clear();
    CDlgDragTip tip(NULL, *this, data, mode);
    if (tip.DoModal() == IDOK)
        changed = tip.result;
}

CString CDlgMainLink::GetMyUserId()
{
    CClientApp* app = GetClientApp();
    return app ? app->GetUserId() : CString();
}

void CDlgMainLink::UploadSongLists(const std::vector<CSyncPlaylist>& changed)
{
    if (!changed.empty() && s_uploadSongLists)
        s_uploadSongLists(changed);
}

int CDlgMainLink::CreateSongList(const CString& name)
{
    return m_main.CreateSongList(name);
}

int CDlgMainLink::GetListRowCount()
{
    return m_main.m_listSongLists.GetItemCount();
}

int CDlgMainLink::FindListRow(const CString& name)
{
    return m_main.m_listSongLists.FindList(name);
}

CString CDlgMainLink::GetListName(int row)
{
    return m_main.m_listSongLists.GetListName(row);
}

int CDlgMainLink::GetDropTargetRow()
{
    return m_main.m_listSongLists.GetDropTarget();
}

int CDlgMainLink::GetSelectedRow()
{
    return m_main.m_listSongLists.GetNextItem(-1, LVNI_SELECTED);
}

void CDlgMainLink::ShowMessage(const CString& text)
{
    CDlgMain::s_askUser(text, CDlgMessage::BUTTONS_OK, L"", 0, &m_main);
}

void CDlgMainLink::CopyLibrary(CSongLibrary& into)
{
    // Songs are only taken while the own library is shown (the drop targets
    // refuse them otherwise); the file stands in when it is not.
    if (m_main.IsShowingOwnLibrary() && m_main.m_bHasShownLibrary)
        into = m_main.m_shownLibrary;
    else if (FAILED(m_main.m_ownLibraryFile.Load(GetLibraryPath(), into, TRUE)))
        into = CSongLibrary();
}

void CDlgMainLink::TakeLibrary(const CSongLibrary& library)
{
    if (m_main.IsShowingOwnLibrary())
        m_main.m_shownLibrary = library;
}

CString CDlgMainLink::GetLibraryPath()
{
    CClientApp* app = GetClientApp();
    return app ? app->GetMyPlaylistPath() : CString();
}

void CDlgMainLink::LoadMyLibrary()
{
    m_main.LoadMyLibrary(TRUE);
}

void CDlgMainLink::ShowSongList(int row)
{
    m_main.ShowSongList(row, TRUE, TRUE);
}

void CDlgMainLink::PushSongCount(int added)
{
    m_main.PushSongCount(added, TRUE);
}

void CDlgMainLink::UpdateSongListCounts()
{
    m_main.UpdateSongListCounts();
}
