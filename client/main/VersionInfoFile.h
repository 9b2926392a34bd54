// "VersionInfo.ini" beside the client program as the client reads and writes
// it: one section per module with "Key", "Version", "UnUpdateVersion" and,
// for "Updater", "NeedUpdate" (the updater left new files of its own in
// "Download\updaterTemp\" for the client to move into place). The client
// copies Keys through unchanged; the updater makes them.
#pragma once

#include "Framework.h"
#include "UpdateManifest.h"

#include <map>

// Result of the update check when "VersionInfo.ini" is missing.
const HRESULT UPDATE_E_NO_VERSION_INFO = (HRESULT)0x80204003;

class CVersionInfoFile
{
  public:
    explicit CVersionInfoFile(LPCWSTR path) : m_path(path ? path : L"") {}

    // The folder of programPath up to and including its last backslash +
    // "VersionInfo.ini"; "" when the path has no folder.
    static CString PathBeside(LPCWSTR programPath);

    // Reads "Client", "Updater", then every other section of the file, into
    // records (cleared first); a section without a Version gives no record.
    // 0, or UPDATE_E_NO_VERSION_INFO when the file does not exist.
    HRESULT Load(std::map<CString, ClientVersionInfo>& records) const;
    // Writes every record under the section of its name, in name order.
    void Save(const std::map<CString, ClientVersionInfo>& records) const;
    BOOL ReadSection(LPCWSTR section, ClientVersionInfo& record) const;
    void WriteSection(const ClientVersionInfo& record) const;

    const CString& GetPath() const { return m_path; }

  private:
    CString m_path;
};
