#include "VersionInfoFile.h"

#include "Sha1.h"

#include <vector>

CString CVersionInfoFile::ReadValue(LPCWSTR section, LPCWSTR key) const
{
    // Values of any length: the buffer grows until the value fits.
    std::vector<wchar_t> buffer(512);
    for (;;)
    {
        DWORD n = GetPrivateProfileStringW(section, key, L"", buffer.data(), (DWORD)buffer.size(), m_path);
        if (n + 1 < buffer.size())
            return CString(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

BOOL CVersionInfoFile::ReadSection(LPCWSTR section, ClientVersionInfo& record) const
{
    record = ClientVersionInfo();
    record.name = section;
    record.key = ReadValue(section, L"Key");
    record.version = ReadValue(section, L"Version");
    record.unUpdateVersion = ReadValue(section, L"UnUpdateVersion");
    return !record.version.IsEmpty();
}

void CVersionInfoFile::Load(std::map<CString, ClientVersionInfo>& records) const
{
    records.clear();
    for (const CString& section : VersionInfoSections(m_path))
    {
        ClientVersionInfo record;
        if (ReadSection(section, record))
            records[section] = record;
    }
}

CString CVersionInfoFile::ComputeKey(LPCWSTR section, LPCWSTR version)
{
    CString text;
    text.Format(L"%s-%s", section, version);
    CSha1 sha;
    sha.Update((LPCWSTR)text, (DWORD)(text.GetLength() * sizeof(wchar_t)));
    sha.Final();
    BYTE digest[20];
    sha.GetDigest(digest);
    wchar_t key[48] = {};
    FormatSha1Base32(digest, FALSE, key);
    return CString(key);
}

void CVersionInfoFile::WriteSection(const ClientVersionInfo& record) const
{
    WritePrivateProfileStringW(record.name, L"Version", record.version, m_path);
    WritePrivateProfileStringW(record.name, L"Key", ComputeKey(record.name, record.version), m_path);
    WritePrivateProfileStringW(record.name, L"UnUpdateVersion",
                               record.unUpdateVersion.IsEmpty() ? nullptr : (LPCWSTR)record.unUpdateVersion, m_path);
    if (record.name == L"Updater" && record.needUpdate)
        WritePrivateProfileStringW(record.name, L"NeedUpdate", L"1", m_path);
}

void CVersionInfoFile::Save(const std::map<CString, ClientVersionInfo>& records) const
{
    for (auto& entry : records)
        WriteSection(entry.second);
}
