// The tree of static extensions that x:Static paths read: system colours and
// brushes, ambient colours that follow the application's changes, and the
// branches themes add below the root.
#pragma once

#include <map>
#include <memory>

#include "toolkit/foundation/core/QVTApplication.h"
#include "toolkit/markup/values/QVTMarkupBrush.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

class CQVTMarkupStaticExtension
{
public:
    explicit CQVTMarkupStaticExtension(LPCWSTR lpszName, BOOL bLeaf = FALSE);
    virtual ~CQVTMarkupStaticExtension();

    CQVTMarkupStaticExtension(const CQVTMarkupStaticExtension&) = delete;
    CQVTMarkupStaticExtension& operator=(const CQVTMarkupStaticExtension&) = delete;

    // The node's value with a new reference; inner nodes have none.
    virtual CQVTMarkupObject* ProvideValue() { return nullptr; }
    // The value at a dotted path below this node, with a new reference.
    virtual CQVTMarkupObject* FindValue(LPCWSTR lpszPath);

    // Takes the child; one of the same name takes the first one's place.
    void AddExtension(CQVTMarkupStaticExtension* pChild);
    // The node (not its value) at a dotted path, or null.
    CQVTMarkupStaticExtension* FindExtension(LPCWSTR lpszPath);

    LPCWSTR GetName() const { return m_strName; }
    BOOL IsLeaf() const { return m_bLeaf; }

    // The root of a context: SystemColors and AmbientColors below "__root__".
    static CQVTMarkupStaticExtension* AFX_CDECL CreateRoot();
    // Names hold only A-Z, a-z and '_'.
    static BOOL AFX_CDECL IsValidName(LPCWSTR lpszName, int nLength);

private:
    CQVTMarkupStaticExtension* FindChild(LPCWSTR lpszName, int nLength) const;

    struct CNameLess
    {
        bool operator()(const CString& a, const CString& b) const { return _tcscmp(a, b) < 0; }
    };

    BOOL m_bLeaf;
    CString m_strName;
    std::map<CString, std::unique_ptr<CQVTMarkupStaticExtension>, CNameLess> m_children;
};

// A leaf holding a value.
class CQVTMarkupStaticExtensionProperty : public CQVTMarkupStaticExtension
{
public:
    // Takes the value's reference.
    CQVTMarkupStaticExtensionProperty(LPCWSTR lpszName, CQVTMarkupObject* pValue);
    ~CQVTMarkupStaticExtensionProperty() override;

    CQVTMarkupObject* ProvideValue() override;
    CQVTMarkupObject* FindValue(LPCWSTR) override { return nullptr; }

protected:
    // Takes the reference of the new value.
    void ReplaceValue(CQVTMarkupObject* pValue);
    CQVTMarkupObject* GetHeldValue() const { return m_pValue; }

private:
    CQVTMarkupObject* m_pValue;  // counted
};

class CQVTMarkupStaticExtensionBrushProperty : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupStaticExtensionBrushProperty(LPCWSTR lpszName, COLORREF clr);
};

// The system colour of an index, read when the node is made.
class CQVTMarkupSystemColorStaticExtension : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupSystemColorStaticExtension(LPCWSTR lpszName, int nIndex);
};

class CQVTMarkupSystemBrushStaticExtension : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupSystemBrushStaticExtension(LPCWSTR lpszName, int nIndex);
};

class CQVTMarkupSystemColorKeyStaticExtension : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupSystemColorKeyStaticExtension(LPCWSTR lpszName, int nIndex);
};

class CQVTMarkupSystemBrushKeyStaticExtension : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupSystemBrushKeyStaticExtension(LPCWSTR lpszName, int nIndex);
};

class CQVTMarkupAmbientColorsStaticExtensionProperty : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupAmbientColorsStaticExtensionProperty(LPCWSTR lpszName, int nProperty);
};

class CQVTMarkupAmbientColorsBrushStaticExtensionProperty : public CQVTMarkupStaticExtensionProperty
{
public:
    CQVTMarkupAmbientColorsBrushStaticExtensionProperty(LPCWSTR lpszName, int nProperty);
};

// A brush of a colour derived from the ambient colour, replaced by a new one
// when the ambient colour changes; brushes handed out before keep theirs.
class CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty : public CQVTMarkupStaticExtensionProperty,
                                                                    public IQVTApplicationEvents
{
public:
    CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty(LPCWSTR lpszName, int nKind);
    ~CQVTMarkupPaintManagerBaseThemeBrushStaticExtensionProperty() override;

    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

private:
    int m_nKind;
};

class CQVTMarkupSystemColorsStaticExtension : public CQVTMarkupStaticExtension
{
public:
    CQVTMarkupSystemColorsStaticExtension();
};

class CQVTMarkupAmbientColorsStaticExtension : public CQVTMarkupStaticExtension
{
public:
    CQVTMarkupAmbientColorsStaticExtension();
};

// The application's ambient colour of an index, opaque; follows changes.
class CQVTMarkupAmbientColor : public CQVTMarkupColor, public IQVTApplicationEvents
{
public:
    explicit CQVTMarkupAmbientColor(int nProperty);
    ~CQVTMarkupAmbientColor() override;

    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

private:
    int m_nProperty;
};

class CQVTMarkupAmbientColorBrush : public CQVTMarkupSolidColorBrush, public IQVTApplicationEvents
{
public:
    explicit CQVTMarkupAmbientColorBrush(int nProperty);
    ~CQVTMarkupAmbientColorBrush() override;

    void OnAmbientPropertyChanged(CQVTApplication* pApplication, int nProperty) override;

private:
    int m_nProperty;
};

// The application's ambient property as a COLORREF; -1 when unavailable.
COLORREF AFXAPI MarkupReadAmbientColor(int nProperty);
