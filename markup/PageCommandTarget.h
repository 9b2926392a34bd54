// The receiver of the program's own page commands: links made of "yeb360://"
// and a command word with its argument (for example
// "yeb360://openwindow/board"). The client's main window takes them; the
// link policy hands every clicked page-command link here.
#pragma once
#include <winsock2.h> // before windows.h, which would bring the old winsock.h
#include <windows.h>

class IPageCommandTarget
{
public:
    virtual ~IPageCommandTarget() = default;
    // The whole link text. FALSE when the command is not one this target runs.
    virtual BOOL RunPageCommand(const wchar_t* link) = 0;
};
