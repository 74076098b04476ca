// The skin objects the manager's tests attach: they count what reaches them
// and answer a test message through Default(), so a test sees where the
// default processing went.
#pragma once

#include <afxwin.h>

#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/skinframework/manager/QVTSkinManager.h"
#include "toolkit/skinframework/objects/QVTSkinObject.h"

// Answered by the test objects with Default()'s result.
const UINT kSkinTestDefaultMessage = WM_APP + 21;
// Counted by the test objects' handler; answered with 77.
const UINT kSkinTestCountedMessage = WM_APP + 22;

class CSkinTestObject : public CQVTSkinObject
{
    DECLARE_DYNCREATE(CSkinTestObject)

public:
    CSkinTestObject();
    ~CSkinTestObject() override;

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;

    std::vector<std::pair<BOOL, BOOL>> m_skinChanges;
    int m_nCounted = 0;
    static int s_nLive;

protected:
    afx_msg LRESULT OnTestDefault(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTestCounted(WPARAM wParam, LPARAM lParam);
    // Paints its top-left 5 by 5 pixels red.
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// Subclasses whatever procedure its window has.
class CSkinTestSubclassingObject : public CSkinTestObject
{
    DECLARE_DYNCREATE(CSkinTestSubclassingObject)

public:
    CSkinTestSubclassingObject() { m_bAlwaysSubclass = TRUE; }
    // Handled in the window procedure, as a system window's messages are.
    BOOL IsHandledAtDefaultProc(UINT) override { return FALSE; }
};

// Registers the test objects for window classes while it lives.
class SkinTestClassMap
{
public:
    SkinTestClassMap(std::initializer_list<LPCTSTR> names, CRuntimeClass* pClass);
    ~SkinTestClassMap();

private:
    std::vector<CString> m_names;
};
