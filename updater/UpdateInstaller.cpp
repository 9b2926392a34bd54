#include "UpdateInstaller.h"

#include "ProcessSearch.h"
#include "Sha256.h"
#include "UpdateFiles.h"
#include "UpdateMessage.h"
#include "UpdatePath.h"
#include "ZipPackage.h"

namespace
{

const wchar_t kBadPackage[] = L"升级文件不正确,请尝试重新升级！";
const wchar_t kSucceeded[] = L"成功";
const wchar_t kFailed[] = L"失败";
// All entries of one package held at once before anything is written.
const unsigned long long kMaxPackageBytes = 256ull * 1024 * 1024;

// Sets the process's current folder to the folder of path while it lives.
class CurrentFolderScope
{
  public:
    explicit CurrentFolderScope(const CString& path)
    {
        GetCurrentDirectoryW(MAX_PATH, m_saved);
        SetCurrentDirectoryW(path.Left(path.ReverseFind(L'\\') + 1));
    }
    ~CurrentFolderScope() { SetCurrentDirectoryW(m_saved); }

  private:
    wchar_t m_saved[MAX_PATH] = {};
};

} // namespace

CUpdateInstaller::CUpdateInstaller()
    : m_owner(nullptr), m_module(nullptr), m_runTimeout(120000), m_closeTimeout(10000)
{
}

void CUpdateInstaller::Log(LPCWSTR text, BOOL endLine)
{
    if (m_owner)
        m_owner->ShowInstallLog(text, endLine);
}

BOOL CUpdateInstaller::IsUpdater() const
{
    return m_module && m_module->name == L"Updater";
}

BOOL CUpdateInstaller::TargetOf(const UpdateFile& file, CString& target) const
{
    return BuildUpdateTarget(m_clientDir, file.dest, IsUpdater() ? L"Download\\updaterTemp\\" : L"", file.name,
                             target);
}

int CUpdateInstaller::CloseRunningPrograms(LPCWSTR exeName)
{
    bool agreed = false;
    DWORD started = GetTickCount();
    for (;;)
    {
        DWORD id = FindProcessInFolder(exeName, m_clientDir);
        if (id == (DWORD)-1)
            return 1;
        if (!m_owner)
            return 0;
        if (!agreed)
        {
            CString question;
            question.Format(L"安装%s需要关闭此程序，请点击“确定”关闭此程序", (LPCWSTR)m_module->text);
            if (m_owner->AskUser(question, UPDATE_MESSAGE_OK_CANCEL) != IDOK)
                continue;
            agreed = true;
            started = GetTickCount();
        }
        // A program that cannot be ended fails the install instead of
        // holding it for ever.
        if (GetTickCount() - started > m_closeTimeout)
            return 0;
        HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
        if (process)
        {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 500);
            CloseHandle(process);
        }
        else
            Sleep(500);
    }
}

BOOL CUpdateInstaller::CheckTargets()
{
    for (auto& group : m_module->files)
        for (const UpdateFile& file : group.second)
        {
            CString target;
            if (!TargetOf(file, target))
            {
                Log(file.name, FALSE);
                Log(kFailed, TRUE);
                return FALSE;
            }
        }
    return TRUE;
}

BOOL CUpdateInstaller::CheckDigest(LPCWSTR packagePath)
{
    if (m_module->sha256.IsEmpty())
        return TRUE;
    wchar_t digest[65] = {};
    return ComputeFileSha256(packagePath, digest) && m_module->sha256.CompareNoCase(digest) == 0;
}

int CUpdateInstaller::InstallPackage(LPCWSTR packagePath)
{
    if (!m_module)
        return 0;
    for (const CString& name : m_module->closeNames)
        if (!CloseRunningPrograms(name))
            return 0;
    if (m_owner)
    {
        m_owner->SetInstallProgressRange(m_module->fileCount);
        m_owner->SetInstallProgress(0);
    }

    // A package that is missing, differs from its digest or is no archive
    // installs nothing and fails the module.
    CZipPackage package;
    if (!FileExists(packagePath) || !CheckDigest(packagePath) || !package.Open(packagePath))
    {
        Log(kBadPackage, TRUE);
        return 0;
    }
    m_contents.clear();
    if (!CheckTargets() || !ReadPackageFiles(package))
    {
        m_contents.clear();
        return 0;
    }
    package.Close();

    UnregisterFiles();
    DeleteFiles();
    int ok = ExtractFiles() && RegisterFiles() && RunFiles();
    m_contents.clear();
    if (!ok)
        return 0;
    if (m_owner)
        m_owner->SetInstallProgress(m_module->fileCount);
    m_module->installed = 1;
    return 1;
}

