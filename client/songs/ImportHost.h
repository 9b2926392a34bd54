// What an import of songs asks of the main window. Every call comes on the
// main window's thread (the import's worker hands its calls over).
#pragma once
#include "Framework.h"

class CSongLibrary;

class ImportHost
{
  public:
    enum CreateResult
    {
        ListFailed = -1,
        ListExists = 0,
        ListCreated = 1,
        ListReserved = 2,
    };
    virtual ~ImportHost() = default;

    // Makes the song list and its row when no list has the name.
    virtual int CreateSongList(const CString& name) = 0;
    // Rows of the list of song lists, the all-songs row being row 0.
    virtual int GetListRowCount() = 0;
    virtual int FindListRow(const CString& name) = 0;
    virtual CString GetListName(int row) = 0;
    // The first row marked as the drop's target, -1 when none.
    virtual int GetDropTargetRow() = 0;
    // The first selected row, -1 when none.
    virtual int GetSelectedRow() = 0;
    virtual void ShowMessage(const CString& text) = 0;
    // The user's own library: a copy for the import to work on, and the
    // import's result once it ended well.
    virtual void CopyLibrary(CSongLibrary& into) = 0;
    virtual void TakeLibrary(const CSongLibrary& library) = 0;
    virtual CString GetLibraryPath() = 0;
    // What follows an import: the own library shown again, or one list.
    virtual void LoadMyLibrary() = 0;
    virtual void ShowSongList(int row) = 0;
    virtual void PushSongCount(int added) = 0;
    virtual void UpdateSongListCounts() = 0;
};
