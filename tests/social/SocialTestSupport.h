// Helpers of the social tests: the output folder for pictures, the
// language file, message pumping and screen captures.
#pragma once

#include "Framework.h"
#include <initializer_list>
#include <string>

// A text as gtest prints it readably.
inline std::wstring W(const CString& text)
{
    return std::wstring((const wchar_t*)text);
}

class CFriendItem;
class CPixImage;
class CPlaylist;
class CSongInfo;
class CSongLibrary;

// A song of the tests' own libraries: hash "H" + id, three minutes, 4096
// bytes, the path C:\music\<title>.mp3.
CSongInfo LibrarySong(LPCWSTR id, LPCWSTR title, LPCWSTR type = L"0", LPCWSTR artist = L"Singer",
                      LPCWSTR duration = L"1800000000");
// A song list of the given kind holding the given song ids in order.
CPlaylist LibraryList(LPCWSTR name, int kind, std::initializer_list<LPCWSTR> ids);
// The own library's two special lists at its end: the buddy playlist with
// the given songs and an empty recent list.
void AddSpecialLists(CSongLibrary& library, std::initializer_list<LPCWSTR> buddySongIds);

// A buddy-list row of a test: kind, sub-order, flags, id, nick and presence.
CFriendItem TestRow(int kind, int subOrder, int flags, LPCWSTR id, LPCWSTR nick, int presence = 0);
// A buddy's row: online group (kind 2) or offline group (kind 3) by presence.
CFriendItem TestBuddy(LPCWSTR id, LPCWSTR nick, int presence);

// build\test-output\social (created on first use).
std::wstring SocialOutputFolder();
// Loads the program's language file into the process's table once.
void LoadLanguageFile();
// Delivers the messages waiting for this thread.
void PumpMessages();
// Pumps until the condition holds or the time is up; the condition's last value.
template <typename Cond> bool PumpUntil(Cond cond, DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (!cond() && ::GetTickCount() - start < ms)
    {
        PumpMessages();
        ::Sleep(10);
    }
    return cond();
}
// Keeps a window's picture as a PNG of the output folder (as a user sees it
// on the screen) and reads it back for the test; false when it cannot.
bool CaptureWindowPicture(HWND window, const wchar_t* fileName, CPixImage* picture = nullptr);
// The colour of a picture's pixel, counted from its top-left corner.
COLORREF PixelAt(CPixImage& picture, int x, int y);
// Writes a 30 x 30 picture of one colour as a PNG file.
bool WriteSolidPicture(const std::wstring& path, COLORREF color);

class ServiceProcess;

// Ann (a@x.com, pass1) and Ben (b@x.com, pass2), each the other's buddy.
extern const char kAnnAndBenAccounts[];
// Starts the stand-in service with these accounts and points the client's
// addresses at it; false when any of it fails.
bool StartServiceWithAccounts(ServiceProcess& service, const char* accounts);
// The main window's question box, answered "OK" without showing.
int AnswerAskUserOk(LPCWSTR, int, LPCWSTR, int, CWnd*);
// Logs the main window in on the real messaging library against the stand-in
// service's messaging port, as the login thread does (the library calls back
// on its own thread).
void LogInThroughMessaging(HWND mainWindow, int port, LPCWSTR email, LPCWSTR password);
