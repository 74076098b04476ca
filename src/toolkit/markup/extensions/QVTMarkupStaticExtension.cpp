#include "toolkit/markup/extensions/QVTMarkupStaticExtension.h"

namespace {
struct CSystemColorRow
{
    LPCWSTR lpszStem;
    int nIndex;
};

const CSystemColorRow kSystemColors[] = {
    {u"ActiveBorder", 10},
    {u"ActiveCaption", 2},
    {u"ActiveCaptionText", 9},
    {u"AppWorkspace", 12},
    {u"Control", 15},
    {u"ControlDark", 16},
    {u"ControlDarkDark", 21},
    {u"ControlLight", 22},
    {u"ControlLightLight", 20},
    {u"ControlText", 18},
    {u"Desktop", 1},
    {u"GradientActiveCaption", 27},
    {u"GradientInactiveCaption", 28},
    {u"GrayText", 17},
    {u"Highlight", 13},
    {u"HighlightText", 14},
    {u"HotTrack", 26},
    {u"InactiveBorder", 11},
    {u"InactiveCaption", 3},
    {u"InactiveCaptionText", 19},
    {u"Info", 24},
    {u"InfoText", 23},
    {u"Menu", 4},
    {u"MenuBar", 30},
    {u"MenuHighlight", 29},
    {u"MenuText", 7},
    {u"ScrollBar", 0},
    {u"Window", 5},
    {u"WindowFrame", 6},
    {u"WindowText", 8},
};

void AddObserver(IQVTApplicationEvents* pObserver)
{
    CQVTApplication* pApplication = QVTApplication();
    CQVTWriteLock lock(pApplication->GetLock());
    pApplication->AddObserver(pObserver);
}

// After the shutdown the application can no longer be reached, and holds no
// entry of ours any more.
void RemoveObserver(IQVTApplicationEvents* pObserver)
{
    try
    {
        CQVTApplication* pApplication = QVTApplication();
        CQVTWriteLock lock(pApplication->GetLock());
        pApplication->RemoveObserver(pObserver);
    }
    catch (CException* e)
    {
        e->Delete();
    }
}
}  // namespace

COLORREF AFXAPI MarkupReadAmbientColor(int nProperty)
{
    try
    {
        COleVariant& property = QVTApplication()->GetAmbientProperty(nProperty);
        VARIANT value;
        ::VariantInit(&value);
        COLORREF clr = static_cast<COLORREF>(-1);
        if (SUCCEEDED(::VariantChangeType(&value, &property, 0, VT_I4)))
            clr = static_cast<COLORREF>(value.lVal);
        ::VariantClear(&value);
        return clr;
    }
    catch (CException* e)
    {
        e->Delete();
        return static_cast<COLORREF>(-1);
    }
}

// Tree nodes

CQVTMarkupStaticExtension::CQVTMarkupStaticExtension(LPCWSTR lpszName, BOOL bLeaf)
    : m_bLeaf(bLeaf), m_strName(lpszName != nullptr ? lpszName : u"")
{
}

CQVTMarkupStaticExtension::~CQVTMarkupStaticExtension() = default;

BOOL AFX_CDECL CQVTMarkupStaticExtension::IsValidName(LPCWSTR lpszName, int nLength)
{
    if (lpszName == nullptr || nLength <= 0)
        return FALSE;
    for (int i = 0; i < nLength; ++i)
    {
        const WCHAR c = lpszName[i];
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'))
            return FALSE;
    }
    return TRUE;
}

CQVTMarkupStaticExtension* CQVTMarkupStaticExtension::FindChild(LPCWSTR lpszName, int nLength) const
{
    auto it = m_children.find(CString(lpszName, nLength));
    return it != m_children.end() ? it->second.get() : nullptr;
}

void CQVTMarkupStaticExtension::AddExtension(CQVTMarkupStaticExtension* pChild)
{
    std::unique_ptr<CQVTMarkupStaticExtension> child(pChild);
    if (m_bLeaf || pChild == nullptr)
        return;
    m_children[CString(pChild->GetName())] = std::move(child);
}

