#include "AlbumCoverJob.h"
#include "FileFolder.h"
#include "FwInternet.h"
#include "ImageServerHeader.h"
#include "ImageServerLink.h"
#include "ShellFolder.h"
#include "TcpSocket.h"

#include <process.h>

#include <memory>
#include <mutex>
#include <vector>

namespace
{
// Jobs of overlapping downloads share "albums.ini" and the cover files; one
// job at a time reads and writes them.
std::mutex g_albumFiles;

struct JobArguments
{
    CString cover, hash, user;
};

unsigned __stdcall JobThread(void* argument)
{
    std::unique_ptr<JobArguments> job(static_cast<JobArguments*>(argument));
    AlbumCoverJob::Run(job->cover, job->hash, job->user);
    return 0;
}

bool OpenCover(CInternetSession& session, const CString& address, std::unique_ptr<CHttpFile>& file)
{
    file.reset();
    try
    {
        file.reset(session.OpenURL(
            address, 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY));
    }
    catch (CException* e)
    {
        e->Delete();
        return false;
    }
    CString status;
    file->QueryInfo(HTTP_QUERY_STATUS_CODE, status);
    if (status != L"200")
    {
        file->Close();
        file.reset();
        return false;
    }
    return true;
}

// The cover's bytes; false when it cannot be had whole.
bool FetchCover(const CString& address, std::vector<BYTE>& picture)
{
    picture.clear();
    if (address.IsEmpty())
        return false;
    try
    {
        CInternetSession session(NULL, 1, PRE_CONFIG_INTERNET_ACCESS, NULL, NULL, 0);
        session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 30000);
        session.SetOption(INTERNET_OPTION_CONNECT_BACKOFF, 1000);
        session.SetOption(INTERNET_OPTION_CONNECT_RETRIES, 1);
        std::unique_ptr<CHttpFile> file;
        if (!OpenCover(session, address, file))
        {
            // Covers are often kept with an upper-case ending.
            int dot = address.ReverseFind(L'.');
            if (dot < 0 || !OpenCover(session, address.Left(dot + 1) + L"JPG", file))
                return false;
        }
        CString lengthText;
        file->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, lengthText);
        long long announced = lengthText.IsEmpty() ? -1 : _wtoi64(lengthText);
        if (announced > (long long)AlbumCoverJob::MaxCoverBytes)
            return false;
        BYTE piece[8192];
        for (;;)
        {
            UINT got = file->Read(piece, sizeof piece);
            if (got == 0)
                break;
            if (picture.size() + got > AlbumCoverJob::MaxCoverBytes)
                return false;
            picture.insert(picture.end(), piece, piece + got);
        }
        file->Close();
        // A cut-off or empty picture is no cover.
        if (picture.empty() || (announced >= 0 && (long long)picture.size() != announced))
            return false;
        return true;
    }
    catch (CException* e)
    {
        e->Delete();
        return false;
    }
}

bool ReceiveReply(CTcpSocket& socket, char* reply, int size)
{
    for (int got = 0; got < size;)
    {
        int n = socket.Receive(reply + got, size - got);
        if (n <= 0)
            return false;
        got += n;
    }
    return true;
}

bool SendAll(CTcpSocket& socket, const BYTE* data, DWORD size)
{
    for (DWORD sent = 0; sent < size;)
    {
        int n = socket.Send(data + sent, (int)(size - sent));
        if (n <= 0)
            return false;
        sent += (DWORD)n;
    }
    return true;
}

