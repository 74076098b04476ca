// Shared by the markup test programs: a panel element that holds children
// and text (the library's own panels come later), and helpers that build
// markup text the way the program's entry points will.
#pragma once

#include <ostream>

#include "tests/support/sondrel_gtest.h"

#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupCollection.h"
#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"

// Children stacked top to bottom; text content is kept as written.
class CTestPanel : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CTestPanel)

public:
    CTestPanel();
    ~CTestPanel() override;

    int GetVisualChildrenCount() override;
    CQVTMarkupVisual* GetVisualChild(int nIndex) override;
    BOOL HasContentObject() override { return TRUE; }
    BOOL AllowWhiteSpaceContent() override { return TRUE; }
    void SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent) override;
    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    SIZE ArrangeOverride(SIZE szFinal) override;

    // Takes the caller's reference.
    void AddChild(CQVTMarkupUIElement* pChild);
    CString GetTexts() const;  // texts joined with '|'

    void OnRender(CQVTMarkupDrawingContext* pDC) override;

    int m_nMeasureCount = 0;
    int m_nRenderCount = 0;
    SIZE m_szLastAvailable = {-1, -1};  // what the last MeasureOverride got
    SIZE m_szFixed = {0, 0};            // when set, the content size MeasureOverride reports
    BOOL m_bOverlap = FALSE;            // children all arranged at the origin

private:
    CQVTMarkupCollection* m_pChildren;
    CStringArray m_texts;
};

// The integers a change reported, read while the notification ran (-1 for none).
struct CChangeRecord
{
    CQVTMarkupObject* pObject;
    int nOld;
    int nNew;
};

// Every change of the observed properties, in order.
std::vector<CChangeRecord>& ChangeLog();

// A leaf element with observed properties and a bubbling event.
class CTestElement : public CQVTMarkupFrameworkElement
{
    DECLARE_MARKUPCLASS(CTestElement)

public:
    // Bubbles to the parents and the context's handlers.
    static CQVTMarkupRoutedEvent* m_pPokeEvent;
    // Inherited, with a change callback.
    static CQVTMarkupDependencyProperty* m_pWeightProperty;
    // Not inherited, with a default and a change callback.
    static CQVTMarkupDependencyProperty* m_pLevelProperty;
    // A point scaled on both axes when converted from text.
    static CQVTMarkupDependencyProperty* m_pSpotProperty;
    // A brush.
    static CQVTMarkupDependencyProperty* m_pFillProperty;

private:
    static void AFX_CDECL RegisterMarkupProperties();
};

// Builds text in the context; the root with one reference, or null and the
// error text.
CQVTMarkupUIElement* BuildMarkup(CQVTMarkupContext* pContext, LPCWSTR lpszText, CString* pError = nullptr);
// The error text a text gives (empty when it builds).
CString BuildError(CQVTMarkupContext* pContext, LPCWSTR lpszText);

// A context released when the scope ends.
class CContextHolder
{
public:
    explicit CContextHolder(HWND hWnd = nullptr) : m_pContext(new CQVTMarkupContext(hWnd)) {}
    ~CContextHolder() { m_pContext->Release(); }
    CQVTMarkupContext* operator->() const { return m_pContext; }
    operator CQVTMarkupContext*() const { return m_pContext; }

private:
    CQVTMarkupContext* m_pContext;
};

// A tree root released when the scope ends.
class CTreeHolder
{
public:
    explicit CTreeHolder(CQVTMarkupUIElement* pRoot = nullptr) : m_pRoot(pRoot) {}
    ~CTreeHolder()
    {
        if (m_pRoot != nullptr)
            m_pRoot->InternalRelease();
    }
    CTreeHolder(const CTreeHolder&) = delete;
    CTreeHolder& operator=(const CTreeHolder&) = delete;
    CQVTMarkupUIElement* Get() const { return m_pRoot; }
    CQVTMarkupUIElement* operator->() const { return m_pRoot; }
    operator CQVTMarkupUIElement*() const { return m_pRoot; }
    template <class T>
    T* Find(LPCWSTR lpszName) const
    {
        return m_pRoot != nullptr ? MarkupCast<T>(m_pRoot->FindName(lpszName)) : nullptr;
    }

private:
    CQVTMarkupUIElement* m_pRoot;
};

CQVTMarkupObject* CreateTextValue(LPCWSTR lpszText);

// Converts text with a prototype of type T: the new value, or null.
template <class T>
T* ConvertText(LPCWSTR lpszText)
{
    CQVTMarkupObject* pText = CreateTextValue(lpszText);
    T* pPrototype = new T();
    CQVTMarkupObject* pResult = pPrototype->ConvertFrom(nullptr, pText);
    pPrototype->InternalRelease();
    pText->InternalRelease();
    return static_cast<T*>(pResult);
}

// Records the repaint requests of its elements instead of painting.
class CRecordingContext : public CQVTMarkupContext
{
public:
    void InvalidateElement(CQVTMarkupObject* pElement) override { m_elements.push_back(pElement); }
    void InvalidateAll() override { ++m_nAll; }

    std::vector<CQVTMarkupObject*> m_elements;
    int m_nAll = 0;
};

// "<TestPanel xmlns:x=... xmlns:qvt=...>" + body + "</TestPanel>".
CString PanelMarkup(LPCWSTR lpszBody);
// "<Tag xmlns=... xmlns:x=...>" + body + "</Tag>", attributes in between.
CString RootMarkup(LPCWSTR lpszTag, LPCWSTR lpszAttributes, LPCWSTR lpszBody);

// Readable CString values in failure messages.
inline void PrintTo(const CString& str, std::ostream* os)
{
    *os << '"';
    for (int i = 0; i < str.GetLength(); ++i)
    {
        const WCHAR c = str[i];
        if (c >= 32 && c < 127)
            *os << static_cast<char>(c);
        else
            *os << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
    }
    *os << '"';
}
