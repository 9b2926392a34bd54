// What the controls ask of the client's main window and of the song panes.
// The main dialog implements IMainWindowLink and registers itself with
// SetMainWindowLink; the song lists derive from CDropListCtrl.
#pragma once
#include "Framework.h"
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

class IMainWindowLink
{
public:
    virtual ~IMainWindowLink() = default;
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
};

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
