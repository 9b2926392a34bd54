// CObject and the registry of run-time classes.
#include "FwObject.h"
#include "FwString.h"
#include <cstring>
#include <new>

namespace
{
// Head of the chain of registered classes. Registration happens during
// static initialisation; the pointer is zero-initialised before any of it.
CRuntimeClass* g_pFirstClass = NULL;
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, NULL, NULL, NULL};
static FwClassRegistrar _fwRegisterCObject(RUNTIME_CLASS(CObject));

FwClassRegistrar::FwClassRegistrar(CRuntimeClass* pClass)
{
    for (CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass)
    {
        if (p == pClass)
            return;
    }
    pClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pClass;
}

CObject* CRuntimeClass::CreateObject()
{
    if (!m_pfnCreateObject)
        return NULL;
    try
    {
        return m_pfnCreateObject();
    }
    catch (const std::bad_alloc&)
    {
        return NULL;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
    {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* __stdcall CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return NULL;
    for (CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass)
    {
        if (strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    }
    return NULL;
}

CRuntimeClass* __stdcall CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (!lpszClassName)
        return NULL;
    return FromName(CStringA(lpszClassName).GetString());
}

CObject* __stdcall CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : NULL;
}

CObject* __stdcall CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : NULL;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void CObject::Serialize(CArchive& /*ar*/) {}
