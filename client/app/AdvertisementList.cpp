#include "AdvertisementList.h"

#include "Xml.h"

#include <memory>

BOOL AdvertisementList::Parse(LPCWSTR xml)
{
    names.clear();
    links.clear();
    std::unique_ptr<CXmlElement> root(XmlParseString(xml ? xml : L""));
    if (!root || !root->HasName(L"RT"))
        return FALSE;
    POSITION groups = root->GetFirstChildPosition();
    while (groups)
    {
        CXmlElement* group = root->GetNextChild(groups);
        if (!group || !group->HasName(L"AD"))
            continue;
        POSITION items = group->GetFirstChildPosition();
        while (items)
        {
            CXmlElement* item = group->GetNextChild(items);
            if (!item || !item->HasName(L"LI"))
                continue;
            CString name = item->GetAttribute(L"name", L"");
            names.push_back(name);
            links.insert(std::make_pair(name, item->GetAttribute(L"link", L"")));
        }
    }
    return TRUE;
}
