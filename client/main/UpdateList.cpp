#include "UpdateList.h"

#include "FileFolder.h"
#include "PartFileDownload.h"
#include "UpdatePath.h"
#include "Xml.h"

#include <memory>

namespace
{

const wchar_t kManifestName[] = L"AutoUpdate.xml";

// Replaces target by source: source is copied beside target and the copy is
// renamed over it, so that a crash never leaves a cut-off program behind.
BOOL ReplaceFromCopy(LPCWSTR target, LPCWSTR source)
{
    if (!FileExists(source))
        return FALSE;
    CString folder(target);
    CreateFolderPath(folder.Left(folder.ReverseFind(L'\\')));
    CString staged = CString(target) + L".new";
    if (!CopyFileW(source, staged, FALSE))
        return FALSE;
    DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveFileExW(staged, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileW(staged);
        return FALSE;
    }
    return TRUE;
}

} // namespace

CUpdateList::CUpdateList() : m_manifest(PACKET_CHOICE_CLIENT)
{
}

void CUpdateList::AddLocation(LPCWSTR d, LPCWSTR url)
{
    m_locations.emplace_back(CString(d ? d : L""), CString(url ? url : L""));
}

CString CUpdateList::GetProgramPath() const
{
    if (!m_programPath.IsEmpty())
        return m_programPath;
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? CString() : CString(path);
}

CString CUpdateList::ProgramFolder() const
{
    CString path = GetProgramPath();
    int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

CString CUpdateList::ManifestFolder()
{
    return GetUpdateManifestFolder();
}

HRESULT CUpdateList::Check()
{
    CVersionInfoFile file(CVersionInfoFile::PathBeside(GetProgramPath()));
    if (file.Load(m_manifest.m_records) != 0)
        return UPDATE_E_NO_VERSION_INFO;

    if (UpdaterNeedsUpdate() && ApplyUpdaterFiles() != 0)
    {
        UpdateModule* updater = m_manifest.FindModule(L"Updater");
        ClientVersionInfo* record = m_manifest.FindRecord(L"Updater");
        if (updater && record)
        {
            record->needUpdate = 0;
            record->version = updater->verModule;
            record->unUpdateVersion.Empty();
            file.Save(m_manifest.m_records);
        }
    }

    if (!DownloadManifest())
        return UPDATE_E_DOWNLOAD_MANIFEST;
    return LoadManifest();
}

BOOL CUpdateList::UpdaterNeedsUpdate() const
{
    auto it = m_manifest.m_records.find(CString(L"Updater"));
    return it != m_manifest.m_records.end() && it->second.needUpdate != 0;
}

int CUpdateList::ApplyUpdaterFiles()
{
    CString program = ProgramFolder();
    CString folder = ManifestFolder();
    if (program.IsEmpty() || folder.IsEmpty())
        return 0;
    std::unique_ptr<CXmlElement> root(XmlLoadFile(folder + kManifestName));
    if (!root)
        return E_INVALIDARG;
    m_manifest.Parse(root.get());
    UpdateModule* updater = m_manifest.FindModule(L"Updater");
    if (!updater)
        return 1;
    // Every name comes from the manifest: a path that would leave the
    // program folder is not touched.
    if (const UpdateFileList* removed = updater->Files(L"Del"))
        for (const UpdateFile& file : *removed)
        {
            CString target;
            if (BuildUpdateTarget(program, file.dest, L"", file.name, target))
                DeleteExistingFile(target);
        }
    if (const UpdateFileList* added = updater->Files(L"Add"))
        for (const UpdateFile& file : *added)
        {
            CString target, source;
            if (!BuildUpdateTarget(program, file.dest, L"", file.name, target) ||
                !BuildUpdateTarget(program, file.dest, L"Download\\updaterTemp\\", file.name, source))
                return 0;
            if (!ReplaceFromCopy(target, source))
                return 0;
            DeleteExistingFile(source);
        }
    return 1;
}

BOOL CUpdateList::DownloadManifest()
{
    for (auto& location : m_locations)
    {
        CString folder = ManifestFolder();
        if (folder.IsEmpty())
            continue;
        if (DownloadFile(location.second, folder + kManifestName) >= 0)
            return TRUE;
    }
    return FALSE;
}

HRESULT CUpdateList::LoadManifest()
{
    CString folder = ManifestFolder();
    if (folder.IsEmpty())
        return UPDATE_E_READ_MANIFEST;
    std::unique_ptr<CXmlElement> root(XmlLoadFile(folder + kManifestName));
    if (!root || !m_manifest.Parse(root.get()))
        return UPDATE_E_READ_MANIFEST;
    return 0;
}

int CUpdateList::CountUpdates(int& forced, int& optional) const
{
    m_manifest.CountUpdates(forced, optional, TRUE);
    return 1;
}

HRESULT CUpdateList::DownloadFile(LPCWSTR url, LPCWSTR path)
{
    PartFileDownload download;
    download.url = url;
    download.path = path;
    download.maxBytes = XML_MAX_FILE_SIZE; // no manifest is that large
    return download.Run() == PartFileDownload::DONE ? 0 : E_FAIL;
}
