// The updater's model of what is installed ("VersionInfo.ini" in the
// client's folder) and what is offered (the manifest "AutoUpdate.xml" that
// the client downloaded into "<My Music>\yeb360\temp\"): per module the
// packets taken, the state (forced, offered or up to date) and, after each
// installed module, the versions written back.
#pragma once

#include "Framework.h"
#include "UpdateManifest.h"

class CUpdateList
{
  public:
    CUpdateList();

    // The client's folder (ending in '\'); VersionInfo.ini lies there.
    void SetClientDir(LPCWSTR folder) { m_clientDir = folder ? folder : L""; }
    const CString& GetClientDir() const { return m_clientDir; }

    // LoadVersionInfo, then LoadManifest (whose result is not used). 1.
    int Load();
    void LoadVersionInfo();
    // 0, or E_INVALIDARG when the music folder is unknown or the manifest
    // cannot be read.
    HRESULT LoadManifest();
    HRESULT ParseManifest(const CXmlElement* root);
    // Counts forced (state 2) and offered (state 1) modules that have a
    // record. Returns 1.
    int CountUpdates(int& forced, int& offered) const;
    // Installed modules get their versions (the updater only NeedUpdate),
    // then every record is written. 1.
    int SaveInstalledVersions();
    void Clear() { m_manifest.ClearModules(); }

    UpdateModule* FindModule(LPCWSTR name) const { return m_manifest.FindModule(name); }
    ClientVersionInfo* FindRecord(LPCWSTR name) { return m_manifest.FindRecord(name); }

    // Where the manifest lies (GetUpdateManifestFolder).
    static CString ManifestFolder();

    CUpdateManifest m_manifest;

  private:
    CString m_clientDir;
};
