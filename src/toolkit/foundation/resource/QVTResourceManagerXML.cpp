#include "toolkit/foundation/resource/QVTResourceManagerXML.h"

#include <cstdlib>

#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

namespace {
// Bounds on what a language file can make us build.
const int kMaxMenuDepth = 16;
const size_t kMaxMenuItems = 4096;
const size_t kMaxDialogControls = 4096;
const int kMaxText = 4096;

short ClampShort(LONG nValue)
{
    return static_cast<short>(nValue < -32768 ? -32768 : nValue > 32767 ? 32767 : nValue);
}

// Style words are written in decimal (also as negative numbers), or in hex
// with a 0x prefix.
DWORD ParseStyle(const CString& strText, DWORD dwDefault)
{
    CString str(strText);
    str.Trim();
    if (str.IsEmpty())
        return dwDefault;
    LPCWSTR p = str.GetString();
    bool bNegative = false;
    if (*p == u'-' || *p == u'+')
        bNegative = *p++ == u'-';
    unsigned long long nValue = 0;
    int nBase = 10;
    if (p[0] == u'0' && (p[1] == u'x' || p[1] == u'X'))
    {
        nBase = 16;
        p += 2;
    }
    if (*p == 0)
        return dwDefault;
    for (; *p != 0; ++p)
    {
        int nDigit = (*p >= u'0' && *p <= u'9')                  ? *p - u'0'
                     : (nBase == 16 && *p >= u'a' && *p <= u'f') ? *p - u'a' + 10
                     : (nBase == 16 && *p >= u'A' && *p <= u'F') ? *p - u'A' + 10
                                                                 : -1;
        if (nDigit < 0)
            return dwDefault;
        nValue = nValue * nBase + nDigit;
        if (nValue > 0xFFFFFFFFull)
            return dwDefault;
    }
    DWORD dwValue = static_cast<DWORD>(nValue);
    return bNegative ? static_cast<DWORD>(0u - dwValue) : dwValue;
}

DWORD ExchangeStyle(CQVTPropExchange* pPX, LPCTSTR lpszName, DWORD dwDefault)
{
    CString str;
    PropExchangeString(pPX, lpszName, str, u"");
    return ParseStyle(str, dwDefault);
}

CString ExchangeText(CQVTPropExchange* pPX, LPCTSTR lpszName, LPCTSTR lpszDefault)
{
    CString str;
    PropExchangeString(pPX, lpszName, str, lpszDefault);
    if (str.GetLength() > kMaxText)
        str = str.Left(kMaxText);
    return str;
}

void ReadPosition(CQVTPropExchange* pPX, short& x, short& y, short& cx, short& cy)
{
    // Dialog units, as any template holds them: the dialog manager scales
    // them with the dialog font, so they are not DPI-scaled here.
    RECT rc = {0, 0, 0, 0};
    RECT rcDefault = {0, 0, 0, 0};
    pPX->ExchangeProp(u"position", VT_QVT_RECT, &rc, &rcDefault);
    x = ClampShort(rc.left);
    y = ClampShort(rc.top);
    cx = ClampShort(rc.right);
    cy = ClampShort(rc.bottom);
}

BOOL CollectMenuItems(CQVTPropExchangeXMLNode* pLevel,
                      std::vector<CQVTResourceManagerXML::MENUITEMTEMPLATEINFO>& items, int nDepth)
{
    if (nDepth > kMaxMenuDepth)
        return FALSE;
    CQVTPropExchangeXMLNode::CXMLEnumerator enumerator(pLevel, u"menuitem");
    POSITION pos = enumerator.GetPosition();
    size_t nLast = static_cast<size_t>(-1);
    while (pos != nullptr)
    {
        if (items.size() >= kMaxMenuItems)
            return FALSE;
        CQVTPropExchangeSection section(enumerator.GetNext(pos));
        CQVTPropExchangeXMLNode* pItem = static_cast<CQVTPropExchangeXMLNode*>(section.GetExchange());
        int nID = 0;
        PropExchangeInt(pItem, u"id", nID, 0);
        CQVTResourceManagerXML::MENUITEMTEMPLATEINFO info;
        info.wID = static_cast<WORD>(nID);
        info.strCaption = ExchangeText(pItem, u"caption", u"");
        size_t nIndex = items.size();
        items.push_back(info);
        if (!CollectMenuItems(pItem, items, nDepth + 1))
            return FALSE;
        if (items.size() > nIndex + 1)
            items[nIndex].wOptions |= MF_POPUP;
        else if (nID == 0)
            items[nIndex].wOptions |= MF_SEPARATOR;
        nLast = nIndex;
    }
    if (nLast != static_cast<size_t>(-1))
        items[nLast].wOptions |= MF_END;
    return TRUE;
}

void AppendWord(std::vector<BYTE>& buffer, WORD w)
{
    buffer.push_back(static_cast<BYTE>(w & 0xFF));
    buffer.push_back(static_cast<BYTE>(w >> 8));
}

void AppendText(std::vector<BYTE>& buffer, const CString& str)
{
    for (int i = 0; i < str.GetLength(); ++i)
        AppendWord(buffer, static_cast<WORD>(str[i]));
    AppendWord(buffer, 0);
}

// The document's root element is "resource" (the exchange would otherwise
// add one to a document whose root is something else).
BOOL IsResourceDocument(IDispatch* pDocument)
{
    IDispatchPtr pRoot = XmlGetObject(pDocument, u"documentElement");
    CString strName;
    return pRoot != nullptr && XmlGetString(pRoot, u"nodeName", strName) && strName == u"resource";
}

size_t Align4(size_t n)
{
    return (n + 3) & ~static_cast<size_t>(3);
}

void PutWord(BYTE* p, WORD w)
{
    memcpy(p, &w, sizeof(w));
}

void PutDword(BYTE* p, DWORD dw)
{
    memcpy(p, &dw, sizeof(dw));
}

BYTE* PutText(BYTE* p, const CString& str)
{
    size_t nBytes = static_cast<size_t>(str.GetLength()) * sizeof(WCHAR);
    memcpy(p, str.GetString(), nBytes);
    p += nBytes;
    PutWord(p, 0);
    return p + 2;
}
}  // namespace

