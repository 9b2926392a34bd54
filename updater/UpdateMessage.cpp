#include "UpdateMessage.h"

#include "UpdateMessageBox.h"

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

int ShowUpdateMessage(LPCWSTR text, int style, HWND parent)
{
    if (g_handler)
        return g_handler(text, style, g_context);
    CUpdateMessageBox box(text, style, parent ? CWnd::FromHandle(parent) : nullptr);
    INT_PTR result = box.DoModal();
    return result == IDOK ? IDOK : IDCANCEL;
}
