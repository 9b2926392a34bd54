// What the controls ask of the client's main window and of the song panes.
// The main dialog implements IMainWindowLink and registers itself with
// SetMainWindowLink; the song lists derive from CDropListCtrl. The controls
// reach the client's services (user, data client) only through here, so the
// controls library never links the client.
#pragma once
#include "Framework.h"
#include "PageCommandTarget.h"
#include "SyncPlaylist.h"

#include <objidl.h>
#include <vector>

// The signed-in user's profile record, kept by the main window.
struct MyProfileRecord
{
    CString nick;      // first text
    CString signature; // second text
    CString third;
    int number = 0;
    CString fourth; // the text after the number (carried by the profile command)
};

class IMainWindowLink : public IPageCommandTarget
{
public:
    // The page commands of links (CLinkPolicy hands them here once the main
    // window is registered): WM_COMMAND posted to the main window with a heap
    // copy of the text after the command word (the main window frees it).
    enum { ID_OPEN_WINDOW = 0x805A, ID_OPEN_WINDOW_AD = 0x805B };

    virtual ~IMainWindowLink() = default;
    // The main window's command of a page-command link (0 for any other
    // link) and the text after its command word.
    static UINT ParsePageCommand(const CString& link, CString& rest);
    // Posts "yeb360://openwindow/" links as ID_OPEN_WINDOW and
    // "yeb360://openwindow_ad/" links as ID_OPEN_WINDOW_AD to the main
    // window of the user-interface thread; FALSE for other links.
    BOOL RunPageCommand(const wchar_t* link) override;
    // TRUE when the song library shown is the signed-in user's own.
    virtual BOOL IsShowingOwnLibrary() = 0;
    // The name of the song list shown in the song pane.
    virtual CString GetCurrentListName() = 0;
    virtual MyProfileRecord& GetMyProfile() = 0;
    // Posts e-mail, nick name and signature to the service's nick form.
    virtual void PostMyProfile() = 0;
    // Pushes the own presence (command 15).
    virtual void PushMyPresence() = 0;
    // Rebuilds the own status line.
    virtual void UpdateMyStatusText() = 0;
    // Runs the import tip modally (no parent) on dropped data and gives the
    // song-list records it changed.
    virtual void RunImportTip(IDataObject* data, int mode, std::vector<CSyncPlaylist>& changed) = 0;
    // The signed-in user's numeric id as text (CClientApp::GetUserId).
    virtual CString GetMyUserId() = 0;
    // Queues the changed song-list records for upload and starts the upload
    // (CDataClient::AddSyncPlaylist for each, then UploadPlaylists).
    virtual void UploadSongLists(const std::vector<CSyncPlaylist>& changed) = 0;
};

// Also makes the main window the receiver of the page commands of links.
void SetMainWindowLink(IMainWindowLink* link);
// Null while no main window is registered.
IMainWindowLink* GetMainWindowLink();

// A list control that can mark one row as the target of a drop.
class CDropListCtrl : public CListCtrl
{
public:
    // Marks row (clearing any other mark) and redraws it; a row without data
    // or one already marked is left alone.
    virtual void SetDropTarget(int row) = 0;
    // Clears the first marked row.
    virtual void ClearDropTarget() = 0;
    // The song-list name of a row; "" outside the rows or without data.
    virtual CString GetListName(int row) = 0;
};
