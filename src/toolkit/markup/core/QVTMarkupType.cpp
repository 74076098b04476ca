#include "toolkit/markup/core/QVTMarkupType.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/markup/elements/QVTMarkupInputElement.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_DYNAMIC(CQVTMarkupType, CQVTMarkupObject)
namespace {
// The prototype that converts tag names given as text into types.
CQVTMarkupObject* AFX_CDECL CreateTypePrototype(CQVTMarkupContext* pContext)
{
    CQVTMarkupType* pType =
        new CQVTMarkupType(nullptr, u"CQVTMarkupType", nullptr, &CQVTMarkupObject::GetMarkupType, nullptr);
    pType->SetMarkupContext(pContext);
    return pType;
}
}  // namespace

QVT_MARKUPCLASS_BODY(CQVTMarkupType, CQVTMarkupObject, nullptr, &CreateTypePrototype, nullptr)

namespace {
struct CTagLess
{
    using is_transparent = void;  // a tag looked up without copying it
    bool operator()(const CString& a, const CString& b) const { return _tcscmp(a, b) < 0; }
    bool operator()(LPCWSTR a, const CString& b) const { return _tcscmp(a, b) < 0; }
    bool operator()(const CString& a, LPCWSTR b) const { return _tcscmp(a, b) < 0; }
};

// The class list registry: tagged classes by tag, the others in registration
// order. Each entry makes its type on first request.
class CClassList
{
public:
    struct CTypeEntry
    {
        CQVTMarkupType::PFNTYPE pfnType;
        CQVTMarkupType* pType;  // cached on first request

        CQVTMarkupType* GetType()
        {
            if (pType == nullptr)
                pType = pfnType();
            return pType;
        }
    };

    ~CClassList()
    {
        CQVTMarkupObject::OnProcessShutdown();
        for (auto& item : m_mapTags)
            item.second.GetType()->InternalRelease();
        for (CTypeEntry& entry : m_listUntagged)
            entry.GetType()->InternalRelease();
    }

    std::map<CString, CTypeEntry, CTagLess> m_mapTags;
    std::vector<CTypeEntry> m_listUntagged;
};

QVT_IMPLEMENT_SINGLETON(CClassList, MarkupClassList, nullptr)

std::atomic<BOOL> g_bDefaultStylesHoldResources(FALSE);
}  // namespace

CQVTMarkupType::CQVTMarkupType(LPCWSTR lpszTagName, LPCWSTR lpszClassName, PFNCREATE pfnCreate,
                               PFNTYPE pfnBaseType, PFNREGISTER pfnRegister)
    : CQVTMarkupObject(flagNoComInit), m_lpszTagName(lpszTagName), m_lpszClassName(lpszClassName),
      m_bRegistered(FALSE), m_pfnCreate(pfnCreate), m_pfnBaseType(pfnBaseType), m_pfnRegister(pfnRegister),
      m_pBaseType(nullptr), m_pLineage(nullptr), m_pDefaultStyle(nullptr)
{
}

CQVTMarkupType::~CQVTMarkupType()
{
    if (m_pDefaultStyle != nullptr)
        m_pDefaultStyle->InternalRelease();
    delete m_pLineage.load(std::memory_order_acquire);
}

CQVTMarkupType* CQVTMarkupType::GetBaseType() const
{
    CQVTMarkupType* pBase = m_pBaseType.load(std::memory_order_acquire);
    if (pBase == nullptr && m_pfnBaseType != nullptr)
    {
        pBase = m_pfnBaseType();
        m_pBaseType.store(pBase, std::memory_order_release);
    }
    return pBase;
}

const CQVTMarkupType::CLineage& CQVTMarkupType::GetLineage() const
{
    if (const CLineage* pLineage = m_pLineage.load(std::memory_order_acquire))
        return *pLineage;
    std::unique_ptr<CLineage> pMade(new CLineage());
    // Chains are a few types long; the bound only stops a broken one.
    for (const CQVTMarkupType* p = this; p != nullptr && pMade->size() < 256; p = p->GetBaseType())
        pMade->push_back(p);
    std::reverse(pMade->begin(), pMade->end());
    const CLineage* pExpected = nullptr;
    if (m_pLineage.compare_exchange_strong(pExpected, pMade.get(), std::memory_order_acq_rel))
        return *pMade.release();
    return *pExpected;  // another thread made it first
}

BOOL CQVTMarkupType::IsDerivedFrom(CQVTMarkupType* pType) const
{
    if (pType == nullptr)
        return FALSE;
    if (pType == this)
        return TRUE;
    const CLineage& mine = GetLineage();
    const size_t nDepth = pType->GetLineage().size() - 1;
    return nDepth < mine.size() && mine[nDepth] == pType;
}

