// The resource manager over an XML language file: strings, menus and dialog
// templates come from the file; everything else, and whatever the file lacks,
// from the resource module or the program's own file.
#pragma once

#include <afxtempl.h>

#include "toolkit/foundation/resource/QVTResourceManager.h"

class CQVTPropExchangeXMLNode;
class CQVTPropExchange;

class CQVTResourceManagerXML : public CQVTResourceManager
{
public:
    // Parsed forms of menu items, dialog controls and dialogs.
    struct MENUITEMTEMPLATEINFO
    {
        WORD wOptions = 0;
        WORD wID = 0;
        CString strCaption;
    };

    struct DLGITEMTEMPLATEINFO
    {
        DWORD helpID = 0;
        DWORD exStyle = 0;
        DWORD style = 0;
        short x = 0;
        short y = 0;
        short cx = 0;
        short cy = 0;
        DWORD id = 0;
        CString strCaption;
        CString strClassName;
        DWORD nResourceID = 0;  // non-zero: the title is this ordinal
    };

    struct DLGTEMPLATEINFO
    {
        DWORD helpID = 0;
        DWORD exStyle = 0;
        DWORD style = 0;
        short x = 0;
        short y = 0;
        short cx = 0;
        short cy = 0;
        CString strCaption;
        CString strFaceName;
        int nPointSize = 8;
        std::vector<std::unique_ptr<DLGITEMTEMPLATEINFO>> items;
    };

    explicit CQVTResourceManagerXML(LPCTSTR lpszFileName);
    ~CQVTResourceManagerXML() override;

    using CQVTResourceManager::LoadString;
    BOOL LoadString(CString* pString, UINT nID) override;
    BOOL LoadMenu(CMenu* pMenu, UINT nID) override;
    LPCDLGTEMPLATE LoadDialogTemplate(UINT nID) override;
    void Close() override;
    void UpdateResourcesLangID() override;

    // The flat, depth-first item list of a menu element; FALSE when it is
    // empty, nested too deeply or too long.
    static BOOL AFX_CDECL ParseMenu(CQVTPropExchangeXMLNode* pMenu, std::vector<MENUITEMTEMPLATEINFO>& items);
    // A LoadMenuIndirectW template (version 0) of the items.
    static std::vector<BYTE> AFX_CDECL BuildMenuTemplate(const std::vector<MENUITEMTEMPLATEINFO>& items);
    static BOOL AFX_CDECL ParseDialog(CQVTPropExchangeXMLNode* pDialog, DLGTEMPLATEINFO& info);
    // A DLGTEMPLATEEX block from malloc, or null.
    static DLGTEMPLATE* AFX_CDECL BuildDialogTemplate(const DLGTEMPLATEINFO& info);

protected:
    CQVTPropExchangeXMLNode* OpenElement(LPCTSTR lpszElement, UINT nID);

    CQVTPropExchangeXMLNode* m_pResourceRoot;
    CMap<UINT, UINT, DLGTEMPLATE*, DLGTEMPLATE*> m_mapDialogs;
};
