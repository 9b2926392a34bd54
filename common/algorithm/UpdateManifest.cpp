#include "UpdateManifest.h"

#include "VersionNumber.h"
#include "Xml.h"

const UpdateFileList* UpdateModule::Files(LPCWSTR oper) const
{
    auto it = files.find(CString(oper));
    return it == files.end() ? nullptr : &it->second;
}

UpdateModule* CUpdateManifest::FindModule(LPCWSTR name) const
{
    auto it = m_modules.find(CString(name));
    return it == m_modules.end() ? nullptr : it->second.get();
}

ClientVersionInfo* CUpdateManifest::FindRecord(LPCWSTR name)
{
    auto it = m_records.find(CString(name));
    return it == m_records.end() ? nullptr : &it->second;
}

BOOL CUpdateManifest::Parse(const CXmlElement* root)
{
    ClearModules();
    if (!CXmlNode::HasName(root, L"AutoUpdate"))
        return FALSE;
    POSITION pos = root->GetFirstChildPosition();
    while (pos)
    {
        CXmlElement* child = root->GetNextChild(pos);
        if (child->HasName(L"Module"))
            ParseModule(*child);
    }
    return TRUE;
}

void CUpdateManifest::ParseModule(const CXmlElement& element)
{
    CString name = element.GetAttribute(L"name");
    ClientVersionInfo* record = FindRecord(name);
    if (!record)
    {
        ClientVersionInfo added;
        added.name = name;
        added.version = NOT_INSTALLED_VERSION;
        record = &(m_records[name] = added);
    }
    const CString installed = record->version;

    UpdateModule* module = FindModule(name);
    if (!module)
    {
        module = new UpdateModule;
        module->name = name;
        module->text = element.GetAttribute(L"text");
        module->verModule = element.GetAttribute(L"verModule");
        module->verUnForce = element.GetAttribute(L"verUnForce");
        module->verLow = NOT_INSTALLED_VERSION;
        m_modules[name].reset(module);
    }

    POSITION pos = element.GetFirstChildPosition();
    while (pos)
    {
        CXmlElement* packet = element.GetNextChild(pos);
        if (!packet->HasName(L"Packet"))
            continue;
        CString verLow = packet->GetAttribute(L"verLow");
        if (verLow.IsEmpty())
            continue;
        bool coveredByInstalled = CompareVersion(installed, verLow) >= 0;
        if (m_choice == PACKET_CHOICE_CLIENT)
        {
            if (coveredByInstalled)
            {
                if (CompareVersion(verLow, module->verLow) < 0)
                    continue;
                module->verLow = verLow;
            }
        }
        else
        {
            if (coveredByInstalled && CompareVersion(verLow, module->verLow) <= 0)
                continue;
            module->verLow = verLow;
        }

        module->url = packet->GetAttribute(L"url");
        module->hint = packet->GetAttribute(L"hint");
        module->sha256 = packet->GetAttribute(L"sha256");
        if (CompareVersion(installed, module->verUnForce) < 0)
            module->state = 2;
        else if (CompareVersion(installed, module->verModule) < 0)
            module->state = 1;
        int slash = module->url.ReverseFind(L'/');
        if (slash >= 0)
            module->packageName = module->url.Mid(slash + 1);

        POSITION filePos = packet->GetFirstChildPosition();
        while (filePos)
        {
            CXmlElement* item = packet->GetNextChild(filePos);
            if (item->HasName(L"File"))
            {
                UpdateFile file;
                file.name = item->GetAttribute(L"name");
                file.dest = item->GetAttribute(L"dest");
                file.type = item->GetAttribute(L"type");
                module->files[item->GetAttribute(L"oper")].push_back(file);
                ++module->fileCount;
            }
            else if (item->HasName(L"CloseName"))
                module->closeNames.push_back(item->GetValue());
        }
    }
}
