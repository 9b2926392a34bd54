// AdvertisementList: the advertisement files of the web site ("/inset/ad.xml"
// and its kin): <RT><AD><LI name=".." link=".."/>...</AD>...</RT>. Names
// keep the file's order (a name may repeat); the first link of a name stays.
#pragma once
#include "Framework.h"

#include <map>
#include <vector>

struct AdvertisementList
{
    std::vector<CString> names;
    std::map<CString, CString> links; // name -> link

    // Replaces the list with the file's; FALSE (and an empty list) when the
    // text is no advertisement file.
    BOOL Parse(LPCWSTR xml);
};
