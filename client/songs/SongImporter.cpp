#include "SongImporter.h"
#include "ImportHost.h"
#include "LanguageTable.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

SongImporter::SongImporter(ImportHost& host, std::function<void(const std::function<void()>&)> call)
    : total(0), countBefore(0), m_host(host), m_call(std::move(call)), m_stop(0)
{
}

int SongImporter::ClassifyPath(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.IsEmpty() || !GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return KindNone;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return KindFolder;
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT))
        return KindNone;
    int dot = path.ReverseFind(L'.');
    CString extension = dot >= 0 ? path.Mid(dot) : CString();
    if (extension.CompareNoCase(L".mp3") == 0 || extension.CompareNoCase(L".wma") == 0)
        return KindMedia;
    return KindNone;
}

CString SongImporter::ResolveShortcut(const CString& path)
{
    int dot = path.ReverseFind(L'.');
    if (dot < 0 || path.Mid(dot).CompareNoCase(L".lnk") != 0)
        return CString();
    HRESULT init = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    CString target;
    IShellLinkW* link = NULL;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)))
    {
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file)))
        {
            if (SUCCEEDED(file->Load(path, STGM_READ)))
            {
                wchar_t buffer[MAX_PATH] = L"";
                if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, NULL, SLGP_RAWPATH)))
                    target = buffer;
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return target;
}

CString SongImporter::HoldingFolderName(const CString& path)
{
    int last = path.ReverseFind(L'\\');
    if (last < 0)
        return CString();
    CString folder = path.Left(last);
    int before = folder.ReverseFind(L'\\');
    if (before < 0)
    {
        // A file in a drive's root goes to the list named after the drive.
        int colon = folder.Find(L':');
        return colon >= 0 ? folder.Left(colon) : folder;
    }
    return folder.Mid(before + 1);
}

CString SongImporter::FolderName(const CString& path)
{
    CString folder = path;
    if (folder.Right(1) == L"\\")
        folder = folder.Left(folder.GetLength() - 1);
    int last = folder.ReverseFind(L'\\');
    if (last < 0)
    {
        int colon = folder.Find(L':');
        return colon >= 0 ? folder.Left(colon) : folder;
    }
    return folder.Mid(last + 1);
}

HRESULT SongImporter::FindSyncList(const CString& name, CSyncPlaylist& out) const
{
    for (const CSyncPlaylist& record : result)
        if (record.m_strName == name)
        {
            out = record;
            return S_OK;
        }
    return E_INVALIDARG;
}

void SongImporter::StoreSyncList(const CSyncPlaylist& record)
{
    for (CSyncPlaylist& kept : result)
        if (kept.m_strName == record.m_strName)
        {
            kept.m_strM = record.m_strM;
            kept.m_songs = record.m_songs;
            return;
        }
    result.push_back(record);
}

void SongImporter::RecordInto(const CSyncSong& song, const CString& listName)
{
    CSyncPlaylist record;
    if (FindSyncList(listName, record) != S_OK)
        record.m_strName = listName;
    record.AddSong(song);
    StoreSyncList(record);
}

void SongImporter::Record(const CSongInfo& song, const CString& listName)
{
    CSyncSong sync;
    sync.H = song.GetHash();
    sync.T = song.GetTitle();
    sync.A = song.GetArtist();
    sync.S = song.GetFileSize();
    sync.W = L"0";
    if (!listName.IsEmpty() && listName != L"all")
        RecordInto(sync, listName);
    RecordInto(sync, L"all");
}

void SongImporter::Progress(int index, const CString& path)
{
    if (onProgress)
        onProgress(index, total, path);
}

