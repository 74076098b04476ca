// Memory device contexts for a painting block: off-screen buffers copied to
// their target when the block ends, and memory DCs with a bitmap selected.
// Each restores what it selected and deletes what it made on every path;
// a failure leaves the DC or bitmap null and nothing is drawn or copied.
#pragma once

#include <afxwin.h>

// The text and visibility operations go straight to this object's own HDC,
// whatever a derived framework DC would do with them.
class CQVTDirectDC : public CDC
{
public:
    using CDC::DrawText;
    using CDC::DrawTextEx;
    using CDC::Escape;
    using CDC::ExtTextOut;
    using CDC::PtVisible;
    using CDC::TabbedTextOut;
    using CDC::TextOut;

    BOOL PtVisible(int x, int y) const override;
    BOOL RectVisible(LPCRECT lpRect) const override;
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) override;
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    LPINT lpDxWidths) override;
    CSize TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                        LPINT lpnTabStopPositions, int nTabOrigin) override;
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) override;
    int DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat,
                   LPDRAWTEXTPARAMS lpDTParams) override;
    BOOL GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount,
                    int x, int y, int nWidth, int nHeight) override;
    int Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData) override;
};

// A buffer in the target's own coordinates: its bitmap reaches the
// rectangle's right and bottom edges, so drawing code needs no offset.
class CQVTBufferDC : public CQVTDirectDC
{
public:
    // Over the paint structure's rectangle, clipped to it.
    explicit CQVTBufferDC(CPaintDC& paintDC);
    CQVTBufferDC(HDC hDestDC, const CRect& rect);
    ~CQVTBufferDC() override;

    // Nothing is copied to the target at the end.
    void Discard() { m_hDestDC = nullptr; }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    const CRect& GetRect() const { return m_rect; }

private:
    void Create(BOOL bClip);

    HDC m_hDestDC;
    HBITMAP m_hBitmap = nullptr;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// A rectangle-sized buffer whose viewport is moved so that callers still
// draw in target coordinates: the form for large windows.
class CQVTBufferDCEx : public CQVTDirectDC
{
public:
    CQVTBufferDCEx(HDC hDestDC, const CRect& rect);
    ~CQVTBufferDCEx() override;

    void Discard() { m_hDestDC = nullptr; }
    HBITMAP GetBitmap() const { return m_hBitmap; }

private:
    HDC m_hDestDC;
    HBITMAP m_hBitmap = nullptr;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// A memory DC the caller creates, with a bitmap swapped in and out.
class CQVTBitmapDC : public CQVTDirectDC
{
public:
    CQVTBitmapDC() = default;
    ~CQVTBitmapDC() override;

    // Puts the first bitmap back, then selects this one (when not null).
    void SetBitmap(HBITMAP hBitmap);

private:
    HGDIOBJ m_hOldBitmap = nullptr;
    HBITMAP m_hBitmap = nullptr;
};

// A memory DC compatible with a DC (the screen without one) holding a bitmap.
class CQVTCompatibleDC : public CQVTDirectDC
{
public:
    CQVTCompatibleDC(CDC* pDC, CBitmap* pBitmap);
    CQVTCompatibleDC(CDC* pDC, HBITMAP hBitmap);
    ~CQVTCompatibleDC() override;

private:
    void Init(CDC* pDC, HBITMAP hBitmap);

    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
};
