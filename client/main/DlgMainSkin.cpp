// The main window's skin: the client's style is loaded once while the
// window is set up, and the song-list list, the song list and the left bar
// are skinned on every layout run (a window already skinned stays as it is).
// Setting YEB_SKIN=0 in the environment leaves the program unskinned, for
// pictures to compare with.
#include "DlgMain.h"
#include "SFSkinFramework.h"
#include "SFSkinHookManager.h"

namespace
{
BOOL SkinTurnedOff()
{
    wchar_t value[8] = L"";
    return ::GetEnvironmentVariableW(L"YEB_SKIN", value, _countof(value)) > 0 && lstrcmpW(value, L"0") == 0;
}
} // namespace

void CDlgMain::StartSkin()
{
    if (SkinTurnedOff())
        return;
    CSFSkinFramework* skin = GetSkinFramework();
    if (skin == NULL)
        return;
    SFRegisterApiHooks();
    skin->SetApplyOptions(SF_APPLY_METRICS | SF_APPLY_FRAME);
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(NULL, path, MAX_PATH);
    if (wchar_t* slash = wcsrchr(path, L'\\'))
        *slash = 0;
    CString style(path);
    style += L"\\scrollbar.skin";
    // A style that does not load leaves the program as the system draws it.
    skin->LoadSkin(style, L"NormalBlue.ini");
    skin->SetApplyToNewWindows(FALSE);
    skin->SetHookNewThreads(FALSE);
    skin->RemoveAll(TRUE);
}

void CDlgMain::ApplySkinToLists()
{
    if (SkinTurnedOff())
        return;
    CSFSkinFramework* skin = GetSkinFramework();
    if (skin == NULL)
        return;
    if (m_listSongLists.GetSafeHwnd())
        skin->ApplyWindow(m_listSongLists.GetSafeHwnd());
    if (m_listSongs.GetSafeHwnd())
        skin->ApplyWindow(m_listSongs.GetSafeHwnd());
    if (LeftBar().GetSafeHwnd())
        skin->ApplyWindow(LeftBar().GetSafeHwnd());
}
