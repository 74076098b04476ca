// The looks of the toolkit's own tooltip window: each draws the tip of the
// plain window its own way, or lays it out anew.
#pragma once

#include "toolkit/controls/tooltip/QVTToolTipContext.h"
#include "toolkit/controls/tooltip/QVTToolTipContextToolTip.h"

class CQVTMarkupContext;
class CQVTMarkupUIElement;
class CQVTRichRender;

// A vertical gradient framed in a colour of the system's colour scheme.
class CQVTToolTipContext::CLunaToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit CLunaToolTip(CQVTToolTipContext* pContext) : CQVTToolTipContextToolTip(pContext) {}
    void DrawBackground(CDC* pDC, TOOLITEM* pTool, CRect rc) override;
};

// A gradient of the resource theme's tooltip colours, rounded corners.
class CQVTToolTipContext::COfficeToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit COfficeToolTip(CQVTToolTipContext* pContext) : CQVTToolTipContextToolTip(pContext) {}
    void DrawBackground(CDC* pDC, TOOLITEM* pTool, CRect rc) override;
};

// White, a grey frame, wide margins under a title.
class CQVTToolTipContext::COffice2013ToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit COffice2013ToolTip(CQVTToolTipContext* pContext) : CQVTToolTipContextToolTip(pContext) {}
    CSize CalcToolSize(CDC* pDC, TOOLITEM* pTool) override;
    void DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc) override;
    void DrawBackground(CDC* pDC, TOOLITEM* pTool, CRect rc) override;

    static const COLORREF clrBack = RGB(0xFF, 0xFF, 0xFF);
    static const COLORREF clrBorder = 0xBEBEBE;
    static const COLORREF clrText = 0x5D5D5D;

private:
    // Title and body rectangles of a tip whose top-left is (0, 0).
    CSize Layout(CDC* pDC, TOOLITEM* pTool, CString& strBody, CRect& rcTitle, CRect& rcBody);
};

// The tip is rich text; a text the renderer cannot take shows plain.
class CQVTToolTipContext::CRichEditToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit CRichEditToolTip(CQVTToolTipContext* pContext);
    ~CRichEditToolTip() override;
    CSize CalcToolSize(CDC* pDC, TOOLITEM* pTool) override;
    void DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc) override;

private:
    // Measures (pRect null) or draws the text; FALSE when it cannot be
    // rendered as rich text.
    BOOL RenderRichText(CDC* pDC, const CString& strText, CSize* pSize, const CRect* pRect);

    CQVTRichRender* m_pRender;  // one reference, made on first use
};

// The tip is markup in the window's own markup context; text that does not
// parse shows plain.
class CQVTToolTipContext::CMarkupToolTip : public CQVTToolTipContextToolTip
{
public:
    explicit CMarkupToolTip(CQVTToolTipContext* pContext);
    ~CMarkupToolTip() override;
    CSize CalcToolSize(CDC* pDC, TOOLITEM* pTool) override;
    void DrawTool(CDC* pDC, TOOLITEM* pTool, CRect rc) override;

private:
    // The element of the text, parsed once per text; FALSE when the text is
    // not markup.
    BOOL PrepareElement(const CString& strText);
    // The room the element gets: inside the margins, 3 px and 1 px more.
    int GetInset() const;

    CQVTMarkupContext* m_pMarkupContext;  // the window's own, made on first use
    CQVTMarkupUIElement* m_pElement;      // the text's, or none
    CString m_strElementText;             // the text it was parsed from
};
