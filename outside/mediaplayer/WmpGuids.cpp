// The media player's interface and class ids, defined once for the stand-in.
#include <initguid.h>
#include <wmp.h>
