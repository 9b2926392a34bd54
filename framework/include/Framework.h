// The project's class framework: include this one header to get <windows.h>
// (UNICODE) and every part of the framework.
#pragma once

// ---- core: strings, collections, run-time classes, exceptions, threads, files
#include "FwDefs.h"
#include "FwModule.h"
#include "FwObject.h"
#include "FwException.h"
#include "FwString.h"
#include "FwConvert.h"
#include "FwCollections.h"
#include "FwBstr.h"
#include "FwSync.h"
#include "FwThread.h"
#include "FwFile.h"
#include "FwArchive.h"

// ---- window layer (windows, dialogs, GDI, controls, application): its headers go here
#include "FwWindow.h"
