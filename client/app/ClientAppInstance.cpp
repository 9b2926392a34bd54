// The one application object of Yeb. Linked straight into the program (a
// static library would drop an object nothing refers to); the framework's
// entry point finds it and runs it.
#include "ClientApp.h"

CClientApp theApp;
