// CArchive: MFC's binary serialization format over a CFile. Stored documents
// and settings depend on these bytes: little-endian values, length-prefixed
// strings, counts with escapes, and class records with back-references.
#pragma once

#include <windows.h>
#include <memory>
#include <unordered_map>
#include <vector>
#include "mfc/afxdefs.h"
#include "mfc/object.h"
#include "mfc/cstring.h"
#include "mfc/exceptions.h"
#include "mfc/timetypes.h"
#include "mfc/file.h"

class CDocument;

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    // Tags of the object and class records.
    enum : WORD
    {
        wNullTag = 0,
        wNewClassTag = 0xFFFF,
        wClassTag = 0x8000,
        wBigObjectTag = 0x7FFF,
    };
    static constexpr DWORD dwBigClassTag = 0x80000000;
    static constexpr DWORD nMaxMapCount = 0x3FFFFFFE;

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }

    // Schema of the object being read; -1 after it was asked for once.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema);

    UINT Read(void* lpBuf, UINT nMax);
    void EnsureRead(void* lpBuf, UINT nCount);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort();

    // Text lines in the archive (UTF-16, CR LF written by WriteString callers).
    void WriteString(LPCTSTR lpsz);
    LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    BOOL ReadString(CString& rString);

    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // Enters an object in the map so later references write or read a tag;
    // MapObject(nullptr) only makes the map ready.
    void MapObject(const CObject* pOb);
    // Throws badIndex when the map can take no more entries.
    void CheckCount();

    void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
    void SetLoadParams(UINT nGrowBy = 1024);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(int i) { return WriteValue(static_cast<INT32>(i)); }
    CArchive& operator<<(UINT u) { return WriteValue(static_cast<UINT32>(u)); }
    CArchive& operator<<(short w) { return WriteValue(w); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(signed char ch) { return WriteValue(ch); }
    CArchive& operator<<(char16_t ch) { return WriteValue(ch); }
    CArchive& operator<<(bool b) { return WriteValue(static_cast<BYTE>(b ? 1 : 0)); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(LONGLONG dwdw) { return WriteValue(dwdw); }
    CArchive& operator<<(ULONGLONG dwdw) { return WriteValue(dwdw); }
    // A bare text pointer would otherwise be stored as a bool; write a CString.
    CArchive& operator<<(const char16_t* psz) = delete;
    CArchive& operator<<(const char* psz) = delete;

    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(int& i) { return ReadValue(i); }
    CArchive& operator>>(UINT& u) { return ReadValue(u); }
    CArchive& operator>>(short& w) { return ReadValue(w); }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(signed char& ch) { return ReadValue(ch); }
    CArchive& operator>>(char16_t& ch) { return ReadValue(ch); }
    CArchive& operator>>(bool& b)
    {
        BYTE by = 0;
        ReadValue(by);
        b = by != 0;
        return *this;
    }
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(LONGLONG& dwdw) { return ReadValue(dwdw); }
    CArchive& operator>>(ULONGLONG& dwdw) { return ReadValue(dwdw); }

    friend CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb)
    {
        ar.WriteObject(pOb);
        return ar;
    }
    friend CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb)
    {
        pOb = ar.ReadObject(nullptr);
        return ar;
    }
    friend CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb)
    {
        pOb = ar.ReadObject(nullptr);
        return ar;
    }

    // Bytes still available to read: buffered plus what the file has left,
    // or -1 when the file cannot tell.
    LONGLONG GetRemainingLength() const;

    // The document being loaded or saved, for objects that need it.
    CDocument* m_pDocument;
    CString m_strFileName;
    BOOL m_bForceFlat;
    UINT m_nMapCount;

protected:
    template <class T>
    CArchive& WriteValue(T value)
    {
        Write(&value, sizeof value);
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value)
    {
        EnsureRead(&value, sizeof value);
        return *this;
    }

    [[noreturn]] void ThrowArchive(int cause) const;
    // Makes nBytesNeeded bytes available in the buffer or throws endOfFile.
    void FillBuffer(UINT nBytesNeeded);
    void CheckLoading() const;
    void CheckStoring() const;

    enum class EntryKind : BYTE
    {
        Null,
        Class,
        Object
    };

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nObjectSchema;
    std::vector<BYTE> m_buffer;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufMax;
    BYTE* m_lpBufCur;
    UINT m_nBufSize;
    BOOL m_bUserBuf;

    // Storing: object or class -> index. Loading: index -> object or class.
    std::unique_ptr<std::unordered_map<const void*, DWORD>> m_pStoreMap;
    std::unique_ptr<std::vector<std::pair<void*, EntryKind>>> m_pLoadArray;
    std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
    UINT m_nLoadGrowBy;
    UINT m_nLoadDepth;

private:
    BOOL TryFill(UINT nBytes);
    BOOL ReadLineChar(TCHAR& ch, BOOL& bEndOfLine);
};

// The length prefix of stored strings: a byte, escaped to a WORD, a DWORD and
// a ULONGLONG; FF FE FF before it marks UTF-16 characters.
void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode);
UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize);

CArchive& AFXAPI operator<<(CArchive& ar, const CStringW& str);
CArchive& AFXAPI operator>>(CArchive& ar, CStringW& str);
CArchive& AFXAPI operator<<(CArchive& ar, const CStringA& str);
CArchive& AFXAPI operator>>(CArchive& ar, CStringA& str);

CArchive& AFXAPI operator<<(CArchive& ar, CTime time);
CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);
CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan span);
CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rspan);

CArchive& AFXAPI operator<<(CArchive& ar, SIZE size);
CArchive& AFXAPI operator<<(CArchive& ar, POINT point);
CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rect);
CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size);
CArchive& AFXAPI operator>>(CArchive& ar, POINT& point);
CArchive& AFXAPI operator>>(CArchive& ar, RECT& rect);
