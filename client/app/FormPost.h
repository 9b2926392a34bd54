#pragma once
#include "FwString.h"

// A URL-encoded form post through the framework's internet session
// (pre-configured access): "Content-Type: application/x-www-form-urlencoded",
// the body as given. Internet errors are caught: the result is then FALSE.
// status and answer (up to maxAnswer bytes of the reply) may be null.
BOOL PostForm(LPCWSTR host, int port, LPCWSTR path, const CStringA& body, DWORD* status = NULL,
              CStringA* answer = NULL, DWORD maxAnswer = 0);

// One form value: the text as UTF-8, cut to at most maxBytes bytes at a
// character boundary, then URL-encoded, so that "&", "=" or "+" in it cannot
// change the form.
CStringA EncodeFormValue(LPCWSTR text, int maxBytes);

// The UTF-8 bytes of a text, cut to at most maxBytes at a character boundary.
CStringA Utf8Cut(LPCWSTR text, int maxBytes);

// A body that carries a whole form as one field: prefix (such as "a=")
// followed by the Base64 of the text's UTF-8 bytes, every "+" of it written
// "%2B". Empty when the text is empty.
CStringA Base64FieldBody(const char* prefix, LPCWSTR text);
