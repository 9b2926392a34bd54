// Avatar pictures between the client and the image host: downloads of the
// buddies' (and the user's own) pictures over HTTP into the per-user avatar
// folders below My Music, with a ready notice to the main window; the upload
// of the user's own new picture over the image host's raw exchange, after
// which every buddy is told that the picture changed. The work runs on
// threads recorded in WorkerThreadRegistry.
#pragma once

#include "Framework.h"

namespace AvatarTransfer
{
enum
{
    WM_AVATAR_READY = WM_USER + 33,
    // No avatar is anywhere near this large.
    MAX_AVATAR_BYTES = 4 * 1024 * 1024,
};

// "<My Music>\yeb360\lib\private\<email>\avatar\" (own) or "...\friend\..."
// (a buddy); empty without My Music.
CString AvatarFolder(const CString& email, BOOL own);
// The download address of a user id: base + "%03d/%03d/%d.jpg".
CString AvatarAddress(const CString& base, unsigned long uid);

// One picture; 1 when the transfer succeeded and the file is in place.
int DownloadAvatar(const CString& email, BOOL own);
// Starts a loader thread: empty text = every buddy, else one e-mail.
void StartAvatarLoaderThread(const CString& text);
unsigned __stdcall AvatarLoaderThread(void* pair);
// Sends the main window WM_USER+33 (text: a heap copy of the buddy's
// e-mail that the receiver frees, or null; own: 0 or 1).
void NotifyAvatarReady(CString* text, int own);

// Starts the upload of the picture file of path for the user's e-mail.
void StartAvatarUpload(const CString& email, const CString& path);
unsigned __stdcall AvatarUploadThread(void* pair);
// Runs the upload on the calling thread; TRUE when the whole file was sent.
BOOL UploadAvatarFile(const CString& email, const CString& path);
} // namespace AvatarTransfer
