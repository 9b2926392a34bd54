// One caption button of a skinned frame: where the schema last drew it,
// what it looks like and what clicking it does.
#pragma once
#include <Framework.h>

class CSFSkinObjectFrame;

struct FrameButton
{
    int hitTest;
    RECT rect; // window coordinates
    int part;
    CSFSkinObjectFrame* frame;
    int command;
    BOOL enabled;
};
