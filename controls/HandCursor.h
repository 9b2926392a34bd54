// The program's own hand cursor (group-cursor resource 103), loaded on first
// use and kept for the life of the program. Shown by the image button, the
// link statics, the picture static and the listen-song static.
#pragma once
#include "Framework.h"

// Null when the program has no such cursor.
HCURSOR GetHandCursor();
