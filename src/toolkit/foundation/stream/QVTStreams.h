// Read-only COM streams over files, memory blocks and resources, addressed by
// a path, a "file://" location or a "res://module[/type]/name" location.
#pragma once

#include <afx.h>
#include <objidl.h>

// A location parsed by ParseStreamUrl. The type and name point either into
// the record's own buffers or hold integer resource ids.
struct QVTStreamLocation
{
    enum Kind
    {
        kindFile = 0,
        kindResource = 1
    };

    int nKind = kindFile;
    WCHAR szPath[261] = {};  // the file, or the module file
    WCHAR szType[50] = {};
    WCHAR szName[50] = {};
    LPCWSTR lpszType = nullptr;  // 0 when not known
    LPCWSTR lpszName = nullptr;

    QVTStreamLocation() = default;
    QVTStreamLocation(const QVTStreamLocation& other) { *this = other; }
    QVTStreamLocation& operator=(const QVTStreamLocation& other);
};

HRESULT AFXAPI ParseStreamUrl(LPCWSTR lpszText, QVTStreamLocation* pLocation, LPCWSTR lpszType = nullptr);
HRESULT AFXAPI CreateStreamFromLocation(const QVTStreamLocation* pLocation, IStream** ppStream);
HRESULT AFXAPI CreateStreamOnFile(LPCWSTR lpszPath, IStream** ppStream);
HRESULT AFXAPI CreateStreamOnMemory(const void* pData, DWORD nSize, BOOL bCopy, IStream** ppStream);
HRESULT AFXAPI CreateStreamOnResource(HMODULE hModule, LPCWSTR lpszName, LPCWSTR lpszType, BOOL bCopy,
                                      IStream** ppStream);
HRESULT AFXAPI CreateStreamFromResourceModule(const QVTStreamLocation* pLocation, IStream** ppStream);

// Wraps a stream so that nothing can change it: writes answer E_ACCESSDENIED.
class CReadOnlyStreamWrapper : public IStream
{
public:
    // Takes its own reference on pStream; starts with one reference.
    explicit CReadOnlyStreamWrapper(IStream* pStream);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;

    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin,
                                   ULARGE_INTEGER* plibNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override;
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                     ULARGE_INTEGER* pcbWritten) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                         DWORD dwLockType) override;
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb,
                                           DWORD dwLockType) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
    HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override;

private:
    virtual ~CReadOnlyStreamWrapper();

    IStream* m_pStream;
    LONG m_nRefCount;
};
