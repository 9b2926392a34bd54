#include "UpdateList.h"

#include "ShellFolder.h"
#include "UpdateFiles.h"
#include "VersionInfoFile.h"
#include "Xml.h"

#include <memory>

CUpdateList::CUpdateList() : m_manifest(PACKET_CHOICE_UPDATER)
{
}

int CUpdateList::Load()
{
    LoadVersionInfo();
    LoadManifest();
    return 1;
}

void CUpdateList::LoadVersionInfo()
{
    CVersionInfoFile(m_clientDir + L"VersionInfo.ini").Load(m_manifest.m_records);
}

CString CUpdateList::ManifestFolder()
{
    wchar_t music[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"YEB_MYMUSIC", music, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
    {
        music[0] = 0;
        if (GetShellFolderPath(nullptr, SHELL_FOLDER_MYMUSIC, nullptr, 0, music) != 0 || !music[0])
            return CString();
    }
    CString folder;
    folder.Format(L"%s\\yeb360\\temp\\", music);
    CreateDirectoryPath(folder);
    return folder;
}

HRESULT CUpdateList::LoadManifest()
{
    CString folder = ManifestFolder();
    if (folder.IsEmpty())
        return E_INVALIDARG;
    std::unique_ptr<CXmlElement> root(XmlLoadFile(folder + L"AutoUpdate.xml"));
    if (!root)
        return E_INVALIDARG;
    return ParseManifest(root.get());
}

HRESULT CUpdateList::ParseManifest(const CXmlElement* root)
{
    return m_manifest.Parse(root) ? 0 : E_INVALIDARG;
}

int CUpdateList::CountUpdates(int& forced, int& offered) const
{
    forced = offered = 0;
    for (auto& entry : m_manifest.m_records)
    {
        const UpdateModule* module = m_manifest.FindModule(entry.first);
        if (!module)
            continue;
        if (module->state == 2)
            ++forced;
        else if (module->state == 1)
            ++offered;
    }
    return 1;
}

int CUpdateList::SaveInstalledVersions()
{
    for (auto& entry : m_manifest.m_records)
    {
        const UpdateModule* module = m_manifest.FindModule(entry.first);
        if (!module || !module->installed)
            continue;
        if (entry.first == L"Updater")
            entry.second.needUpdate = 1; // the client moves the new files into place
        else
            entry.second.version = module->verModule;
    }
    CVersionInfoFile(m_clientDir + L"VersionInfo.ini").Save(m_manifest.m_records);
    return 1;
}
