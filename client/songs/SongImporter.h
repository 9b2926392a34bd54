// SongImporter: the walk of an import of songs into the user's own library:
// dropped or picked files and folders (folders walked recursively, shell
// links followed), every ".mp3" or ".wma" file added to the library and to a
// song list, and per list the songs added (CSyncPlaylist records, "all"
// holding every one) for the upload that follows. It works on its own copy
// of the library; the caller keeps or drops that copy as a whole.
#pragma once
#include "Framework.h"
#include "SongLibrary.h"
#include "SyncPlaylist.h"

#include <functional>
#include <vector>

class ImportHost;

class SongImporter
{
  public:
    enum Kind
    {
        KindNone = -1,
        KindFolder = 1,
        KindMedia = 2,
    };

    // host calls go through call, which runs them on the host's thread.
    SongImporter(ImportHost& host, std::function<void(const std::function<void()>&)> call);

    // -1 unreadable or not a media file, 1 a folder, 2 a ".mp3" or ".wma" file.
    static int ClassifyPath(const CString& path);
    // The target of a shell link; "" for anything else.
    static CString ResolveShortcut(const CString& path);
    // The list a file dropped without a target row goes to: the name of the
    // folder that holds it, or the drive letter for a file in a drive's root.
    static CString HoldingFolderName(const CString& path);
    // The last component of a folder path (a trailing backslash cut first),
    // or the drive letter of a drive's root.
    static CString FolderName(const CString& path);

    // The workers, by the import's source.
    void DropWithoutTarget(const std::vector<CString>& items);
    void DropOnRow(const std::vector<CString>& items, int row);
    void ImportFolder(const CString& folder);

    void ScanByName(const CString& path, const CString& listName, int index, int kind);
    void ScanByRow(const CString& path, int row, int index, int kind);

    // Progress: index, total and the path, after every item.
    std::function<void(int index, int total, const CString& path)> onProgress;

    void RequestStop() { m_stop = 1; }
    bool Stopped() const { return m_stop != 0; }

    CSongLibrary library;
    std::vector<CSyncPlaylist> result;
    int total;
    int countBefore;

    HRESULT FindSyncList(const CString& name, CSyncPlaylist& out) const;
    void StoreSyncList(const CSyncPlaylist& record);

  private:
    // A shell link stands for its target; anything else for itself.
    static CString Followed(const CString& path);
    // One item at the top of an import: a folder is scanned for lists of
    // its own, a media file goes to mediaList, anything else only counts.
    void ScanTopItem(const CString& path, const CString& mediaList, int index);
    void Record(const CSongInfo& song, const CString& listName);
    void RecordInto(const CSyncSong& song, const CString& listName);
    void Progress(int index, const CString& path);
    std::vector<CString> FolderEntries(const CString& folder);
    bool ReadSong(const CString& path, CSongInfo& song);
    void AddToList(const CSongInfo& song, const CString& listName);

    ImportHost& m_host;
    std::function<void(const std::function<void()>&)> m_call;
    volatile LONG m_stop;
};
