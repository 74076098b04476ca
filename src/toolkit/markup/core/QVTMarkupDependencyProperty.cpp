#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"

#include <atomic>
#include <cstring>
#include <unordered_map>

#include "toolkit/foundation/core/QVTSingletonPointer.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS_NOCREATE(CQVTMarkupDependencyProperty, CQVTMarkupObject, nullptr, nullptr)

namespace {
// {name, owner type}: equal when the owner is the same type object and the
// names match exactly. A key in the map owns a copy of its name; a lookup's
// key only points at the caller's, so finding a property allocates nothing.
struct CFromNameKey
{
    CFromNameKey(LPCWSTR lpszName, CQVTMarkupType* pOwner, bool bOwnName)
        : pszName(lpszName), nLength(static_cast<int>(_tcslen(lpszName))), pOwnerType(pOwner),
          nNameHash(HashName(lpszName, nLength))
    {
        if (bOwnName)
            Own();
    }
    CFromNameKey(const CFromNameKey& other)
        : pszName(other.pszName), nLength(other.nLength), pOwnerType(other.pOwnerType),
          nNameHash(other.nNameHash)
    {
        if (!other.strOwned.IsEmpty())
            Own();
    }
    CFromNameKey& operator=(const CFromNameKey&) = delete;

    static UINT HashName(LPCWSTR lpszName, int nLength)
    {
        UINT nHash = 0;
        for (int i = 0; i < nLength; ++i)
            nHash = nHash * 33 + static_cast<UINT>(lpszName[i]);
        return nHash;
    }
    void Own()
    {
        strOwned.SetString(pszName, nLength);
        pszName = strOwned.GetString();
    }

    LPCWSTR pszName;  // the owned copy, or the caller's text for a lookup
    int nLength;
    CQVTMarkupType* pOwnerType;
    UINT nNameHash;  // of the name, kept while a lookup walks the owner's base types
    CString strOwned;

    bool operator==(const CFromNameKey& other) const
    {
        return pOwnerType == other.pOwnerType && nNameHash == other.nNameHash && nLength == other.nLength &&
               memcmp(pszName, other.pszName, static_cast<size_t>(nLength) * sizeof(WCHAR)) == 0;
    }
};

struct CFromNameHash
{
    size_t operator()(const CFromNameKey& key) const
    {
        const UINT nNameHash = key.nNameHash;
        // A Park-Miller step spreads the owner's address.
        int x = static_cast<int>(static_cast<UINT>(reinterpret_cast<UINT_PTR>(key.pOwnerType)));
        int nMixed = 16807 * (x % 127773) - 2836 * (x / 127773);
        if (nMixed < 0)
            nMixed += 2147483647;
        const UINT m = static_cast<UINT>(nMixed);
        return (m ^ nNameHash) + m * nNameHash;
    }
};

class CPropertyFromNameMap
{
public:
    ~CPropertyFromNameMap()
    {
        CQVTMarkupObject::OnProcessShutdown();
        for (auto& item : m_map)
            item.second->InternalRelease();
    }

    std::unordered_map<CFromNameKey, CQVTMarkupDependencyProperty*, CFromNameHash> m_map;
    std::vector<CFromNameKey> m_order;  // registration order, for the vocabulary walk
};

QVT_IMPLEMENT_SINGLETON(CPropertyFromNameMap, MarkupPropertyFromNameMap, nullptr)

// Slots handed out so far.
int g_nPropertyCount = 0;

// The properties a thread found lately by type and name: a build asks for the
// same few names on the same few types, each time climbing the bases through
// the map. A registration makes every remembered answer stale.
std::atomic<UINT> g_nNameGeneration(1);
struct CFoundName
{
    const CQVTMarkupType* pType;
    UINT nHash;
    int nLength;
    UINT nGeneration;
    CQVTMarkupDependencyProperty* pProperty;
};
thread_local CFoundName t_foundNames[128];

void EnterName(LPCWSTR lpszName, CQVTMarkupType* pOwnerType, CQVTMarkupDependencyProperty* pProperty)
{
    g_nNameGeneration.fetch_add(1, std::memory_order_acq_rel);
    CPropertyFromNameMap* pMap = MarkupPropertyFromNameMap();
    const CFromNameKey key(lpszName, pOwnerType, true);
    auto it = pMap->m_map.find(key);
    if (it != pMap->m_map.end())
    {
        it->second->InternalRelease();
        it->second = pProperty;
        return;
    }
    pMap->m_map.emplace(key, pProperty);
    pMap->m_order.push_back(key);
}
}  // namespace

