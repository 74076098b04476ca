#include "core_test_classes.h"

#include "toolkit/markup/values/QVTMarkupValues.h"

int g_nBaseRegistrations = 0;
int g_nDerivedRegistrations = 0;
int g_nRegistrationOrder = 0;
int g_nBaseRegisteredAt = 0;
int g_nDerivedRegisteredAt = 0;

namespace {
void AFX_CDECL RegisterBase()
{
    ++g_nBaseRegistrations;
    g_nBaseRegisteredAt = ++g_nRegistrationOrder;
}

void AFX_CDECL RegisterDerived()
{
    // A registrar that ensures its own class must not recurse.
    CQVTMarkupType::EnsureRegistered(TestDerivedType());
    ++g_nDerivedRegistrations;
    g_nDerivedRegisteredAt = ++g_nRegistrationOrder;
}
}  // namespace

CQVTMarkupType* AFX_CDECL TestBaseType()
{
    static CQVTMarkupType* s_pType =
        new CQVTMarkupType(nullptr, u"CTestBase", nullptr, &CQVTMarkupObject::GetMarkupType, &RegisterBase);
    return s_pType;
}

CQVTMarkupType* AFX_CDECL TestDerivedType()
{
    static CQVTMarkupType* s_pType =
        new CQVTMarkupType(nullptr, u"CTestDerived", nullptr, &TestBaseType, &RegisterDerived);
    return s_pType;
}