CQVTMarkupObject* CQVTMarkupType::CreateObject(CQVTMarkupContext* pContext)
{
    return m_pfnCreate != nullptr ? m_pfnCreate(pContext) : nullptr;
}

CQVTMarkupObject* CQVTMarkupType::ConvertFrom(CQVTMarkupBuilder*, CQVTMarkupObject* pSource)
{
    CQVTMarkupString* pString = MarkupCast<CQVTMarkupString>(pSource);
    if (pString == nullptr)
        return nullptr;
    CQVTMarkupType* pType = FindMarkupType(pString->GetText());
    if (pType != nullptr)
        pType->InternalAddRef();
    return pType;
}

void CQVTMarkupType::SetDefaultStyle(CQVTMarkupStyle* pStyle)
{
    if (m_pDefaultStyle != nullptr)
        m_pDefaultStyle->InternalRelease();
    m_pDefaultStyle = pStyle;
    if (pStyle != nullptr)
    {
        pStyle->Seal();
        if (pStyle->GetMergedValue(CQVTMarkupStyle::m_pResourcesProperty) != nullptr ||
            pStyle->GetMergedValue(CQVTMarkupInputElement::m_pStyleProperty) != nullptr)
            g_bDefaultStylesHoldResources = TRUE;
    }
}

BOOL AFX_CDECL CQVTMarkupType::DefaultStylesHoldResources()
{
    return g_bDefaultStylesHoldResources;
}

void AFX_CDECL CQVTMarkupType::EnsureRegistered(CQVTMarkupType* pType)
{
    if (pType == nullptr || pType->m_bRegistered)
        return;
    CQVTMarkupType* pBase = pType->GetBaseType();
    if (pBase != nullptr && !pBase->m_bRegistered)
        EnsureRegistered(pBase);
    pType->m_bRegistered = TRUE;
    if (pType->m_pfnRegister != nullptr)
        pType->m_pfnRegister();
}

void AFX_CDECL CQVTMarkupType::RegisterAllTypes()
{
    CClassList* pList = MarkupClassList();
    for (auto& item : pList->m_mapTags)
        EnsureRegistered(item.second.GetType());
    for (size_t i = 0; i < pList->m_listUntagged.size(); ++i)
        EnsureRegistered(pList->m_listUntagged[i].GetType());
}

std::vector<CQVTMarkupType*> AFX_CDECL CQVTMarkupType::GetRegisteredTypes()
{
    std::vector<CQVTMarkupType*> types;
    CClassList* pList = MarkupClassList();
    for (auto& item : pList->m_mapTags)
        types.push_back(item.second.GetType());
    for (CClassList::CTypeEntry& entry : pList->m_listUntagged)
        types.push_back(entry.GetType());
    return types;
}

int AFXAPI RegisterMarkupClass(LPCWSTR lpszTagName, CQVTMarkupType::PFNTYPE pfnType)
{
    CClassList* pList = MarkupClassList();
    CClassList::CTypeEntry entry = {pfnType, nullptr};
    if (lpszTagName != nullptr && *lpszTagName != 0)
        pList->m_mapTags[CString(lpszTagName)] = entry;
    else
        pList->m_listUntagged.push_back(entry);
    return 0;
}

CQVTMarkupType* AFXAPI FindMarkupType(LPCWSTR lpszTagName)
{
    if (lpszTagName == nullptr)
        return nullptr;
    // A build asks for the same few tags over and over: the entries found
    // last, by a hash of the tag, spare the map's comparisons. Entries of a
    // map are never removed, so a remembered one stays valid.
    using CTagItem = std::pair<const CString, CClassList::CTypeEntry>;
    static std::atomic<CTagItem*> s_recent[64];
    size_t nHash = 2166136261u;
    for (LPCWSTR p = lpszTagName; *p != 0; ++p)
        nHash = (nHash ^ static_cast<size_t>(*p)) * 16777619u;
    std::atomic<CTagItem*>& recent = s_recent[(nHash ^ (nHash >> 7)) & (_countof(s_recent) - 1)];
    if (CTagItem* pItem = recent.load(std::memory_order_acquire))
    {
        if (_tcscmp(pItem->first.GetString(), lpszTagName) == 0)
            return pItem->second.GetType();
    }
    CClassList* pList = MarkupClassList();
    auto it = pList->m_mapTags.find(lpszTagName);
    if (it == pList->m_mapTags.end())
        return nullptr;
    recent.store(&*it, std::memory_order_release);
    return it->second.GetType();
}
