#include "AvatarTransfer.h"

#include "BuddyCommands.h"
#include "ClientApp.h"
#include "CommandTexts.h"
#include "DataFolder.h"
#include "DlgMain.h"
#include "FileFolder.h"
#include "ImageServerLink.h"
#include "PartFileDownload.h"
#include "ShellFolder.h"
#include "TextConversion.h"
#include "WorkerThreadRegistry.h"

#include <process.h>

#include <memory>

using namespace WorkerThreadRegistry;

namespace AvatarTransfer
{
namespace
{
HWND MainWindow()
{
    CDlgMain* main = CDlgMain::Instance();
    HWND window = main ? main->GetSafeHwnd() : NULL;
    return ::IsWindow(window) ? window : NULL;
}

CString OwnEmail()
{
    CString email;
    if (CClientApp* app = GetClientApp())
        app->GetUserEmail(email);
    return email;
}

unsigned long UidOf(const CString& email)
{
    CDlgMain* main = CDlgMain::Instance();
    if (!main)
        return 0;
    CString uid;
    CClientApp* app = GetClientApp();
    if (app && email == OwnEmail())
        uid = app->GetUserId();
    if (uid.IsEmpty())
        uid = main->GetBuddyUserId(email);
    return (unsigned long)_wtol(uid);
}

void StartThread(unsigned(__stdcall* proc)(void*), StringPair* pair)
{
    uintptr_t thread = _beginthreadex(NULL, 0, proc, pair, 0, NULL);
    if (thread)
        ::CloseHandle((HANDLE)thread);
    else
        delete pair;
}
} // namespace

CString AvatarFolder(const CString& email, BOOL own)
{
    return BuildAvatarFolder(email, !own);
}

CString AvatarAddress(const CString& base, unsigned long uid)
{
    CString address;
    address.Format(L"%s%03lu/%03lu/%lu.jpg", (LPCWSTR)base, uid % 1000, (uid / 1000) % 1000, uid);
    return address;
}

int DownloadAvatar(const CString& email, BOOL own)
{
    if (!MainWindow())
        return 0;
    unsigned long uid = UidOf(email);
    if (!uid || email.IsEmpty())
        return 0;
    CString folder = AvatarFolder(email, own);
    if (folder.IsEmpty())
        return 0;
    CreateFolderPath(folder);
    CString path = folder + email + L".jpg";
    DWORD attributes = ::GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    // The picture goes to a ".part" file first and replaces the old one only
    // when it arrived whole and within the size cap.
    PartFileDownload download;
    download.url = AvatarAddress(AvatarBaseAddress(), uid);
    download.path = path;
    download.maxBytes = MAX_AVATAR_BYTES;
    download.lengthRequired = true;
    download.proxyResend = true;
    download.stopRequested = [] { return StopRequested() != FALSE; };
    return download.Run() == PartFileDownload::DONE ? 1 : 0;
}

void NotifyAvatarReady(CString* text, int own)
{
    HWND main = MainWindow();
    if (!main || StopRequested())
    {
        delete text;
        return;
    }
    ::SendMessageW(main, WM_AVATAR_READY, (WPARAM)text, own);
}

void StartAvatarLoaderThread(const CString& text)
{
    StringPair* pair = NewStringPair(text);
    // Every buddy: the addresses are taken here, on the window's thread, since
    // the buddy list may grow while the loader runs.
    CDlgMain* main = CDlgMain::Instance();
    if (pair && text.IsEmpty() && main)
        for (int i = 0; i < main->m_buddyStore.GetCount(); ++i)
        {
            CBuddyRecord buddy;
            if (SUCCEEDED(main->m_buddyStore.GetAt(i, buddy)))
                pair->second += buddy.GetEmail() + L"\n";
        }
    StartThread(&AvatarLoaderThread, pair);
}

unsigned __stdcall AvatarLoaderThread(void* argument)
{
    std::unique_ptr<StringPair> pair(static_cast<StringPair*>(argument));
    CString text = pair ? pair->first : CString();
    CDlgMain* main = CDlgMain::Instance();
    if (!MainWindow() || !main)
        return (unsigned)-1;
    RegisterWorkerThread(LOADERS, ::GetCurrentThreadId());
    ::Sleep(100);
    if (text.IsEmpty())
    {
        CString buddies = pair ? pair->second : CString();
        for (int start = 0, end; start < buddies.GetLength() && !StopRequested(); start = end + 1)
        {
            end = buddies.Find(L'\n', start);
            if (end < 0)
                end = buddies.GetLength();
            CString email = buddies.Mid(start, end - start);
            if (!email.IsEmpty() && DownloadAvatar(email, FALSE) == 1 && MainWindow())
                NotifyAvatarReady(new CString(email), 0);
        }
    }
    else if (text == OwnEmail())
    {
        if (DownloadAvatar(text, TRUE) == 1)
            NotifyAvatarReady(NULL, 1);
    }
    else if (DownloadAvatar(text, FALSE) == 1 && MainWindow())
        NotifyAvatarReady(new CString(text), 0);
    UnregisterLoaderThread();
    return 1;
}

void StartAvatarUpload(const CString& email, const CString& path)
{
    StringPair* pair = NewStringPair(email);
    pair->second = path;
    StartThread(&AvatarUploadThread, pair);
}

BOOL UploadAvatarFile(const CString& email, const CString& path)
{
    char emailA[ImageServerHeader::FirstTextWidth + 1] = {};
    char extension[ImageServerHeader::TypeTextWidth + 1] = {};
    int dot = path.ReverseFind(L'.');
    CString ext = dot >= 0 ? path.Mid(dot + 1) : CString();
    // Texts that do not fit their header fields would reach the host cut:
    // such an upload is refused.
    if (!WideToMultiByteBuf(emailA, email, ImageServerHeader::FirstTextWidth, CP_ACP)[0] ||
        (!ext.IsEmpty() && !WideToMultiByteBuf(extension, ext, ImageServerHeader::TypeTextWidth, CP_ACP)[0]))
        return FALSE;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > MAX_AVATAR_BYTES)
    {
        ::CloseHandle(file);
        return FALSE;
    }
    ImageServerHeader header;
    header.SetLength((DWORD)(ImageServerHeader::Size + size.QuadPart));
    header.SetKind(ImageServerHeader::KindAvatar);
    CClientApp* app = GetClientApp();
    header.SetUserId((DWORD)_wtol(app ? app->GetUserId() : CString()));
    header.SetFirstText(emailA);
    header.SetTypeText(extension);
    BOOL sent = FALSE;
    CTcpSocket socket;
    if (ImageServerLink::Connect(socket, FALSE) && ImageServerLink::SendHeader(socket, header))
    {
        long long total = 0;
        char piece[ImageServerLink::PieceSize];
        DWORD got = 0;
        sent = TRUE;
        while (total < size.QuadPart && ::ReadFile(file, piece, sizeof(piece), &got, NULL) && got)
        {
            if (socket.Send(piece, (int)got, 0) != (int)got)
            {
                sent = FALSE;
                break;
            }
            total += got;
        }
        sent = sent && total == size.QuadPart;
        socket.Close();
    }
    ::CloseHandle(file);
    return sent;
}

unsigned __stdcall AvatarUploadThread(void* argument)
{
    std::unique_ptr<StringPair> pair(static_cast<StringPair*>(argument));
    if (!pair)
        return (unsigned)-1;
    RegisterWorkerThread(UPLOADS, ::GetCurrentThreadId());
    try
    {
        // The buddies hear of the new picture only when it reached the host.
        if (UploadAvatarFile(pair->first, pair->second) && !StopRequested())
        {
            ::Sleep(500);
            CDlgMain* main = CDlgMain::Instance();
            if (main && MainWindow())
                for (int i = 0; i < main->m_buddyStore.GetCount(); ++i)
                {
                    CBuddyRecord buddy;
                    if (SUCCEEDED(main->m_buddyStore.GetAt(i, buddy)))
                        CBuddyCommands::PushAvatarChanged(buddy.GetEmail());
                }
        }
    }
    catch (...)
    {
    }
    UnregisterWorkerThread(UPLOADS, ::GetCurrentThreadId());
    return 1;
}
} // namespace AvatarTransfer
