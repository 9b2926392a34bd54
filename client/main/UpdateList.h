// The client's update check before every login: finishes a pending
// self-update of the updater, downloads the update manifest "AutoUpdate.xml"
// into the data folder's temp folder from the first update location that
// answers, and compares it with "VersionInfo.ini".
#pragma once

#include "Framework.h"
#include "UpdateManifest.h"
#include "VersionInfoFile.h"

#include <utility>
#include <vector>

// Result codes of the check.
const HRESULT UPDATE_E_DOWNLOAD_MANIFEST = (HRESULT)0x80204001;
const HRESULT UPDATE_E_READ_MANIFEST = (HRESULT)0x80204002;
const HRESULT UPDATE_S_UPDATER_STARTED = (HRESULT)0x80204101;

class CUpdateList
{
  public:
    CUpdateList();

    // An update location of the server configuration: its D and V (the URL).
    void AddLocation(LPCWSTR d, LPCWSTR url);
    // The client program whose folder holds "VersionInfo.ini" and the
    // updater; the running program unless set.
    void SetProgramPath(LPCWSTR path) { m_programPath = path ? path : L""; }
    CString GetProgramPath() const;

    // 0, UPDATE_E_DOWNLOAD_MANIFEST, UPDATE_E_READ_MANIFEST or UPDATE_E_NO_VERSION_INFO.
    HRESULT Check();
    // Counts the modules of the records that are forced (state 2) and offered
    // (state 1, unless the user declined exactly this verModule). Returns 1.
    int CountUpdates(int& forced, int& optional) const;

    BOOL UpdaterNeedsUpdate() const;
    // Moves the updater's new files from "Download\updaterTemp\" into place
    // as the previous manifest lists them: 1 done, 0 a copy failed,
    // E_INVALIDARG when the previous manifest cannot be read.
    int ApplyUpdaterFiles();
    BOOL DownloadManifest();
    HRESULT LoadManifest();
    // HTTP GET of url into path: 0 or E_FAIL.
    static HRESULT DownloadFile(LPCWSTR url, LPCWSTR path);

    // "<My Music>\yeb360\temp\", created when missing; "" without My Music.
    static CString ManifestFolder();

    CUpdateManifest m_manifest;

  private:
    CString ProgramFolder() const;

    CString m_programPath;
    std::vector<std::pair<CString, CString>> m_locations;
};