AlbumCoverJob::Result Offer(const CString& albumId, const CString& hash, const CString& userId,
                            const std::vector<BYTE>* fetched, const CString& coverFile)
{
    DWORD size = 0;
    HANDLE stored = INVALID_HANDLE_VALUE;
    if (fetched)
        size = (DWORD)fetched->size();
    else
    {
        stored = CreateFileW(coverFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, NULL);
        if (stored == INVALID_HANDLE_VALUE)
            return AlbumCoverJob::NothingToOffer;
        size = GetFileSize(stored, NULL);
    }
    ImageServerHeader header;
    header.SetLength(ImageServerHeader::Size + size);
    header.SetKind(ImageServerHeader::KindAlbumCover);
    header.SetUserId((DWORD)_wtoi(userId));
    header.SetItem((DWORD)_wtoi(albumId));
    CStringA ansiHash(hash);
    header.SetSecondText(ansiHash);

    AlbumCoverJob::Result result = AlbumCoverJob::NotConnected;
    CTcpSocket socket;
    char reply[12] = {};
    if (ImageServerLink::Connect(socket, FALSE) && ImageServerLink::SendHeader(socket, header) &&
        ReceiveReply(socket, reply, sizeof reply))
    {
        result = AlbumCoverJob::Declined;
        if (reply[0] == 'O' && reply[1] == 'K')
        {
            bool sent = true;
            if (fetched)
                sent = SendAll(socket, fetched->data(), size);
            else
            {
                BYTE piece[ImageServerLink::PieceSize];
                for (DWORD done = 0; sent && done < size;)
                {
                    DWORD got = 0;
                    if (!ReadFile(stored, piece, sizeof piece, &got, NULL) || got == 0)
                        break;
                    sent = SendAll(socket, piece, got);
                    done += got;
                }
            }
            result = sent ? AlbumCoverJob::Offered : AlbumCoverJob::NotConnected;
        }
    }
    socket.Close();
    if (stored != INVALID_HANDLE_VALUE)
        CloseHandle(stored);
    return result;
}
} // namespace

CString AlbumCoverJob::AlbumIdOf(LPCWSTR coverAddress)
{
    CString address = coverAddress ? coverAddress : L"";
    CString id = address.Mid(address.ReverseFind(L'_') + 1);
    int dot = id.Find(L'.');
    return dot >= 0 ? id.Left(dot) : id;
}

CString AlbumCoverJob::AlbumFolder()
{
    wchar_t music[MAX_PATH + 1] = L"";
    if (!GetShellSpecialFolderPath(NULL, music, SHELL_FOLDER_MYMUSIC, FALSE) || !music[0])
        return CString();
    return CString(music) + L"\\yeb360\\album";
}

HANDLE AlbumCoverJob::Start(LPCWSTR coverAddress, LPCWSTR songHash, LPCWSTR userId)
{
    JobArguments* job = new JobArguments{coverAddress, songHash, userId};
    HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, JobThread, job, 0, NULL);
    if (!thread)
        delete job;
    return thread;
}

AlbumCoverJob::Result AlbumCoverJob::Run(LPCWSTR coverAddress, LPCWSTR songHash, LPCWSTR userId)
{
    CString folder = AlbumFolder();
    if (folder.IsEmpty())
        return NoFolder;
    CString address = coverAddress ? coverAddress : L"";
    CString hash = songHash ? songHash : L"";
    CString user = userId ? userId : L"";
    CString albumId = AlbumIdOf(address);
    CreateFolderPath(folder);
    CString ini = folder + L"\\albums.ini";
    CString coverFile;
    coverFile.Format(L"%s\\%s.jpg", (LPCWSTR)folder, (LPCWSTR)albumId);

    std::vector<BYTE> picture;
    bool fetched = false;
    {
        std::lock_guard<std::mutex> hold(g_albumFiles);
        wchar_t known[8] = L"";
        GetPrivateProfileStringW(albumId, hash, L"", known, 8, ini);
        bool listed = _wtoi(known) != 0 || _wcsicmp(known, L"true") == 0 || _wcsicmp(known, L"yes") == 0;
        if (listed || FileExists(coverFile))
        {
            if (!listed)
                WritePrivateProfileStringW(albumId, hash, L"1", ini);
        }
        else
        {
            WritePrivateProfileStringW(albumId, hash, L"1", ini);
            if (!FetchCover(address, picture))
            {
                // The next download of a song of this album tries again.
                WritePrivateProfileStringW(albumId, NULL, NULL, ini);
                return FetchFailed;
            }
            DWORD attributes = GetFileAttributesW(coverFile);
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
                SetFileAttributesW(coverFile, attributes & ~FILE_ATTRIBUTE_READONLY);
            HANDLE file =
                CreateFileW(coverFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (file != INVALID_HANDLE_VALUE)
            {
                DWORD written = 0;
                WriteFile(file, picture.data(), (DWORD)picture.size(), &written, NULL);
                CloseHandle(file);
            }
            fetched = true;
        }
    }
    if (fetched)
        return Offer(albumId, hash, user, &picture, coverFile);
    return Offer(albumId, hash, user, NULL, coverFile);
}
