// The service's user lookups on its image server: a user's numeric id by
// e-mail ("/cgi-bin/yeblogin"), the ids of many e-mails at once
// ("/cgi-bin/gidfrmail") and a user's e-mail and nick by id
// ("/cgi-bin/getuserinfo"). The requests wait for their answer; a failed
// one gives an empty answer. The answer parsers take the body's text.
#pragma once

#include "Framework.h"

#include <utility>
#include <vector>

// The numeric id of an e-mail, "" when the request fails.
CString QueryUserIdOf(LPCWSTR email);
// The answer of getuserinfo for an id; "" when the request fails.
CString FetchUserInfo(LPCWSTR uid);
// The answer of gidfrmail for the e-mails ("mails=a,b,..." posted as UTF-8);
// FALSE when the post failed.
BOOL PostUserIdQuery(const std::vector<CString>& emails, CStringA& answer);

// "UI" with "INFO" children carrying "email" and "nick": the last child's
// pair; FALSE when the text does not parse or has no such child with an e-mail.
BOOL ParseUserInfo(const CString& xml, CString& email, CString& nick);
// "UI" with "INFO" children carrying "email" and "uid": every pair; FALSE
// when the text does not parse.
BOOL ParseUserIds(const CString& xml, std::vector<std::pair<CString, CString>>& ids);
