// The stores the toolkit's settings go to, and one exchange run through any
// of them, storing or loading, so that a test can send the same state
// through every store and read it back.
#pragma once

#include <afxwin.h>

#include "sondrel_gtest.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeArchive.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeIniFile.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeRegistry.h"
#include "toolkit/foundation/propexchange/QVTPropExchangeXMLNode.h"

enum class Store
{
    Xml,
    Archive,
    Registry,
    Ini
};

const Store kStores[] = {Store::Xml, Store::Archive, Store::Registry, Store::Ini};

// Where a test keeps its state in the store: a file of the stem in the
// temporary folder, with the store's extension, or the key of the registry.
inline CString StorePlace(Store store, LPCTSTR lpszFileStem, LPCTSTR lpszRegistryKey)
{
    if (store == Store::Registry)
        return lpszRegistryKey;
    TCHAR szFolder[MAX_PATH] = {};
    ::GetTempPath(MAX_PATH, szFolder);
    const LPCTSTR lpszExtension = store == Store::Xml       ? _T(".xml")
                                  : store == Store::Archive ? _T(".bin")
                                                            : _T(".ini");
    return CString(szFolder) + lpszFileStem + lpszExtension;
}

// Runs the body on an exchange of the store. Where is the file of the XML,
// archive and INI stores and the key under the registry root of the registry
// store; the section names the XML document's root and the INI section.
// Storing starts from an empty key or INI file.
template <class TBody>
void ExchangeThroughStore(Store store, BOOL bLoading, const CString& strWhere, LPCTSTR lpszRegistryRoot,
                          LPCTSTR lpszSection, TBody body)
{
    switch (store)
    {
    case Store::Xml:
    {
        CQVTPropExchangeXMLNode px(bLoading, nullptr, lpszSection);
        if (bLoading)
        {
            ASSERT_TRUE(px.LoadFromFile(strWhere));
        }
        body(&px);
        if (!bLoading)
        {
            ASSERT_TRUE(px.SaveToFile(strWhere));
        }
        break;
    }
    case Store::Archive:
    {
        CFile file(strWhere, bLoading ? CFile::modeRead : (CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&file, bLoading ? CArchive::load : CArchive::store);
        {
            CQVTPropExchangeArchive px(ar);
            body(&px);
        }
        ar.Close();
        break;
    }
    case Store::Registry:
    {
        HKEY hRoot = nullptr;
        ::RegCreateKeyEx(HKEY_CURRENT_USER, lpszRegistryRoot, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                         &hRoot, nullptr);
        ASSERT_NE(nullptr, hRoot);
        if (!bLoading)
            ::RegDeleteTree(hRoot, strWhere);
        {
            CQVTPropExchangeRegistry px(bLoading, hRoot, strWhere);
            body(&px);
        }
        ::RegCloseKey(hRoot);
        break;
    }
    case Store::Ini:
    {
        if (!bLoading)
            ::DeleteFile(strWhere);
        CQVTPropExchangeIniFile px(bLoading, nullptr, lpszSection);
        px.SetIniFileName(strWhere);
        body(&px);
        break;
    }
    }
}
