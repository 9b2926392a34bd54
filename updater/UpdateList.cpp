#include "UpdateList.h"

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
    return GetUpdateManifestFolder();
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
    m_manifest.CountUpdates(forced, offered, FALSE);
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