CQVTResourceManagerXML::CQVTResourceManagerXML(LPCTSTR lpszFileName)
    : m_pResourceRoot(nullptr), m_mapDialogs(10)
{
    m_pResourceRoot = new CQVTPropExchangeXMLNode(TRUE, nullptr, u"resource");
    m_bValid = FALSE;
    try
    {
        if (m_pResourceRoot->LoadFromFile(lpszFileName) &&
            IsResourceDocument(m_pResourceRoot->GetDocument()) && m_pResourceRoot->OnBeforeExchange())
            m_bValid = TRUE;
    }
    catch (_com_error&)
    {
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

CQVTResourceManagerXML::~CQVTResourceManagerXML()
{
    CQVTResourceManagerXML::Close();
}

void CQVTResourceManagerXML::Close()
{
    CQVTResourceManager::Close();
    if (m_pResourceRoot != nullptr)
    {
        m_pResourceRoot->InternalRelease();
        m_pResourceRoot = nullptr;
    }
    POSITION pos = m_mapDialogs.GetStartPosition();
    while (pos != nullptr)
    {
        UINT nID = 0;
        DLGTEMPLATE* pTemplate = nullptr;
        m_mapDialogs.GetNextAssoc(pos, nID, pTemplate);
        std::free(pTemplate);
    }
    m_mapDialogs.RemoveAll();
    m_bValid = FALSE;
}

void CQVTResourceManagerXML::UpdateResourcesLangID()
{
    int nLanguage = 1033;
    if (m_pResourceRoot != nullptr)
    {
        try
        {
            PropExchangeInt(m_pResourceRoot, u"LANGID", nLanguage, 1033);
        }
        catch (_com_error&)
        {
            nLanguage = 1033;
        }
    }
    SetLanguage(static_cast<LANGID>(nLanguage));
}

CQVTPropExchangeXMLNode* CQVTResourceManagerXML::OpenElement(LPCTSTR lpszElement, UINT nID)
{
    if (!m_bValid || m_pResourceRoot == nullptr)
        return nullptr;
    CString strPath;
    strPath.Format(u"%s[@id = \"%i\"]", lpszElement, static_cast<int>(nID));
    if (!m_pResourceRoot->HasSection(strPath))
        return nullptr;
    return static_cast<CQVTPropExchangeXMLNode*>(m_pResourceRoot->GetSection(strPath));
}

BOOL CQVTResourceManagerXML::LoadString(CString* pString, UINT nID)
{
    if (pString == nullptr)
        return FALSE;
    try
    {
        if (CQVTPropExchangeXMLNode* pElement = OpenElement(u"string", nID))
        {
            CQVTPropExchangeSection section(pElement);
            CString str;
            PropExchangeString(pElement, u"value", str, u"");
            *pString = str;
            return TRUE;
        }
    }
    catch (_com_error&)
    {
    }
    catch (CException* e)
    {
        e->Delete();
    }
    return CQVTResourceManager::LoadString(pString, nID);
}

BOOL CQVTResourceManagerXML::LoadMenu(CMenu* pMenu, UINT nID)
{
    if (pMenu == nullptr)
        return FALSE;
    HMENU hMenu = nullptr;
    try
    {
        if (CQVTPropExchangeXMLNode* pElement = OpenElement(u"menu", nID))
        {
            CQVTPropExchangeSection section(pElement);
            std::vector<MENUITEMTEMPLATEINFO> items;
            if (ParseMenu(pElement, items))
            {
                std::vector<BYTE> menuTemplate = BuildMenuTemplate(items);
                hMenu = ::LoadMenuIndirectW(menuTemplate.data());
            }
        }
    }
    catch (_com_error&)
    {
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (hMenu != nullptr)
        return pMenu->Attach(hMenu);
    return CQVTResourceManager::LoadMenu(pMenu, nID);
}

LPCDLGTEMPLATE CQVTResourceManagerXML::LoadDialogTemplate(UINT nID)
{
    DLGTEMPLATE* pTemplate = nullptr;
    if (m_mapDialogs.Lookup(nID, pTemplate))
        return pTemplate;
    try
    {
        if (CQVTPropExchangeXMLNode* pElement = OpenElement(u"dialog", nID))
        {
            CQVTPropExchangeSection section(pElement);
            DLGTEMPLATEINFO info;
            if (ParseDialog(pElement, info))
                pTemplate = BuildDialogTemplate(info);
        }
    }
    catch (_com_error&)
    {
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (pTemplate == nullptr)
        return CQVTResourceManager::LoadDialogTemplate(nID);
    m_mapDialogs.SetAt(nID, pTemplate);
    return pTemplate;
}

BOOL AFX_CDECL CQVTResourceManagerXML::ParseMenu(CQVTPropExchangeXMLNode* pMenu,
                                                 std::vector<MENUITEMTEMPLATEINFO>& items)
{
    items.clear();
    if (pMenu == nullptr || !CollectMenuItems(pMenu, items, 0))
    {
        items.clear();
        return FALSE;
    }
    return !items.empty();
}

std::vector<BYTE> AFX_CDECL
CQVTResourceManagerXML::BuildMenuTemplate(const std::vector<MENUITEMTEMPLATEINFO>& items)
{
    std::vector<BYTE> buffer;
    AppendWord(buffer, 0);  // version
    AppendWord(buffer, 0);  // header size
    for (const MENUITEMTEMPLATEINFO& item : items)
    {
        AppendWord(buffer, item.wOptions);
        if (!(item.wOptions & MF_POPUP))
            AppendWord(buffer, item.wID);
        AppendText(buffer, item.strCaption);
    }
    return buffer;
}

BOOL AFX_CDECL CQVTResourceManagerXML::ParseDialog(CQVTPropExchangeXMLNode* pDialog, DLGTEMPLATEINFO& info)
{
    if (pDialog == nullptr)
        return FALSE;
    info.style = ExchangeStyle(pDialog, u"style", 0);
    info.exStyle = ExchangeStyle(pDialog, u"styleex", 0);
    ReadPosition(pDialog, info.x, info.y, info.cx, info.cy);
    info.strFaceName = ExchangeText(pDialog, u"fontface", u"MS Sans Serif");
    int nPointSize = 8;
    PropExchangeInt(pDialog, u"fontsize", nPointSize, 8);
    info.nPointSize = nPointSize < 1 ? 1 : nPointSize > 0x7FFF ? 0x7FFF : nPointSize;
    info.strCaption = ExchangeText(pDialog, u"caption", u"");
    int nID = 0;
    PropExchangeInt(pDialog, u"id", nID, 0);
    info.helpID = static_cast<DWORD>(nID);

    CQVTPropExchangeXMLNode::CXMLEnumerator enumerator(pDialog, u"control");
    POSITION pos = enumerator.GetPosition();
    while (pos != nullptr)
    {
        if (info.items.size() >= kMaxDialogControls)
            return FALSE;
        CQVTPropExchangeSection section(enumerator.GetNext(pos));
        CQVTPropExchange* pControl = section.GetExchange();
        std::unique_ptr<DLGITEMTEMPLATEINFO> pItem(new DLGITEMTEMPLATEINFO());
        pItem->style = ExchangeStyle(pControl, u"style", WS_CHILD | WS_VISIBLE | WS_GROUP);
        pItem->exStyle = ExchangeStyle(pControl, u"styleex", 0);
        ReadPosition(pControl, pItem->x, pItem->y, pItem->cx, pItem->cy);
        pItem->strCaption = ExchangeText(pControl, u"caption", u"");
        pItem->strClassName = ExchangeText(pControl, u"class", u"STATIC");
        int nControlID = -1;
        PropExchangeInt(pControl, u"id", nControlID, -1);
        pItem->id = static_cast<DWORD>(nControlID);
        int nResource = 0;
        PropExchangeInt(pControl, u"resource", nResource, 0);
        pItem->nResourceID = static_cast<DWORD>(nResource) & 0xFFFF;
        info.items.push_back(std::move(pItem));
    }
    return TRUE;
}

DLGTEMPLATE* AFX_CDECL CQVTResourceManagerXML::BuildDialogTemplate(const DLGTEMPLATEINFO& info)
{
    if (info.items.size() > 0xFFFF)
        return nullptr;
    // Header: 30 fixed bytes, the title, then the font (point size, weight,
    // italic, charset, face).
    size_t nHeader =
        Align4(30 + (info.strCaption.GetLength() + 1) * 2 + 6 + (info.strFaceName.GetLength() + 1) * 2);
    size_t nTotal = nHeader;
    for (const auto& pItem : info.items)
    {
        size_t nTitle = pItem->nResourceID != 0 ? 1 : static_cast<size_t>(pItem->strCaption.GetLength());
        nTotal += Align4(30 + 2 * (pItem->strClassName.GetLength() + nTitle));
    }
    BYTE* pBlock = static_cast<BYTE*>(std::calloc(nTotal, 1));
    if (pBlock == nullptr)
        return nullptr;

    PutWord(pBlock + 0, 1);
    PutWord(pBlock + 2, 0xFFFF);
    PutDword(pBlock + 4, info.helpID);
    PutDword(pBlock + 8, info.exStyle);
    PutDword(pBlock + 12, info.style | DS_SETFONT);
    PutWord(pBlock + 16, static_cast<WORD>(info.items.size()));
    PutWord(pBlock + 18, static_cast<WORD>(info.x));
    PutWord(pBlock + 20, static_cast<WORD>(info.y));
    PutWord(pBlock + 22, static_cast<WORD>(info.cx));
    PutWord(pBlock + 24, static_cast<WORD>(info.cy));
    // Menu 26 and window class 28 stay 0.
    BYTE* p = PutText(pBlock + 30, info.strCaption);
    PutWord(p, static_cast<WORD>(info.nPointSize));
    p += 6;  // weight, italic and charset 0
    PutText(p, info.strFaceName);

    BYTE* pItemStart = pBlock + nHeader;
    for (const auto& pItem : info.items)
    {
        PutDword(pItemStart + 0, pItem->helpID);
        PutDword(pItemStart + 4, pItem->exStyle);
        PutDword(pItemStart + 8, pItem->style);
        PutWord(pItemStart + 12, static_cast<WORD>(pItem->x));
        PutWord(pItemStart + 14, static_cast<WORD>(pItem->y));
        PutWord(pItemStart + 16, static_cast<WORD>(pItem->cx));
        PutWord(pItemStart + 18, static_cast<WORD>(pItem->cy));
        PutDword(pItemStart + 20, pItem->id);
        p = PutText(pItemStart + 24, pItem->strClassName);
        if (pItem->nResourceID != 0)
        {
            PutWord(p, 0xFFFF);
            PutWord(p + 2, static_cast<WORD>(pItem->nResourceID));
            p += 4;
        }
        else
        {
            p = PutText(p, pItem->strCaption);
        }
        PutWord(p, 0);  // no extra data
        size_t nTitle = pItem->nResourceID != 0 ? 1 : static_cast<size_t>(pItem->strCaption.GetLength());
        pItemStart += Align4(30 + 2 * (pItem->strClassName.GetLength() + nTitle));
    }
    return reinterpret_cast<DLGTEMPLATE*>(pBlock);
}
