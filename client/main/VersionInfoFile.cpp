#include "VersionInfoFile.h"

#include "FileFolder.h"
#include "IniFile.h"


CString CVersionInfoFile::PathBeside(LPCWSTR programPath)
{
    CString path(programPath ? programPath : L"");
    int slash = path.ReverseFind(L'\\');
    if (slash < 0)
        return CString();
    return path.Left(slash + 1) + L"VersionInfo.ini";
}

BOOL CVersionInfoFile::ReadSection(LPCWSTR section, ClientVersionInfo& record) const
{
    CIniFile ini(m_path);
    record.name = section;
    record.key = ini.GetString(section, L"Key", L"");
    record.version = ini.GetString(section, L"Version", L"");
    record.unUpdateVersion = ini.GetString(section, L"UnUpdateVersion", L"");
    record.needUpdate = wcscmp(section, L"Updater") == 0 ? (ini.GetBool(section, L"NeedUpdate", FALSE) ? 1 : 0) : 0;
    return !record.version.IsEmpty();
}

HRESULT CVersionInfoFile::Load(std::map<CString, ClientVersionInfo>& records) const
{
    if (m_path.IsEmpty() || !FileExists(m_path))
        return UPDATE_E_NO_VERSION_INFO;
    records.clear();
    for (const CString& section : VersionInfoSections(m_path))
    {
        ClientVersionInfo record;
        if (ReadSection(section, record))
            records[section] = record;
    }
    return 0;
}

void CVersionInfoFile::WriteSection(const ClientVersionInfo& record) const
{
    CIniFile ini(m_path);
    ini.WriteString(record.name, L"Key", record.key);
    ini.WriteString(record.name, L"Version", record.version);
    if (record.unUpdateVersion.IsEmpty())
        ini.DeleteKey(record.name, L"UnUpdateVersion");
    else
        ini.WriteString(record.name, L"UnUpdateVersion", record.unUpdateVersion);
    if (record.name == L"Updater")
    {
        if (record.needUpdate)
            ini.WriteString(record.name, L"NeedUpdate", L"1");
        else
            ini.DeleteKey(record.name, L"NeedUpdate");
    }
}

void CVersionInfoFile::Save(const std::map<CString, ClientVersionInfo>& records) const
{
    if (m_path.IsEmpty())
        return;
    for (auto& entry : records)
        WriteSection(entry.second);
}
