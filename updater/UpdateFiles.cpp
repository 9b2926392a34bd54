#include "UpdateFiles.h"

#include "Xml.h"

BOOL FileExists(LPCWSTR path)
{
    if (!path || !*path)
        return FALSE;
    CFileFind finder;
    BOOL found = finder.FindFile(path);
    finder.Close();
    return found;
}

int RemoveFileIfPresent(LPCWSTR path)
{
    if (!path || !*path || !FileExists(path))
        return 0;
    return DeleteFileW(path) ? 1 : 0;
}

int RunProgramAndWait(LPCWSTR path, DWORD timeoutMs)
{
    if (!path || !*path)
        return 1;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 0;
    DWORD waited = WaitForSingleObject(info.hThread, timeoutMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return waited == WAIT_OBJECT_0 ? 1 : 0;
}

namespace
{

typedef HRESULT(STDAPICALLTYPE* ServerEntry)();

// Calls one export of the library; missingExport when it has none.
HRESULT CallServerEntry(HMODULE library, const char* name, HRESULT missingExport)
{
    ServerEntry entry = (ServerEntry)(void*)GetProcAddress(library, name);
    return entry ? entry() : missingExport;
}

} // namespace

int RegisterServerDll(LPCWSTR path)
{
    if (!path || !*path || !FileExists(path))
        return 1;
    HMODULE library = LoadLibraryW(path);
    if (!library)
        return 0;
    HRESULT result = CallServerEntry(library, "DllRegisterServer", E_FAIL);
    FreeLibrary(library);
    return result < 0 ? 0 : 1;
}

int UnregisterServerDll(LPCWSTR path)
{
    if (!path || !*path || !FileExists(path))
        return 0;
    HMODULE library = LoadLibraryW(path);
    if (!library)
        return 1;
    HRESULT result = CallServerEntry(library, "DllUnregisterServer", E_FAIL);
    FreeLibrary(library);
    return result == S_OK ? 1 : 0;
}

int CreateDirectoryPath(LPCWSTR path)
{
    if (!path || !*path)
        return 1;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    CString full(path);
    full += L"\\";
    for (int i = 1; i < full.GetLength(); ++i)
        if ((full[i] == L'\\' || full[i] == L'/') && full[i - 1] != L':')
            CreateDirectoryW(full.Left(i), nullptr);
    return 1;
}

int WriteExtractedFile(LPCWSTR path, const BYTE* bytes, DWORD count)
{
    if (!path || !*path)
        return 1;
    CString target(path);
    int slash = target.ReverseFind(L'\\');
    if (slash < 0)
        return 0;
    CreateDirectoryPath(target.Left(slash));
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    return WriteFileReplacing(path, bytes, count) ? 1 : 0;
}
