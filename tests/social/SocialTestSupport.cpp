#include "SocialTestSupport.h"
#include "DlgMain.h"
#include "FriendItem.h"
#include "LanguageTable.h"
#include "PixImage.h"
#include "Playlist.h"
#include "SongInfo.h"
#include "SongLibrary.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"
#include "Vossel.h"
#include "WindowPicture.h"

std::wstring SocialOutputFolder()
{
    static std::wstring folder;
    if (folder.empty())
    {
        folder = std::wstring(YEB_BINARY_DIR) + L"\\test-output";
        ::CreateDirectoryW(folder.c_str(), NULL);
        folder += L"\\social";
        ::CreateDirectoryW(folder.c_str(), NULL);
    }
    return folder;
}

void LoadLanguageFile()
{
    static bool loaded = LanguageTable::Instance().Load((std::wstring(YEB_SOURCE_DIR) + L"\\resources\\lng\\default.LNG").c_str());
    (void)loaded;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool CaptureWindowPicture(HWND window, const wchar_t* fileName, CPixImage* picture)
{
    ::UpdateWindow(window);
    PumpMessages();
    std::wstring path = SocialOutputFolder() + L"\\" + fileName;
    return SaveWindowPicture(window, path) && (!picture || picture->Load(path.c_str(), PIXIMAGE_FORMAT_PNG));
}

COLORREF PixelAt(CPixImage& picture, int x, int y)
{
    RGBQUAD c = picture.GetPixelColor(x, (long)picture.GetHeight() - 1 - y);
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

bool WriteSolidPicture(const std::wstring& path, COLORREF color)
{
    CPixImage image;
    if (!image.Create(30, 30, 24, PIXIMAGE_FORMAT_PNG))
        return false;
    RGBQUAD c = {GetBValue(color), GetGValue(color), GetRValue(color), 0};
    for (long y = 0; y < 30; ++y)
        for (long x = 0; x < 30; ++x)
            image.SetPixelColor(x, y, c);
    return image.Save(path.c_str(), PIXIMAGE_FORMAT_PNG);
}


CFriendItem TestRow(int kind, int subOrder, int flags, LPCWSTR id, LPCWSTR nick, int presence)
{
    CFriendItem item;
    item.kind = kind;
    item.subOrder = subOrder;
    item.flags = flags;
    item.id = id;
    item.nick = nick;
    item.presence = presence;
    return item;
}

CFriendItem TestBuddy(LPCWSTR id, LPCWSTR nick, int presence)
{
    return TestRow(presence > 2 ? 3 : 2, 1, 6, id, nick, presence);
}

const char kAnnAndBenAccounts[] = "a@x.com\tpass1\tAnn\tb@x.com\n"
                                  "b@x.com\tpass2\tBen\ta@x.com\n";

bool StartServiceWithAccounts(ServiceProcess& service, const char* accounts)
{
    if (!service.Start() || !service.WriteDataFile("accounts.txt", accounts))
        return false;
    CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
    return true;
}

int AnswerAskUserOk(LPCWSTR, int, LPCWSTR, int, CWnd*)
{
    return IDOK;
}

void LogInThroughMessaging(HWND mainWindow, int port, LPCWSTR email, LPCWSTR password)
{
    CString options;
    options.Format(L"im.yeb360&127.0.0.1:%d", port);
    yebJinSetOptions(options);
    yebJinClientLogin(email, password, NULL, &CDlgMain::OnMessagingCommand, mainWindow);
}

CSongInfo LibrarySong(LPCWSTR id, LPCWSTR title, LPCWSTR type, LPCWSTR artist, LPCWSTR duration)
{
    CSongInfo song;
    song.SetId(id);
    song.SetHash(CString(L"H") + id);
    song.SetTitle(title);
    song.SetAuthor(artist);
    song.SetType(type);
    song.SetDuration(duration);
    song.SetFileSize(L"4096");
    song.SetPath(CString(L"C:\\music\\") + title + L".mp3");
    return song;
}

CPlaylist LibraryList(LPCWSTR name, int kind, std::initializer_list<LPCWSTR> ids)
{
    CPlaylist list;
    list.SetName(name);
    list.SetKind(kind);
    for (LPCWSTR id : ids)
        list.AddSongKey(id, TRUE);
    return list;
}

void AddSpecialLists(CSongLibrary& library, std::initializer_list<LPCWSTR> buddySongIds)
{
    library.AddOrUpdatePlaylist(LibraryList(Lang(L"STR_MAIN_BUDDY_PLAYLIST_NAME"), PLAYLIST_KIND_BUDDY, buddySongIds));
    library.AddOrUpdatePlaylist(LibraryList(Lang(L"STR_MAIN_MY_RECENT_SONGLIST_NAME"), PLAYLIST_KIND_RECENT, {}));
}
