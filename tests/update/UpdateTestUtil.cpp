#include "UpdateTestUtil.h"

#include "Sha256.h"
#include "ShellFolder.h"

#include <tlhelp32.h>

namespace updatetest
{

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out((size_t)n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring out((size_t)n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), &out[0], n);
    return out;
}

static std::wstring g_music;

static HRESULT WINAPI TestMusicFolder(HWND, int folder, HANDLE, DWORD, LPWSTR path)
{
    if ((folder & 0xFF) != SHELL_FOLDER_MYMUSIC)
        return E_FAIL;
    lstrcpyW(path, g_music.c_str());
    return S_OK;
}

void UseMusicFolder(const std::wstring& folder)
{
    g_music = folder;
    SetShellFolderFunctions(nullptr, folder.empty() ? nullptr : TestMusicFolder);
}

std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring PackageFolder()
{
    return std::wstring(YEB_TEST_DATA) + L"\\";
}

std::wstring Package(const std::wstring& name)
{
    return PackageFolder() + name;
}

ScratchFolder::ScratchFolder(const std::wstring& name)
{
    static LONG counter = 0;
    wchar_t unique[64];
    wsprintfW(unique, L"-%lu-%ld\\", GetCurrentProcessId(), InterlockedIncrement(&counter));
    m_path = std::wstring(YEB_BINARY_DIR) + L"\\update-scratch\\" + name + unique;
    RemoveTree(m_path);
    MakeFolders(m_path);
}

ScratchFolder::~ScratchFolder()
{
    if (!GetEnvironmentVariableW(L"YEB_KEEP_UPDATE_SCRATCH", nullptr, 0))
        RemoveTree(m_path);
}

bool MakeFolders(const std::wstring& folder)
{
    for (size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == L'\\')
            CreateDirectoryW(folder.substr(0, i).c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteText(const std::wstring& path, const std::string& bytes)
{
    MakeFolders(path.substr(0, path.rfind(L'\\')));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadText(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyInto(const std::wstring& source, const std::wstring& target)
{
    MakeFolders(target.substr(0, target.rfind(L'\\')));
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

static void SnapshotInto(const std::wstring& base, const std::wstring& relative, const std::wstring& skip,
                         std::map<std::wstring, std::string>& files)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + relative + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = relative + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (skip.empty() || _wcsicmp((path + L"\\").c_str(), skip.c_str()) != 0)
                SnapshotInto(base, path + L"\\", skip, files);
        }
        else
        {
            // Size and digest: a difference shows without printing a program.
            std::string bytes = ReadText(base + path);
            CSha256 sha;
            sha.Update(bytes.data(), (DWORD)bytes.size());
            BYTE digest[32];
            sha.Final(digest);
            wchar_t text[65];
            FormatSha256Hex(digest, text);
            files[path] = std::to_string(bytes.size()) + " " + Utf8(text).substr(0, 16);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::map<std::wstring, std::string> Snapshot(const std::wstring& folder, const std::wstring& skip)
{
    std::map<std::wstring, std::string> files;
    SnapshotInto(folder, L"", skip, files);
    return files;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do
    {
        if (!ReadText(path).empty())
            return true;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

std::vector<std::string> ProbeLines(const std::wstring& probePath)
{
    std::vector<std::string> lines;
    std::string text = ReadText(probePath + L".cmdline");
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments,
                    const std::vector<std::pair<std::wstring, std::wstring>>& environment)
{
    std::wstring line = L"\"" + program + L"\" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (auto& variable : environment)
    {
        wchar_t old[2048] = {};
        DWORD n = GetEnvironmentVariableW(variable.first.c_str(), old, 2048);
        saved.emplace_back(variable.first, n ? std::wstring(old) : std::wstring(L"\x1")); // "\x1": was unset
        SetEnvironmentVariableW(variable.first.c_str(), variable.second.c_str());
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    BOOL ok = CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &info);
    for (auto& variable : saved)
        SetEnvironmentVariableW(variable.first.c_str(), variable.second == L"\x1" ? nullptr : variable.second.c_str());
    if (!ok)
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

static std::wstring FullLongPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2] = {}, longPath[MAX_PATH * 2] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    if (!GetLongPathNameW(full, longPath, MAX_PATH * 2))
        return full;
    return longPath;
}

// Ids of the processes started from this file.
static std::vector<DWORD> ProcessesOf(const std::wstring& program)
{
    std::wstring wanted = FullLongPath(program);
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        wchar_t path[MAX_PATH * 2];
        DWORD size = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(process, 0, path, &size) && _wcsicmp(FullLongPath(path).c_str(), wanted.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ids;
}

bool ProgramRuns(const std::wstring& program)
{
    return !ProcessesOf(program).empty();
}

void KillProgram(const std::wstring& program)
{
    for (DWORD id : ProcessesOf(program))
    {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process)
            continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

HANDLE WaitForProgram(const std::wstring& program, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        for (DWORD id : ProcessesOf(program))
            if (HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id))
                return process;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(100);
    }
}

bool WaitUntilEnded(const std::wstring& program, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (ProgramRuns(program))
    {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(100);
    }
    return true;
}

} // namespace updatetest
