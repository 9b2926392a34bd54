// The module this code is linked into (the program or a DLL) and where its
// resources come from. The framework is a static library, so each module has
// its own copy of this state; by default both handles are the module itself.
#pragma once
#include "FwDefs.h"

HINSTANCE AFXAPI AfxGetInstanceHandle();
void AFXAPI AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstance);
// Module that holds the named resource (the resource module when it has it,
// else the instance module).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// Module that holds string-table entry nID.
HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);
