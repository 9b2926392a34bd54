#include "UpdateMessage.h"

namespace
{
UpdateMessageHandler g_handler = nullptr;
void* g_context = nullptr;
} // namespace

void SetUpdateMessageHandler(UpdateMessageHandler handler, void* context)
{
    g_handler = handler;
    g_context = context;
}

int ShowUpdateMessage(LPCWSTR text, int style, HWND)
{
    if (g_handler)
        return g_handler(text, style, g_context);
    // The text goes to the debugger's output so that a run can be followed.
    OutputDebugStringW(text);
    OutputDebugStringW(L"\n");
    return IDOK;
}
