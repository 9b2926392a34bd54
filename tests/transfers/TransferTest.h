#pragma once
#include <gtest/gtest.h>
#include "Framework.h"
#include "ServiceAddresses.h"
#include "ServiceProcess.h"

#include <functional>
#include <string>
#include <vector>

// A window that keeps every message of one number it receives.
class MessageSink
{
  public:
    explicit MessageSink(UINT message);
    ~MessageSink();
    HWND Handle() const { return m_window; }
    struct Entry
    {
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> received;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
    UINT m_message;
};

void PumpMessages();
// Pumps until done() or the timeout; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void LoadLanguageFile();
// A fresh folder below the build folder's test output, of the running test.
std::wstring FreshFolder(const std::wstring& name);
std::wstring PictureFolder();
// Brings the window above all others at (x, y), paints it and keeps its
// picture in the picture folder (tests run side by side on one display).
bool KeepPicture(HWND window, const wchar_t* name, int x, int y);
std::vector<std::wstring> FilesIn(const std::wstring& folder);
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// The bytes the service sends for a song of that size.
std::string SongPattern(size_t count);

// A test against the stand-in service, which the client's addresses point at.
class TransferTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(service.Start());
        CServiceAddresses::Get().Load(service.ClientIniPath().c_str());
        LoadLanguageFile();
    }
    void TearDown() override { CServiceAddresses::Get().Reset(); }
    static CString WebUrl(LPCWSTR path) { return CServiceAddresses::Get().WebUrl(path); }
    ServiceProcess service;
};
