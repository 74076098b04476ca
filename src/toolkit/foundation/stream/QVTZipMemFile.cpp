#include "toolkit/foundation/stream/QVTZipMemFile.h"

#include <cstdlib>

// zlib and minizip are native libraries.
#include "toolkit/foundation/stream/QVTNativeHeadersBegin.h"
#include <minizip/unzip.h>
#include "toolkit/foundation/stream/QVTNativeHeadersEnd.h"

CQVTZipMemFile::CQVTZipMemFile() : CMemFile(1024), m_bOwnBuffer(TRUE) {}

CQVTZipMemFile::CQVTZipMemFile(BYTE* lpBuffer, UINT nBufferSize)
    : CMemFile(lpBuffer, nBufferSize, 0), m_bOwnBuffer(FALSE)
{
}

CQVTZipMemFile::~CQVTZipMemFile()
{
    Close();
}

void CQVTZipMemFile::AttachBuffer(BYTE* lpBuffer, UINT nBufferSize, BOOL bOwn)
{
    Close();
    Attach(lpBuffer, nBufferSize, 0);
    m_bOwnBuffer = bOwn;
}

BOOL CQVTZipMemFile::LoadFile(LPCTSTR lpszPath)
{
    CFile file;
    if (lpszPath == nullptr || !file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    ULONGLONG nLength = file.GetLength();
    if (nLength > 0xFFFFFFFEULL)
        return FALSE;
    UINT nSize = static_cast<UINT>(nLength);
    BYTE* lpBuffer = static_cast<BYTE*>(std::malloc(nSize > 0 ? nSize : 1));
    if (lpBuffer == nullptr)
        return FALSE;
    UINT nRead = 0;
    try
    {
        while (nRead < nSize)
        {
            UINT nChunk = file.Read(lpBuffer + nRead, nSize - nRead);
            if (nChunk == 0)
                break;
            nRead += nChunk;
        }
    }
    catch (CException* e)
    {
        e->Delete();
        std::free(lpBuffer);
        return FALSE;
    }
    AttachBuffer(lpBuffer, nRead, TRUE);
    return TRUE;
}

void CQVTZipMemFile::DetachBuffer(BYTE*& lpBuffer, DWORD& nLength)
{
    nLength = static_cast<DWORD>(GetLength());
    lpBuffer = Detach();
    m_bOwnBuffer = TRUE;
}

void CQVTZipMemFile::SetFilePath(LPCTSTR lpszNewName)
{
    if (lpszNewName == nullptr)
        AfxThrowInvalidArgException();
    m_strFilePath = lpszNewName;
}

void CQVTZipMemFile::Close()
{
    // A growing file always owns its block; an attached one only when told.
    if (m_lpBuffer != nullptr && m_nGrowBytes == 0)
    {
        BYTE* lpBuffer = Detach();
        if (m_bOwnBuffer)
            std::free(lpBuffer);
        m_bOwnBuffer = TRUE;
        return;
    }
    CMemFile::Close();
}

// ZIP archives in memory

// The bytes an archive reads, and where it reads; a member of the archive,
// so not private to this file's unnamed namespace.
struct QVTZipMemorySource
{
    const BYTE* pData;
    ZPOS64_T nSize;
    ZPOS64_T nPosition;
};

namespace {
const DWORD kMaxEntrySize = 64u * 1024u * 1024u;

voidpf ZCALLBACK OpenSource(voidpf opaque, const void*, int mode)
{
    // Read only.
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    static_cast<QVTZipMemorySource*>(opaque)->nPosition = 0;
    return opaque;
}

uLong ZCALLBACK ReadSource(voidpf, voidpf stream, void* buf, uLong size)
{
    QVTZipMemorySource* pSource = static_cast<QVTZipMemorySource*>(stream);
    ZPOS64_T nLeft = pSource->nSize - pSource->nPosition;
    uLong nCount = size < nLeft ? size : static_cast<uLong>(nLeft);
    memcpy(buf, pSource->pData + pSource->nPosition, nCount);
    pSource->nPosition += nCount;
    return nCount;
}

uLong ZCALLBACK WriteSource(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellSource(voidpf, voidpf stream)
{
    return static_cast<QVTZipMemorySource*>(stream)->nPosition;
}

long ZCALLBACK SeekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    QVTZipMemorySource* pSource = static_cast<QVTZipMemorySource*>(stream);
    ZPOS64_T nBase = 0;
    switch (origin)
    {
    case ZLIB_FILEFUNC_SEEK_SET:
        nBase = 0;
        break;
    case ZLIB_FILEFUNC_SEEK_CUR:
        nBase = pSource->nPosition;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        nBase = pSource->nSize;
        break;
    default:
        return -1;
    }
    if (offset > pSource->nSize || nBase + offset > pSource->nSize)
        return -1;
    pSource->nPosition = nBase + offset;
    return 0;
}

int ZCALLBACK CloseSource(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK ErrorSource(voidpf, voidpf)
{
    return 0;
}
}  // namespace

struct QVTZipArchive
{
    QVTZipMemorySource source;
    zlib_filefunc64_def functions;
    unzFile hZip;
};

HQVTZIPARCHIVE AFXAPI QVTZipOpenArchive(const void* pData, DWORD nSize)
{
    if (pData == nullptr || nSize == 0)
        return nullptr;
    QVTZipArchive* pArchive = new QVTZipArchive();
    pArchive->source = {static_cast<const BYTE*>(pData), nSize, 0};
    pArchive->functions = {&OpenSource, &ReadSource,  &WriteSource, &TellSource,
                           &SeekSource, &CloseSource, &ErrorSource, &pArchive->source};
    pArchive->hZip = unzOpen2_64("memory", &pArchive->functions);
    if (pArchive->hZip == nullptr)
    {
        delete pArchive;
        return nullptr;
    }
    return pArchive;
}

void AFXAPI QVTZipCloseArchive(HQVTZIPARCHIVE hArchive)
{
    if (hArchive == nullptr)
        return;
    unzClose(hArchive->hZip);
    delete hArchive;
}

BOOL AFXAPI QVTZipReadEntry(HQVTZIPARCHIVE hArchive, LPCSTR lpszName, BYTE** ppData, DWORD* pnSize)
{
    if (ppData != nullptr)
        *ppData = nullptr;
    if (pnSize != nullptr)
        *pnSize = 0;
    if (hArchive == nullptr || lpszName == nullptr || ppData == nullptr)
        return FALSE;
    // 2: compare without regard to case.
    if (unzLocateFile(hArchive->hZip, lpszName, 2) != UNZ_OK)
        return FALSE;
    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(hArchive->hZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return FALSE;
    if (info.uncompressed_size > kMaxEntrySize)
        return FALSE;
    DWORD nSize = static_cast<DWORD>(info.uncompressed_size);
    if (unzOpenCurrentFile(hArchive->hZip) != UNZ_OK)
        return FALSE;
    BYTE* pData = static_cast<BYTE*>(std::calloc(nSize + 1, 1));
    BOOL bResult = pData != nullptr;
    if (bResult && nSize > 0)
        bResult = unzReadCurrentFile(hArchive->hZip, pData, nSize) == static_cast<int>(nSize);
    // Nothing may follow the declared size.
    BYTE extra = 0;
    if (bResult)
        bResult = unzReadCurrentFile(hArchive->hZip, &extra, 1) == 0;
    if (unzCloseCurrentFile(hArchive->hZip) != UNZ_OK)
        bResult = FALSE;
    if (!bResult)
    {
        std::free(pData);
        return FALSE;
    }
    *ppData = pData;
    if (pnSize != nullptr)
        *pnSize = nSize;
    return TRUE;
}