std::vector<CString> SongImporter::FolderEntries(const CString& folder)
{
    std::vector<CString> entries;
    CString prefix = folder.Right(1) == L"\\" ? folder : folder + L"\\";
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(prefix + L"*.*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return entries;
    do
    {
        if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
            entries.push_back(prefix + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

bool SongImporter::ReadSong(const CString& path, CSongInfo& song)
{
    song.ReadFileTags(path);
    return song.GetDuration() != 0;
}

void SongImporter::AddToList(const CSongInfo& song, const CString& listName)
{
    CPlaylist playlist;
    if (library.GetPlaylistByName(listName, playlist) != S_OK)
    {
        playlist.SetName(listName);
        library.AddOrUpdatePlaylist(playlist);
    }
    library.AddSongToPlaylist(song, playlist);
}

CString SongImporter::Followed(const CString& path)
{
    CString target = ResolveShortcut(path);
    return target.IsEmpty() ? path : target;
}

void SongImporter::ScanTopItem(const CString& path, const CString& mediaList, int index)
{
    int kind = ClassifyPath(path);
    if (kind == KindFolder)
        ScanByName(path, CString(), index, KindFolder);
    else if (kind == KindMedia)
        ScanByName(path, mediaList, index, KindMedia);
    else
        Progress(index, path);
}

void SongImporter::ScanByName(const CString& path, const CString& listName, int index, int kind)
{
    if (Stopped())
        return;
    if (kind == KindFolder)
    {
        for (CString entry : FolderEntries(path))
        {
            if (Stopped())
                return;
            entry = Followed(entry);
            int entryKind = ClassifyPath(entry);
            if (entryKind == KindFolder)
                ScanByName(entry, CString(), index, KindFolder);
            else if (entryKind == KindMedia)
                ScanByName(entry, path, index, KindMedia);
            else
                ScanByName(entry, CString(), index, KindNone);
        }
    }
    else if (kind == KindMedia)
    {
        CSongInfo song;
        if (ReadSong(path, song))
        {
            if (listName.IsEmpty())
            {
                library.AddSong(song);
                Record(song, L"all");
            }
            else
            {
                CString name = listName.Mid(listName.ReverseFind(L'\\') + 1);
                int created = ImportHost::ListFailed;
                m_call([&] { created = m_host.CreateSongList(name); });
                if (created == ImportHost::ListReserved)
                {
                    library.AddSong(song);
                    Record(song, L"all");
                }
                else
                {
                    AddToList(song, name);
                    Record(song, name);
                }
            }
        }
    }
    Progress(index, path);
}

void SongImporter::ScanByRow(const CString& path, int row, int index, int kind)
{
    if (Stopped())
        return;
    if (kind == KindFolder && row >= 0)
    {
        for (CString entry : FolderEntries(path))
        {
            if (Stopped())
                return;
            entry = Followed(entry);
            ScanByRow(entry, row, index, ClassifyPath(entry));
        }
    }
    else if (kind == KindFolder)
    {
        CString name = FolderName(path);
        int created = ImportHost::ListFailed;
        int found = -1;
        m_call([&] {
            created = m_host.CreateSongList(name);
            if (created == ImportHost::ListFailed)
                m_host.ShowMessage(Lang(L"INFO_DRAG_ERROR_CREATE_SONGLIST") + L" \"" + name + L"\"");
            else if (created != ImportHost::ListReserved)
                found = m_host.FindListRow(name);
        });
        if (created == ImportHost::ListReserved)
            found = 0;
        if (found >= 0)
            ScanByRow(path, found, index, KindFolder);
    }
    else if (kind == KindMedia && row == 0)
    {
        CSongInfo song;
        if (ReadSong(path, song))
            library.AddSong(song);
        Record(song, L"all");
    }
    else if (kind == KindMedia && row > 0)
    {
        CString name;
        m_call([&] { name = m_host.GetListName(row); });
        CSongInfo song;
        if (ReadSong(path, song))
            AddToList(song, name);
        Record(song, name);
    }
    Progress(index, path);
}

void SongImporter::DropWithoutTarget(const std::vector<CString>& items)
{
    total = (int)items.size();
    countBefore = library.CountListedSongs();
    for (int i = 0; i < total && !Stopped(); ++i)
    {
        CString path = Followed(items[i]);
        ScanTopItem(path, HoldingFolderName(path), i);
    }
}

void SongImporter::DropOnRow(const std::vector<CString>& items, int row)
{
    total = (int)items.size();
    countBefore = library.CountListedSongs();
    for (int i = 0; i < total && !Stopped(); ++i)
    {
        CString path = Followed(items[i]);
        ScanByRow(path, row, i, ClassifyPath(path));
    }
}

void SongImporter::ImportFolder(const CString& folder)
{
    countBefore = library.CountListedSongs();
    if (folder.IsEmpty())
        return;
    CString path = Followed(folder);
    std::vector<CString> entries = FolderEntries(path);
    total = (int)entries.size();
    CString name = FolderName(path);
    for (int i = 0; i < total && !Stopped(); ++i)
    {
        ScanTopItem(Followed(entries[i]), name, i);
    }
}
