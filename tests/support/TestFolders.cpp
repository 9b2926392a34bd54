#include "TestFolders.h"

#include <cstring>
#include <gtest/gtest.h>
#include <windows.h>

void RemoveTree(const std::wstring& folder)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\')
        base += L'\\';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = base + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
            {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
}

std::wstring FreshTestFolder(const std::wstring& parent, const std::wstring& name)
{
    std::wstring folder = parent + L"\\" + name;
    if (const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info())
    {
        const char* testName = test->name(); // ASCII, as gtest names are
        folder += L"-" + std::wstring(testName, testName + strlen(testName));
    }
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), NULL);
    return folder;
}
