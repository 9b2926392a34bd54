// The update manifest "AutoUpdate.xml" and the installed versions of
// "VersionInfo.ini" as the client and the updater both hold them:
//
//   <AutoUpdate>
//     <Module name text verModule verUnForce>
//       <Packet verLow url hint [sha256]>
//         <File name dest type oper/>      (grouped by oper: Add, Del, Reg, UnReg, Run)
//         <CloseName>program</CloseName>   (a program closed before installing)
//
// Element and attribute names match without regard to case. A module missing
// from the installed versions counts as "-1.0.0.0" and gets a record in memory.
#pragma once

#include "Framework.h"

#include <map>
#include <memory>
#include <vector>

class CXmlElement;

struct UpdateFile
{
    CString name;
    CString dest;
    CString type;
};

typedef std::vector<UpdateFile> UpdateFileList;

struct UpdateModule
{
    CString name;
    CString text;       // shown to the user
    CString verModule;  // the version the update brings
    CString verUnForce; // installed versions below it must update
    CString verLow;     // verLow of the chosen packet; "-1.0.0.0" until one is chosen
    CString url;        // package address of the last packet taken
    CString hint;
    CString sha256;      // package digest of the last packet taken ("" when the manifest gives none)
    CString packageName; // the url's text after its last "/"
    std::map<CString, UpdateFileList> files; // by oper
    std::vector<CString> closeNames;
    int state = 0; // 0 nothing to do, 1 offered, 2 forced
    int fileCount = 0;
    int installed = 0; // set by a successful install

    // The files of one oper group, or null when the packets named none.
    const UpdateFileList* Files(LPCWSTR oper) const;
};

// The sections of a "VersionInfo.ini" to read: "Client", "Updater", then
// every other section of the file. Modules besides the client and the updater
// get sections of their own once installed; without reading those a module
// would count as not installed and be forced again at every update.
std::vector<CString> VersionInfoSections(LPCWSTR path);

// "<My Music>\yeb360\temp\", where the client keeps the downloaded manifest
// "AutoUpdate.xml" for the updater (created when missing); "" when My Music
// is unknown. The environment variable YEB_MYMUSIC names another My Music
// folder (test runs give each program a folder of its own).
CString GetUpdateManifestFolder();

// One section of "VersionInfo.ini".
struct ClientVersionInfo
{
    CString name;
    CString version;
    CString key;
    int needUpdate = 0;
    CString unUpdateVersion;
};

// Which packets of a module are taken. Both sides take a packet whose verLow
// lies above the installed version. Of the packets at or below it, the client
// skips one below the packet chosen so far (and chooses the others); the
// updater skips one at or below the verLow of the packet taken before, and
// every packet it takes becomes the module's verLow.
enum PacketChoice
{
    PACKET_CHOICE_CLIENT,
    PACKET_CHOICE_UPDATER,
};

// The module map and the record map, both ordered by name (plain comparison).
class CUpdateManifest
{
  public:
    explicit CUpdateManifest(PacketChoice choice) : m_choice(choice) {}

    // Clears the modules and parses every "Module" child of root. FALSE when
    // the root is missing or not "AutoUpdate" (the module map stays empty).
    BOOL Parse(const CXmlElement* root);
    void ParseModule(const CXmlElement& element);
    void ClearModules() { m_modules.clear(); }

    // Counts the modules of the records that are forced (state 2) and offered
    // (state 1); with skipDeclined an offered module whose verModule the user
    // declined (the record's UnUpdateVersion) does not count.
    void CountUpdates(int& forced, int& offered, BOOL skipDeclined) const;

    UpdateModule* FindModule(LPCWSTR name) const;
    ClientVersionInfo* FindRecord(LPCWSTR name);

    std::map<CString, ClientVersionInfo> m_records;
    std::map<CString, std::unique_ptr<UpdateModule>> m_modules;

  private:
    PacketChoice m_choice;
};
