// The argument objects that travel with routed events.
#pragma once

#include "toolkit/markup/core/QVTMarkupObject.h"

class CQVTMarkupRoutedEvent;

class CQVTMarkupRoutedEventArgs : public CQVTMarkupObject
{
public:
    CQVTMarkupRoutedEventArgs(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupObject* pSource)
        : m_pEvent(pEvent), m_pSource(pSource), m_bHandled(FALSE)
    {
    }

    CQVTMarkupRoutedEvent* GetEvent() const { return m_pEvent; }
    CQVTMarkupObject* GetSource() const { return m_pSource; }
    BOOL IsHandled() const { return m_bHandled; }
    // Once handled, an event stays handled.
    void SetHandled(BOOL bHandled)
    {
        if (bHandled)
            m_bHandled = TRUE;
    }

private:
    CQVTMarkupRoutedEvent* m_pEvent;  // not counted
    CQVTMarkupObject* m_pSource;      // not counted
    BOOL m_bHandled;

private:
    BOOL GetHandledProperty();
    void SetHandledProperty(BOOL bHandled);
    LPDISPATCH GetEventProperty();
    LPDISPATCH GetSourceProperty();
    DECLARE_DISPATCH_MAP()
};

class CQVTMarkupMouseEventArgs : public CQVTMarkupRoutedEventArgs
{
public:
    CQVTMarkupMouseEventArgs(CQVTMarkupRoutedEvent* pEvent, CQVTMarkupObject* pSource, HWND hWnd, POINT pt)
        : CQVTMarkupRoutedEventArgs(pEvent, pSource), m_hWnd(hWnd), m_pt(pt)
    {
    }

    HWND GetHostWindow() const { return m_hWnd; }
    // In the host window's client coordinates.
    POINT GetPosition() const { return m_pt; }
    // Relative to the element's origin; the stored position without one.
    POINT GetPosition(CQVTMarkupObject* pElement) const;

private:
    HWND m_hWnd;
    POINT m_pt;
};

class CQVTMarkupMouseButtonEventArgs : public CQVTMarkupMouseEventArgs
{
public:
    using CQVTMarkupMouseEventArgs::CQVTMarkupMouseEventArgs;
};

class CQVTMarkupMouseWheelEventArgs : public CQVTMarkupMouseEventArgs
{
public:
    CQVTMarkupMouseWheelEventArgs(CQVTMarkupObject* pSource, HWND hWnd, POINT pt, int nDelta)
        : CQVTMarkupMouseEventArgs(nullptr, pSource, hWnd, pt), m_nDelta(nDelta)
    {
    }
    int GetDelta() const { return m_nDelta; }

private:
    int m_nDelta;
};

class CQVTMarkupQueryCursorEventArgs : public CQVTMarkupMouseEventArgs
{
public:
    CQVTMarkupQueryCursorEventArgs(CQVTMarkupObject* pSource, HWND hWnd, POINT pt)
        : CQVTMarkupMouseEventArgs(nullptr, pSource, hWnd, pt), m_hCursor(nullptr)
    {
    }
    HCURSOR GetCursor() const { return m_hCursor; }
    void SetCursor(HCURSOR hCursor) { m_hCursor = hCursor; }

private:
    HCURSOR m_hCursor;
};
