// The file information dialog: everything known about one file of the
// recorder's list, as tab-aligned text in a read-only box: name and size,
// a section per video and per audio stream, and the tags.
#pragma once

#include <afxwin.h>

class CFileDesc;

class CFileInfo : public CDialog
{
public:
    explicit CFileInfo(CWnd* pParent = nullptr);

    // The text shown for a file description, lines ended by CR LF.
    static CString BuildText(const CFileDesc& desc);

    CFileDesc* m_pFileDesc = nullptr;  // not owned
    CEdit m_editInfo;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
