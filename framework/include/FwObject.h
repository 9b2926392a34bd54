// CObject and run-time class records: each class that declares itself
// dynamic has a CRuntimeClass giving its name, size, base class and (for
// dynamically creatable classes) a creation function. Every record made by
// IMPLEMENT_DYNAMIC/IMPLEMENT_DYNCREATE is registered at start-up so that a
// class can be found and created by its name.
#pragma once
#include "FwDefs.h"

class CObject;
class CArchive;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject*(__stdcall* m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass; // chain of all registered classes

    // New object of this class, or NULL when the class is not creatable or
    // memory is short.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // Registered class of this name (exact, case-sensitive), or NULL.
    static CRuntimeClass* __stdcall FromName(LPCSTR lpszClassName);
    static CRuntimeClass* __stdcall FromName(LPCWSTR lpszClassName);
    // New object of the named class, or NULL when unknown or not creatable.
    static CObject* __stdcall CreateObject(LPCSTR lpszClassName);
    static CObject* __stdcall CreateObject(LPCWSTR lpszClassName);
};

// Adds a run-time class record to the registry; made by the IMPLEMENT_ macros.
struct FwClassRegistrar
{
    explicit FwClassRegistrar(CRuntimeClass* pClass);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
  public:                                                                                                    \
    static CRuntimeClass class##class_name;                                                                  \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* __stdcall CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
    DECLARE_DYNCREATE(class_name)                                                                            \
    friend CArchive& __stdcall operator>>(CArchive& ar, class_name*& pOb);

// A class whose schema has this bit may read older schemas itself (through
// CArchive::GetObjectSchema) instead of failing with badSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

#define FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                              \
    CRuntimeClass class_name::class##class_name = {                                                          \
        #class_name, sizeof(class_name), wSchema, pfnNew, RUNTIME_CLASS(base_class_name), NULL};             \
    static FwClassRegistrar _fwRegister##class_name(RUNTIME_CLASS(class_name));                              \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                       \
    {                                                                                                        \
        return RUNTIME_CLASS(class_name);                                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* __stdcall class_name::CreateObject()                                                            \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
    CObject* __stdcall class_name::CreateObject()                                                            \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    FW_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)                \
    CArchive& __stdcall operator>>(CArchive& ar, class_name*& pOb)                                           \
    {                                                                                                        \
        pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name));                                         \
        return ar;                                                                                           \
    }

class CObject
{
  public:
    static CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() {}

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    virtual void Dump(void* /*dumpContext*/) const {}

  protected:
    // Derived data classes may copy themselves; CObject holds no state.
    CObject() {}
    CObject(const CObject&) {}
    CObject& operator=(const CObject&) { return *this; }
};
