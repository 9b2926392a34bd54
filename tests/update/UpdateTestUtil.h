#pragma once

#include "TestFolders.h"
// Helpers of the update tests: scratch folders, files, folder snapshots, the
// probe programs and the packages made before the tests.
#include <winsock2.h>
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace updatetest
{

// A fresh folder below build/update-scratch (removed at destruction).
class ScratchFolder
{
  public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    // The folder with a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& relative) const { return m_path + relative; }

  private:
    std::wstring m_path;
};

bool MakeFolders(const std::wstring& folder);
bool WriteText(const std::wstring& path, const std::string& bytes);
std::string ReadText(const std::wstring& path);
bool Exists(const std::wstring& path);
bool CopyInto(const std::wstring& source, const std::wstring& target);

// Every file below folder (relative path -> size and digest), optionally leaving out
// one subfolder (relative, e.g. L"AutoUpdate\\").
std::map<std::wstring, std::string> Snapshot(const std::wstring& folder, const std::wstring& skip = L"");

// build/bin (ending in '\') and the packages folder.
std::wstring BinFolder();
std::wstring PackageFolder();
std::wstring Package(const std::wstring& name);

// Waits until the file exists and is not empty.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);
// Lines the probe at that path recorded (its "<path>.cmdline").
std::vector<std::string> ProbeLines(const std::wstring& probePath);

// Starts a program with arguments; returns the process handle (caller closes).
HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments,
                    const std::vector<std::pair<std::wstring, std::wstring>>& environment = {});
// Whether a process started from exactly this file runs.
bool ProgramRuns(const std::wstring& program);
bool WaitUntilEnded(const std::wstring& program, DWORD timeoutMs);
// A handle of a process started from exactly this file, once one runs
// (caller closes); null after the timeout.
HANDLE WaitForProgram(const std::wstring& program, DWORD timeoutMs);
// Ends every process started from this file.
void KillProgram(const std::wstring& program);

// Makes the shell's My Music lookup of this process answer folder (without
// a trailing backslash); an empty folder gives the shell's own answer back.
void UseMusicFolder(const std::wstring& folder);

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);

} // namespace updatetest
