// Installs one downloaded module package (a zip archive) into the client's
// folder: closes the programs the module names, then unregisters, deletes,
// unpacks, registers and runs the module's files in this order, logging each
// file with its result. The module "Updater" cannot replace its own running
// files: they are only unpacked, below their folder's
// "Download\updaterTemp\", for the client to move into place.
//
// Nothing on disk changes before the whole package has been checked: its
// SHA-256 when the manifest gives one, every target path (it must stay inside
// the client's folder) and every archive entry (present, within the size
// cap, complete, CRC-32 correct). Each file is then written beside its
// target and moved over it.
#pragma once

#include "Framework.h"
#include "UpdateManifest.h"

#include <map>
#include <vector>

class CZipPackage;

// What the installer shows and asks: the update window, reached from the
// install thread.
class UpdateInstallOwner
{
  public:
    virtual ~UpdateInstallOwner() = default;
    // The text becomes the status line and is appended to the log.
    virtual void ShowInstallLog(LPCWSTR text, BOOL endLine) = 0;
    virtual void SetInstallProgressRange(int upper) = 0;
    virtual void SetInstallProgress(int position) = 0;
    virtual void StepInstallProgress() = 0;
    // A question of the updater's message box: IDOK or IDCANCEL.
    virtual int AskUser(LPCWSTR text, int style) = 0;
};

class CUpdateInstaller
{
  public:
    CUpdateInstaller();

    void SetOwner(UpdateInstallOwner* owner) { m_owner = owner; }
    void SetClientDir(LPCWSTR folder) { m_clientDir = folder ? folder : L""; }
    void SetModule(UpdateModule* module) { m_module = module; }
    // Bounded waits: a program run by the package, and the closing of a
    // program that must not run during the install.
    void SetRunTimeout(DWORD ms) { m_runTimeout = ms; }
    void SetCloseTimeout(DWORD ms) { m_closeTimeout = ms; }

    // 1 installed (the module is marked), 0 failed.
    int InstallPackage(LPCWSTR packagePath);
    // 1 when no such program of the client's folder runs any more; 0 without
    // an owner or when it cannot be ended in time.
    int CloseRunningPrograms(LPCWSTR exeName);
    int UnregisterFiles();
    int DeleteFiles();
    int RegisterFiles();
    int RunFiles();
    // Reads and checks every entry of "Add", "Reg" and "Run"; 0 at the first
    // one missing or damaged (logged for "Add").
    int ReadPackageFiles(CZipPackage& package);
    // Writes the read entries to their targets, "Add", "Reg", "Run" in order.
    int ExtractFiles();
    void Log(LPCWSTR text, BOOL endLine);

    // The target of a file: client folder + dest + name (for the module
    // "Updater" with "Download\updaterTemp\" before the name). FALSE when it
    // would leave the client's folder.
    BOOL TargetOf(const UpdateFile& file, CString& target) const;

  private:
    BOOL IsUpdater() const;
    BOOL CheckTargets();
    BOOL CheckDigest(LPCWSTR packagePath);
    int ExtractList(LPCWSTR oper);

    UpdateInstallOwner* m_owner;
    UpdateModule* m_module;
    CString m_clientDir;
    DWORD m_runTimeout;
    DWORD m_closeTimeout;
    std::map<const UpdateFile*, std::vector<BYTE>> m_contents;
};
