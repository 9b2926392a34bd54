// Every message of the updater, question or notice, goes through
// ShowUpdateMessage. Until the updater has its skinned message box the
// messages are answered with their default button (OK) without a window;
// a handler can take them instead (the tests record them).
#pragma once

#include <winsock2.h>
#include <windows.h>

enum
{
    UPDATE_MESSAGE_OK = 0,        // OK only
    UPDATE_MESSAGE_OK_CANCEL = 1, // OK and Cancel
};

// IDOK or IDCANCEL.
int ShowUpdateMessage(LPCWSTR text, int style, HWND parent);

typedef int (*UpdateMessageHandler)(LPCWSTR text, int style, void* context);
// Null restores the default answer.
void SetUpdateMessageHandler(UpdateMessageHandler handler, void* context);
