#include "UpdateManifest.h"

#include "ShellFolder.h"
#include "VersionNumber.h"
#include "Xml.h"

#include <shlobj.h>

std::vector<CString> VersionInfoSections(LPCWSTR path)
{
    std::vector<CString> sections = {L"Client", L"Updater"};
    std::vector<wchar_t> names(32768);
    DWORD n = GetPrivateProfileSectionNamesW(names.data(), (DWORD)names.size(), path);
    for (const wchar_t* p = names.data(); n > 0 && *p; p += wcslen(p) + 1)
        if (wcscmp(p, L"Client") != 0 && wcscmp(p, L"Updater") != 0)
            sections.push_back(p);
    return sections;
}

CString GetUpdateManifestFolder()
{
    wchar_t music[MAX_PATH] = {};
    if (GetShellFolderPath(nullptr, SHELL_FOLDER_MYMUSIC, nullptr, 0, music) != 0 || !music[0])
        return CString();
    CString folder;
    folder.Format(L"%s\\yeb360\\temp\\", music);
    SHCreateDirectoryExW(nullptr, folder, nullptr); // an existing folder is fine
    return folder;
}

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

void CUpdateManifest::CountUpdates(int& forced, int& offered, BOOL skipDeclined) const
{
    forced = offered = 0;
    for (auto& entry : m_records)
    {
        const UpdateModule* module = FindModule(entry.first);
        if (!module)
            continue;
        if (module->state == 2)
            ++forced;
        else if (module->state == 1 && !(skipDeclined && entry.second.unUpdateVersion == module->verModule))
            ++offered;
    }
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
