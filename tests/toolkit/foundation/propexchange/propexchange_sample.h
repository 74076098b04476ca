// One object state that goes through every store, and the shared helpers of
// the property-exchange tests.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

#include <functional>
#include <string>
#include <vector>

#include "test_app.h"
#include "tests/toolkit/foundation/propexchange/store_exchange.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"

class CTestShape : public CObject
{
    DECLARE_SERIAL(CTestShape)
public:
    int m_nSides = 0;
};

class CTestCircle : public CTestShape
{
    DECLARE_SERIAL(CTestCircle)
public:
    int m_nRadius = 0;
    void Serialize(CArchive& ar) override;
};

// Not a shape: never to be created where a shape is expected.
class CTestIntruder : public CObject
{
    DECLARE_SERIAL(CTestIntruder)
public:
    static int s_nCreated;
    CTestIntruder() { ++s_nCreated; }
};

struct Sample
{
    BOOL bEnabled = FALSE;
    BYTE nAlpha = 0;
    short nOffset = 0;
    int nWidth = 0;
    int nSame = 7;
    float fRatio = 0;
    double dScale = 0;
    CY cyPrice = {};
    COleDateTime dtWhen;
    COleVariant varExtra;
    CString strTitle;
    CString strEmpty = u"none";
    RECT rcBounds = {};
    SIZE szExtent = {};
    CString strNote;  // through a BSTR
    std::vector<BYTE> blob;
    std::vector<CString> items;
    int nDepth = 0;
    CRuntimeClass* pKind = nullptr;
    int nRadius = 0;

    static Sample Filled(Store store);
};

// Saves or loads a sample; every operation the store supports must succeed.
void ExchangeSample(CQVTPropExchange* pPX, Store store, Sample& sample, bool bExpect = true);
void ExpectSameSample(const Sample& expected, const Sample& actual, Store store);

// Loads whatever the exchange holds, for damaged stores: the result does not
// matter, only that nothing crashes. Archive errors arrive as CException.
void LoadAnything(CQVTPropExchange* pPX, Store store);

// The bytes an archive holds after body has stored through it.
std::string SaveArchive(const std::function<void(CQVTPropExchange*)>& body);

std::u16string TempPath(const char16_t* pszName);
std::string ReadFileBytes(const std::u16string& path);
void WriteFileBytes(const std::u16string& path, const std::string& bytes);

// Runs this test program again with one test and an environment variable;
// returns its exit code.
DWORD RunChild(const char16_t* pszTest, const char16_t* pszVariable, const std::u16string& value);
