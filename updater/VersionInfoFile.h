// "VersionInfo.ini" in the client's folder as the updater reads and writes
// it: one section per module with "Version", "Key" (made anew at every
// write), "UnUpdateVersion" (the offered version the user declined) and, for
// "Updater", "NeedUpdate" (its new files wait in "Download\updaterTemp\").
#pragma once

#include "Framework.h"
#include "UpdateManifest.h"

#include <map>

class CVersionInfoFile
{
  public:
    explicit CVersionInfoFile(LPCWSTR path) : m_path(path ? path : L"") {}

    // Reads "Client", "Updater", then every other section of the file, into
    // records (cleared first). NeedUpdate is not read.
    void Load(std::map<CString, ClientVersionInfo>& records) const;
    void Save(const std::map<CString, ClientVersionInfo>& records) const;
    // TRUE when the section has a Version.
    BOOL ReadSection(LPCWSTR section, ClientVersionInfo& record) const;
    void WriteSection(const ClientVersionInfo& record) const;

    // Base32 of the SHA-1 digest (bytes of each 32-bit group reversed) of the
    // UTF-16LE text section + "-" + version.
    static CString ComputeKey(LPCWSTR section, LPCWSTR version);

  private:
    CString ReadValue(LPCWSTR section, LPCWSTR key) const;

    CString m_path;
};
