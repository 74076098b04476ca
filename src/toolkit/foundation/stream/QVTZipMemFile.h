// A memory file that command-bar layouts are packed into through the
// framework's archive, and the reader of ZIP archives held in memory (the
// toolkit's zipped markup styles).
#pragma once

#include <afx.h>

class CQVTZipMemFile : public CMemFile
{
public:
    // An empty file that grows in steps of 1024 bytes.
    CQVTZipMemFile();
    // The caller's buffer, neither grown nor freed.
    CQVTZipMemFile(BYTE* lpBuffer, UINT nBufferSize);
    ~CQVTZipMemFile() override;

    // bOwn: the file frees the buffer (it must come from malloc).
    void AttachBuffer(BYTE* lpBuffer, UINT nBufferSize, BOOL bOwn);
    // Reads a whole file into an owned buffer; TRUE when the file opened.
    BOOL LoadFile(LPCTSTR lpszPath);
    // Hands the bytes and their length to the caller, who frees them.
    void DetachBuffer(BYTE*& lpBuffer, DWORD& nLength);
    void SetFilePath(LPCTSTR lpszNewName) override;
    CString GetFilePath() const override { return m_strFilePath; }

    void Close() override;

protected:
    BOOL m_bOwnBuffer;
    CString m_strFilePath;
};

// An open ZIP archive over memory the caller keeps alive.
typedef struct QVTZipArchive* HQVTZIPARCHIVE;

// An archive handle, or null when the bytes are no ZIP archive.
HQVTZIPARCHIVE AFXAPI QVTZipOpenArchive(const void* pData, DWORD nSize);
void AFXAPI QVTZipCloseArchive(HQVTZIPARCHIVE hArchive);
// Unpacks the entry whose name matches without regard to case into a new
// malloc block of its size plus one zero byte. FALSE when the entry is
// missing, damaged (wrong size or checksum) or larger than 64 MB.
BOOL AFXAPI QVTZipReadEntry(HQVTZIPARCHIVE hArchive, LPCSTR lpszName, BYTE** ppData, DWORD* pnSize);