CQVTMarkupObject* CQVTMarkupStaticExtension::FindValue(LPCWSTR lpszPath)
{
    if (lpszPath == nullptr)
        return nullptr;
    LPCWSTR lpszDot = _tcschr(lpszPath, u'.');
    if (lpszDot != nullptr)
    {
        const int nLength = static_cast<int>(lpszDot - lpszPath);
        if (!IsValidName(lpszPath, nLength))
            return nullptr;
        CQVTMarkupStaticExtension* pChild = FindChild(lpszPath, nLength);
        return pChild != nullptr ? pChild->FindValue(lpszDot + 1) : nullptr;
    }
    const int nLength = static_cast<int>(_tcslen(lpszPath));
    if (!IsValidName(lpszPath, nLength))
        return nullptr;
    CQVTMarkupStaticExtension* pChild = FindChild(lpszPath, nLength);
    return pChild != nullptr ? pChild->ProvideValue() : nullptr;
}

CQVTMarkupStaticExtension* CQVTMarkupStaticExtension::FindExtension(LPCWSTR lpszPath)
{
    if (lpszPath == nullptr)
        return nullptr;
    LPCWSTR lpszDot = _tcschr(lpszPath, u'.');
    const int nLength =
        lpszDot != nullptr ? static_cast<int>(lpszDot - lpszPath) : static_cast<int>(_tcslen(lpszPath));
    if (!IsValidName(lpszPath, nLength))
        return nullptr;
    CQVTMarkupStaticExtension* pChild = FindChild(lpszPath, nLength);
    if (pChild == nullptr || lpszDot == nullptr)
        return pChild;
    return pChild->FindExtension(lpszDot + 1);
}

CQVTMarkupStaticExtension* AFX_CDECL CQVTMarkupStaticExtension::CreateRoot()
{
    CQVTMarkupStaticExtension* pRoot = new CQVTMarkupStaticExtension(u"__root__");
    pRoot->AddExtension(new CQVTMarkupSystemColorsStaticExtension());
    pRoot->AddExtension(new CQVTMarkupAmbientColorsStaticExtension());
    return pRoot;
}

// Leaves

CQVTMarkupStaticExtensionProperty::CQVTMarkupStaticExtensionProperty(LPCWSTR lpszName,
                                                                     CQVTMarkupObject* pValue)
    : CQVTMarkupStaticExtension(lpszName, TRUE), m_pValue(pValue)
{
}

CQVTMarkupStaticExtensionProperty::~CQVTMarkupStaticExtensionProperty()
{
    if (m_pValue != nullptr)
        m_pValue->InternalRelease();
}

CQVTMarkupObject* CQVTMarkupStaticExtensionProperty::ProvideValue()
{
    if (m_pValue != nullptr)
        m_pValue->InternalAddRef();
    return m_pValue;
}

void CQVTMarkupStaticExtensionProperty::ReplaceValue(CQVTMarkupObject* pValue)
{
    CQVTMarkupObject* pOld = m_pValue;
    m_pValue = pValue;
    if (pOld != nullptr)
        pOld->InternalRelease();
}

CQVTMarkupStaticExtensionBrushProperty::CQVTMarkupStaticExtensionBrushProperty(LPCWSTR lpszName, COLORREF clr)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupSolidColorBrush(clr))
{
}

CQVTMarkupSystemColorStaticExtension::CQVTMarkupSystemColorStaticExtension(LPCWSTR lpszName, int nIndex)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupColor(::GetSysColor(nIndex)))
{
}

CQVTMarkupSystemBrushStaticExtension::CQVTMarkupSystemBrushStaticExtension(LPCWSTR lpszName, int nIndex)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupSolidColorBrush(::GetSysColor(nIndex)))
{
}

CQVTMarkupSystemColorKeyStaticExtension::CQVTMarkupSystemColorKeyStaticExtension(LPCWSTR lpszName, int nIndex)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupColorKey(nIndex))
{
}

CQVTMarkupSystemBrushKeyStaticExtension::CQVTMarkupSystemBrushKeyStaticExtension(LPCWSTR lpszName, int nIndex)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupBrushKey(nIndex))
{
}