int CUpdateInstaller::ReadPackageFiles(CZipPackage& package)
{
    unsigned long long total = 0;
    for (LPCWSTR oper : {L"Add", L"Reg", L"Run"})
    {
        const UpdateFileList* files = m_module->Files(oper);
        if (!files)
            continue;
        for (const UpdateFile& file : *files)
        {
            std::vector<BYTE>& bytes = m_contents[&file];
            if (!package.ReadEntry(file.name, bytes) || (total += bytes.size()) > kMaxPackageBytes)
            {
                if (wcscmp(oper, L"Add") == 0)
                {
                    Log(CString(L"添加：") + file.name, FALSE);
                    Log(kFailed, TRUE);
                }
                return 0;
            }
        }
    }
    return 1;
}

int CUpdateInstaller::ExtractList(LPCWSTR oper)
{
    const UpdateFileList* files = m_module->Files(oper);
    if (!files)
        return 1;
    bool logged = wcscmp(oper, L"Add") == 0;
    for (const UpdateFile& file : *files)
    {
        if (logged)
            Log(CString(L"添加：") + file.name, FALSE);
        CString target;
        auto content = m_contents.find(&file);
        bool ok = content != m_contents.end() && TargetOf(file, target) &&
                  WriteExtractedFile(target, content->second.data(), (DWORD)content->second.size());
        if (!ok)
        {
            if (logged)
                Log(kFailed, TRUE);
            return 0;
        }
        if (logged)
        {
            Log(kSucceeded, TRUE);
            if (m_owner)
                m_owner->StepInstallProgress();
        }
    }
    return 1;
}

int CUpdateInstaller::ExtractFiles()
{
    return ExtractList(L"Add") && ExtractList(L"Reg") && ExtractList(L"Run");
}

namespace
{

// Runs action on every file of the list with its log prefix: "成功" or
// "失败" per file, the progress bar moving on after each success. The first
// failure ends the list with 0.
template <typename Action>
int ForEachFile(CUpdateInstaller& installer, UpdateInstallOwner* owner, const UpdateFileList* files, LPCWSTR prefix,
                Action action)
{
    if (!files)
        return 1;
    for (const UpdateFile& file : *files)
    {
        installer.Log(CString(prefix) + file.name, FALSE);
        bool ok = action(file);
        installer.Log(ok ? kSucceeded : kFailed, TRUE);
        if (!ok)
            return 0;
        if (owner)
            owner->StepInstallProgress();
    }
    return 1;
}

} // namespace

int CUpdateInstaller::UnregisterFiles()
{
    return ForEachFile(*this, m_owner, m_module->Files(L"UnReg"), L"注销：", [this](const UpdateFile& file) {
        if (IsUpdater())
            return true;
        CString target;
        if (!TargetOf(file, target))
            return false;
        int unregistered;
        {
            CurrentFolderScope folder(target);
            unregistered = UnregisterServerDll(target);
        }
        return unregistered && RemoveFileIfPresent(target);
    });
}

int CUpdateInstaller::DeleteFiles()
{
    return ForEachFile(*this, m_owner, m_module->Files(L"Del"), L"删除：", [this](const UpdateFile& file) {
        CString target;
        return IsUpdater() || (TargetOf(file, target) && RemoveFileIfPresent(target));
    });
}

int CUpdateInstaller::RegisterFiles()
{
    return ForEachFile(*this, m_owner, m_module->Files(L"Reg"), L"注册：", [this](const UpdateFile& file) {
        if (IsUpdater())
            return true;
        CString target;
        if (!TargetOf(file, target))
            return false;
        CurrentFolderScope folder(target);
        return RegisterServerDll(target) != 0;
    });
}

int CUpdateInstaller::RunFiles()
{
    return ForEachFile(*this, m_owner, m_module->Files(L"Run"), L"运行：", [this](const UpdateFile& file) {
        if (IsUpdater())
            return true;
        CString target;
        if (!TargetOf(file, target))
            return false;
        bool ran = RunProgramAndWait(target, m_runTimeout) != 0;
        RemoveFileIfPresent(target);
        return ran;
    });
}
