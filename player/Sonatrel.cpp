#include "Sonatrel.h"
extern "C" SONATREL_API int SonatrelVersion() { return 1; }