CQVTMarkupAmbientColorsStaticExtensionProperty::CQVTMarkupAmbientColorsStaticExtensionProperty(
    LPCWSTR lpszName, int nProperty)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupAmbientColor(nProperty))
{
}

CQVTMarkupAmbientColorsBrushStaticExtensionProperty::CQVTMarkupAmbientColorsBrushStaticExtensionProperty(
    LPCWSTR lpszName, int nProperty)
    : CQVTMarkupStaticExtensionProperty(lpszName, new CQVTMarkupAmbientColorBrush(nProperty))
{
}

CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty::
    CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty(LPCWSTR lpszName, int nKind)
    : CQVTMarkupStaticExtensionProperty(lpszName, nullptr), m_nKind(nKind)
{
    ReplaceValue(new CQVTMarkupSolidColorBrush(QVTApplication()->GetAmbientColor(nKind)));
    AddObserver(this);
}

CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty::
    ~CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty()
{
    RemoveObserver(this);
}

void CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty::OnAmbientPropertyChanged(
    CQVTApplication* pApplication, int nProperty)
{
    if (nProperty != 0 || pApplication == nullptr)
        return;
    ReplaceValue(new CQVTMarkupSolidColorBrush(pApplication->GetAmbientColor(m_nKind)));
}

// Groups

CQVTMarkupSystemColorsStaticExtension::CQVTMarkupSystemColorsStaticExtension()
    : CQVTMarkupStaticExtension(u"SystemColors")
{
    for (const CSystemColorRow& row : kSystemColors)
    {
        CString strStem(row.lpszStem);
        AddExtension(new CQVTMarkupSystemColorStaticExtension(strStem + u"Color", row.nIndex));
        AddExtension(new CQVTMarkupSystemColorKeyStaticExtension(strStem + u"ColorKey", row.nIndex));
        AddExtension(new CQVTMarkupSystemBrushStaticExtension(strStem + u"Brush", row.nIndex));
        AddExtension(new CQVTMarkupSystemBrushKeyStaticExtension(strStem + u"BrushKey", row.nIndex));
    }
}

CQVTMarkupAmbientColorsStaticExtension::CQVTMarkupAmbientColorsStaticExtension()
    : CQVTMarkupStaticExtension(u"AmbientColors")
{
    AddExtension(new CQVTMarkupAmbientColorsStaticExtensionProperty(u"AccentColor", 0));
    AddExtension(new CQVTMarkupAmbientColorsBrushStaticExtensionProperty(u"AccentBrush", 0));
    AddExtension(new CQVTMarkupAmbientColorsStaticExtensionProperty(u"StateColor", 1));
    AddExtension(new CQVTMarkupAmbientColorsBrushStaticExtensionProperty(u"StateBrush", 1));
}

// Ambient values

CQVTMarkupAmbientColor::CQVTMarkupAmbientColor(int nProperty)
    : CQVTMarkupColor(0xFF, MarkupReadAmbientColor(nProperty)), m_nProperty(nProperty)
{
    AddObserver(this);
}

CQVTMarkupAmbientColor::~CQVTMarkupAmbientColor()
{
    RemoveObserver(this);
}

void CQVTMarkupAmbientColor::OnAmbientPropertyChanged(CQVTApplication*, int nProperty)
{
    if (nProperty == m_nProperty)
        SetColorValue(0xFF000000 | (MarkupReadAmbientColor(m_nProperty) & 0xFFFFFF));
}

CQVTMarkupAmbientColorBrush::CQVTMarkupAmbientColorBrush(int nProperty)
    : CQVTMarkupSolidColorBrush(0xFF, MarkupReadAmbientColor(nProperty)), m_nProperty(nProperty)
{
    AddObserver(this);
}

CQVTMarkupAmbientColorBrush::~CQVTMarkupAmbientColorBrush()
{
    RemoveObserver(this);
}

void CQVTMarkupAmbientColorBrush::OnAmbientPropertyChanged(CQVTApplication*, int nProperty)
{
    if (nProperty == m_nProperty)
        SetColor(0xFF, MarkupReadAmbientColor(m_nProperty));
}
