// One entry of the manager's window-class map: the skin-object class that
// windows of that class get (none: never skinned). Aliases share one entry
// by reference.
#pragma once
#include <Framework.h>

class CSFSkinObject;

class CSFObjectClassEntry : public CCmdTarget
{
    DECLARE_DYNAMIC(CSFObjectClassEntry)
public:
    explicit CSFObjectClassEntry(CRuntimeClass* objectClass) : m_pOwner(NULL), m_pClass(objectClass) {}

    // A new skin object of the entry's class; NULL for an entry without one.
    CSFSkinObject* CreateObject(LPCWSTR className, LPCREATESTRUCTW cs);
    CRuntimeClass* GetObjectClass() const { return m_pClass; }

    // The map that first took the entry; later maps add a reference.
    const void* m_pOwner;

private:
    CRuntimeClass* m_pClass;
};
