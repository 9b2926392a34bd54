// Every message of the updater, question or notice, goes through
// ShowUpdateMessage, which shows it in the skinned CUpdateMessageBox. A test
// harness may take the messages instead (it records and answers them); the
// program itself never sets a handler.
#pragma once

#include <winsock2.h>
#include <windows.h>

enum
{
    UPDATE_MESSAGE_OK = 0,        // OK only
    UPDATE_MESSAGE_OK_CANCEL = 1, // OK and Cancel
};

// IDOK, or IDCANCEL for Cancel, the close button and Esc. The box is modal
// to parent (centred over it), or to nothing and centred on the screen.
int ShowUpdateMessage(LPCWSTR text, int style, HWND parent);

typedef int (*UpdateMessageHandler)(LPCWSTR text, int style, void* context);
// Null restores the message box.
void SetUpdateMessageHandler(UpdateMessageHandler handler, void* context);
