#include "SFObjectClassEntry.h"
#include "SFSkinObject.h"

IMPLEMENT_DYNAMIC(CSFObjectClassEntry, CCmdTarget)

CSFSkinObject* CSFObjectClassEntry::CreateObject(LPCWSTR, LPCREATESTRUCTW)
{
    if (m_pClass == NULL)
        return NULL;
    CObject* object = m_pClass->CreateObject();
    if (object && !object->IsKindOf(RUNTIME_CLASS(CSFSkinObject)))
    {
        delete object;
        return NULL;
    }
    return static_cast<CSFSkinObject*>(object);
}