CQVTMarkupPropertyMetadata::CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue, DWORD dwFlags)
    : CQVTMarkupPropertyMetadata(pDefaultValue, nullptr, nullptr, dwFlags)
{
}

CQVTMarkupPropertyMetadata::CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue,
                                                       PFNMARKUPCONVERTER pfnConverter, DWORD dwFlags)
    : CQVTMarkupPropertyMetadata(pDefaultValue, pfnConverter, nullptr, dwFlags)
{
}

CQVTMarkupPropertyMetadata::CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue,
                                                       PFNMARKUPPROPERTYCHANGED pfnChanged, DWORD dwFlags)
    : CQVTMarkupPropertyMetadata(pDefaultValue, nullptr, pfnChanged, dwFlags)
{
}

CQVTMarkupPropertyMetadata::CQVTMarkupPropertyMetadata(CQVTMarkupObject* pDefaultValue,
                                                       PFNMARKUPCONVERTER pfnConverter,
                                                       PFNMARKUPPROPERTYCHANGED pfnChanged, DWORD dwFlags)
    : m_pDefaultValue(pDefaultValue), m_pfnConverter(pfnConverter), m_pfnChanged(pfnChanged),
      m_dwFlags(dwFlags)
{
}

CQVTMarkupPropertyMetadata::~CQVTMarkupPropertyMetadata()
{
    if (m_pDefaultValue != nullptr)
        m_pDefaultValue->InternalRelease();
}

CQVTMarkupDependencyProperty::CQVTMarkupDependencyProperty()
    : CQVTMarkupObject(flagNoComInit), m_lpszName(nullptr), m_pPropertyType(nullptr), m_pOwnerType(nullptr),
      m_pMetadata(nullptr), m_bAttached(FALSE), m_nIndex(-1)
{
}

CQVTMarkupDependencyProperty::~CQVTMarkupDependencyProperty()
{
    delete m_pMetadata;
}

CQVTMarkupDependencyProperty* AFX_CDECL CQVTMarkupDependencyProperty::Enter(
    CQVTMarkupDependencyProperty* pProperty, LPCWSTR lpszName, CQVTMarkupType* pPropertyType,
    CQVTMarkupType* pOwnerType, CQVTMarkupPropertyMetadata* pMetadata, BOOL bAttached)
{
    pProperty->m_lpszName = lpszName;
    pProperty->m_pPropertyType = pPropertyType;
    pProperty->m_pOwnerType = pOwnerType;
    pProperty->m_pMetadata = pMetadata;
    pProperty->m_bAttached = bAttached;
    if (!pProperty->IsEvent())
        pProperty->m_nIndex = g_nPropertyCount++;
    EnterName(lpszName, pOwnerType, pProperty);
    return pProperty;
}

CQVTMarkupDependencyProperty* AFX_CDECL
CQVTMarkupDependencyProperty::Register(LPCWSTR lpszName, CQVTMarkupType* pPropertyType,
                                       CQVTMarkupType* pOwnerType, CQVTMarkupPropertyMetadata* pMetadata)
{
    return Enter(new CQVTMarkupDependencyProperty(), lpszName, pPropertyType, pOwnerType, pMetadata, FALSE);
}

