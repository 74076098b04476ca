#include "skin_object_test_support.h"

int CSkinTestObject::s_nLive = 0;

IMPLEMENT_DYNCREATE(CSkinTestObject, CQVTSkinObject)
IMPLEMENT_DYNCREATE(CSkinTestSubclassingObject, CSkinTestObject)

BEGIN_MESSAGE_MAP(CSkinTestObject, CQVTSkinObject)
    ON_MESSAGE(kSkinTestDefaultMessage, &CSkinTestObject::OnTestDefault)
    ON_MESSAGE(kSkinTestCountedMessage, &CSkinTestObject::OnTestCounted)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinTestObject::CSkinTestObject()
{
    m_strClassName = u"BUTTON";
    ++s_nLive;
}

CSkinTestObject::~CSkinTestObject()
{
    --s_nLive;
}

void CSkinTestObject::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    m_skinChanges.emplace_back(bPrevState, bNewState);
    CQVTSkinObject::OnSkinChanged(bPrevState, bNewState);
}

LRESULT CSkinTestObject::OnTestDefault(WPARAM, LPARAM)
{
    return Default();
}

LRESULT CSkinTestObject::OnTestCounted(WPARAM, LPARAM)
{
    ++m_nCounted;
    return 77;
}

SkinTestClassMap::SkinTestClassMap(std::initializer_list<LPCTSTR> names, CRuntimeClass* pClass)
{
    CQVTSkinObjectClassMap* pMap = QVTSkinManager()->GetClassMap();
    for (LPCTSTR name : names)
    {
        m_names.emplace_back(name);
        pMap->AddClass(name, pClass);
    }
}

SkinTestClassMap::~SkinTestClassMap()
{
    // Back to an entry that makes nothing.
    CQVTSkinObjectClassMap* pMap = QVTSkinManager()->GetClassMap();
    for (const CString& name : m_names)
        pMap->AddClass(name, static_cast<CRuntimeClass*>(nullptr));
}

void CSkinTestObject::OnPaint()
{
    CQVTSkinObjectPaintDC dc(this);
    dc.FillSolidRect(0, 0, 5, 5, RGB(255, 0, 0));
}
