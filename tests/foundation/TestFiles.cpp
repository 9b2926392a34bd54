#include "TestFiles.h"

#include "Sha1.h"

#include <shellapi.h>

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static LONG counter = 0;
    m_folder.Format(L"%syeb-foundation-%lu-%ld", temp, GetCurrentProcessId(), InterlockedIncrement(&counter));
    CreateDirectoryW(m_folder, nullptr);
}

ScratchFolder::~ScratchFolder()
{
    // Remove read-only marks first, then the whole tree.
    std::wstring from(m_folder.GetString());
    from.push_back(L'\0');
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(m_folder + L"\\*", &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
            SetFileAttributesW(m_folder + L"\\" + data.cFileName, FILE_ATTRIBUTE_NORMAL);
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

CString ScratchFolder::Path(LPCWSTR name) const
{
    return m_folder + L"\\" + name;
}

std::string ReadFileBytes(LPCWSTR path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(LPCWSTR path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE)
    {
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
        CloseHandle(file);
    }
}

CString DataPath(LPCWSTR name)
{
    return CString(YEB_TEST_DATA) + L"\\" + name;
}

CString Sha1NameOf(const std::string& bytes)
{
    CSha1 sha;
    sha.Update(bytes.data(), (DWORD)bytes.size());
    sha.Final();
    BYTE digest[20];
    sha.GetDigest(digest);
    wchar_t name[42];
    FormatSha1Base32(digest, FALSE, name);
    return name;
}