CQVTMarkupDependencyProperty* AFX_CDECL CQVTMarkupDependencyProperty::RegisterAttached(
    LPCWSTR lpszName, CQVTMarkupType* pPropertyType, CQVTMarkupType* pOwnerType,
    CQVTMarkupPropertyMetadata* pMetadata)
{
    return Enter(new CQVTMarkupDependencyProperty(), lpszName, pPropertyType, pOwnerType, pMetadata, TRUE);
}

CQVTMarkupRoutedEvent* AFX_CDECL CQVTMarkupDependencyProperty::RegisterRoutedEvent(LPCWSTR lpszName,
                                                                                   DWORD dwRoutingStrategy,
                                                                                   CQVTMarkupType* pOwnerType)
{
    CQVTMarkupPropertyMetadata* pMetadata = dwRoutingStrategy != QVT_MARKUP_ROUTING_DIRECT
                                                ? new CQVTMarkupPropertyMetadata(nullptr, dwRoutingStrategy)
                                                : nullptr;
    CQVTMarkupRoutedEvent* pEvent = new CQVTMarkupRoutedEvent();
    Enter(pEvent, lpszName, CQVTMarkupString::GetMarkupType(), pOwnerType, pMetadata, FALSE);
    return pEvent;
}

CQVTMarkupDependencyProperty* AFX_CDECL
CQVTMarkupDependencyProperty::AddOwner(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupType* pOwnerType)
{
    if (pProperty == nullptr || pOwnerType == nullptr)
        return pProperty;
    pProperty->InternalAddRef();
    EnterName(pProperty->m_lpszName, pOwnerType, pProperty);
    return pProperty;
}

CQVTMarkupDependencyProperty* AFX_CDECL CQVTMarkupDependencyProperty::FindProperty(CQVTMarkupType* pType,
                                                                                   LPCWSTR lpszName)
{
    if (pType == nullptr || lpszName == nullptr)
        return nullptr;
    if (lpszName[0] == u'x' && lpszName[1] == u':')
        lpszName += 2;
    CFromNameKey key(lpszName, pType, false);
    const UINT nGeneration = g_nNameGeneration.load(std::memory_order_acquire);
    CFoundName& found =
        t_foundNames[(key.nNameHash ^ static_cast<UINT>(reinterpret_cast<UINT_PTR>(pType) >> 4)) &
                     (_countof(t_foundNames) - 1)];
    if (found.pType == pType && found.nHash == key.nNameHash && found.nLength == key.nLength &&
        found.nGeneration == nGeneration &&
        memcmp(found.pProperty->GetName(), lpszName, static_cast<size_t>(key.nLength) * sizeof(WCHAR)) == 0)
        return found.pProperty;
    CPropertyFromNameMap* pMap = MarkupPropertyFromNameMap();
    for (; key.pOwnerType != nullptr; key.pOwnerType = key.pOwnerType->GetBaseType())
    {
        auto it = pMap->m_map.find(key);
        if (it != pMap->m_map.end())
        {
            found = {pType, key.nNameHash, key.nLength, nGeneration, it->second};
            return it->second;
        }
    }
    return nullptr;
}

int AFX_CDECL CQVTMarkupDependencyProperty::GetPropertyCount()
{
    return g_nPropertyCount;
}

std::vector<CQVTMarkupDependencyProperty::CEntry> AFX_CDECL
CQVTMarkupDependencyProperty::GetRegisteredProperties()
{
    std::vector<CEntry> entries;
    CPropertyFromNameMap* pMap = MarkupPropertyFromNameMap();
    for (const CFromNameKey& key : pMap->m_order)
        entries.push_back(CEntry{pMap->m_map[key], key.pOwnerType});
    return entries;
}

BEGIN_DISPATCH_MAP(CQVTMarkupRoutedEvent, CQVTMarkupObject)
    DISP_PROPERTY_EX_ID(CQVTMarkupRoutedEvent, "Name", 100, GetNameProperty, SetNotSupported, VT_BSTR)
END_DISPATCH_MAP()

BSTR CQVTMarkupRoutedEvent::GetNameProperty()
{
    return ::SysAllocString(GetName() != nullptr ? GetName() : u"");
}
