#include "MainWindowLink.h"

namespace
{
IMainWindowLink* g_link = nullptr;
}

void SetMainWindowLink(IMainWindowLink* link)
{
    g_link = link;
}

IMainWindowLink* GetMainWindowLink()
{
    return g_link;
}
