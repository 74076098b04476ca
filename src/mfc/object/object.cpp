// CObject, CRuntimeClass and the process-wide class registry.
#include <afx.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct ClassRegistry
{
    std::mutex lock;
    std::vector<CRuntimeClass*> classes;
};

// Built on first use: IMPLEMENT_ macros register during static initialisation
// of any module, in no particular order.
ClassRegistry& Registry()
{
    static ClassRegistry* registry = new ClassRegistry;
    return *registry;
}

// Class names are ASCII identifiers; any other character cannot match.
bool NameMatches(LPCSTR name, LPCWSTR wide)
{
    for (; *name != 0 && *wide != 0; ++name, ++wide)
    {
        if (*wide > 0x7F || static_cast<WCHAR>(static_cast<unsigned char>(*name)) != *wide)
            return false;
    }
    return *name == 0 && *wide == 0;
}

}  // namespace

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    if (pNewClass == nullptr)
        return;
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.classes.push_back(pNewClass);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    AfxClassInit(pNewClass);
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    return (*m_pfnCreateObject)();
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const
{
    if (m_pfnGetBaseClass != nullptr)
        return (*m_pfnGetBaseClass)();
    return m_pBaseClass;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == nullptr)
        return FALSE;
    for (const CRuntimeClass* pClass = this; pClass != nullptr; pClass = pClass->GetBaseClass())
    {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (CRuntimeClass* pClass : registry.classes)
    {
        if (std::strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return nullptr;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    ClassRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (CRuntimeClass* pClass : registry.classes)
    {
        if (NameMatches(pClass->m_lpszClassName, lpszClassName))
            return pClass;
    }
    return nullptr;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != nullptr ? pClass->CreateObject() : nullptr;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != nullptr ? pClass->CreateObject() : nullptr;
}

// CObject's own class record: the root, so it has no base.
CRuntimeClass* PASCAL CObject::_GetBaseClass()
{
    return nullptr;
}

CRuntimeClass* PASCAL CObject::GetThisClass()
{
    return _RUNTIME_CLASS(CObject);
}

const CRuntimeClass CObject::classCObject = {
    "CObject", sizeof(CObject), 0xFFFF, nullptr, &CObject::_GetBaseClass, nullptr, nullptr};
static const AFX_CLASSINIT _init_CObject(_RUNTIME_CLASS(CObject));

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return _RUNTIME_CLASS(CObject);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&) {}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const
{
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this) << "\n";
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != nullptr && pObject->IsKindOf(pClass))
        return pObject;
    return nullptr;
}

CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    ASSERT(pObject == nullptr || pObject->IsKindOf(pClass));
    return pObject;
}

BOOL AFXAPI AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL)
{
    return p != nullptr || nBytes == 0;
}
