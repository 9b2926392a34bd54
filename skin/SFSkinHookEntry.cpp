#include "SFSkinHookEntry.h"
#include <string.h>

CSFSkinHookEntry::CSFSkinHookEntry(CSFSkinHookManager* owner, LPCSTR moduleName, LPCSTR functionName, FARPROC real,
                                   FARPROC replacement)
    : m_owner(owner), m_installed(FALSE), m_real(real), m_replacement(replacement)
{
    lstrcpynA(m_moduleName, moduleName ? moduleName : "", sizeof(m_moduleName));
    lstrcpynA(m_functionName, functionName ? functionName : "", sizeof(m_functionName));
}
