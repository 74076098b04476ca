// CArchive: buffered binary serialization with object and class records.
#include <afx.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const UINT kMinBufferSize = 128;
// Strings longer than this are read piecewise, so a corrupt length prefix
// cannot make us allocate memory the file does not back.
const UINT_PTR kStringChunk = 64 * 1024;
// Longest class name a class record may carry.
const WORD kMaxClassNameLength = 255;
// Deepest nesting of objects read inside objects.
const UINT kMaxLoadDepth = 1000;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(nullptr), m_bForceFlat(TRUE), m_nMapCount(0), m_pFile(pFile), m_nMode(nMode),
      m_nObjectSchema(static_cast<UINT>(-1)), m_lpBufStart(nullptr), m_lpBufMax(nullptr), m_lpBufCur(nullptr),
      m_nBufSize(0), m_bUserBuf(FALSE), m_nLoadGrowBy(1024), m_nLoadDepth(0)
{
    ENSURE_ARG(pFile != nullptr);
    UINT size = nBufSize > 0 ? static_cast<UINT>(nBufSize) : 4096;
    size = std::max(size, kMinBufferSize);
    if (lpBuf != nullptr && nBufSize >= static_cast<int>(kMinBufferSize))
    {
        m_lpBufStart = static_cast<BYTE*>(lpBuf);
        m_bUserBuf = TRUE;
    }
    else
    {
        m_buffer.resize(size);
        m_lpBufStart = m_buffer.data();
    }
    m_nBufSize = size;
    if (IsLoading())
    {
        // Empty: the first read fills the buffer.
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    }
    else
    {
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + m_nBufSize;
    }
    m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive()
{
    // A destructor must not throw: a failed final flush is lost, as an
    // archive abandoned by an exception would be.
    if (m_pFile != nullptr && !(m_nMode & bNoFlushOnDelete))
    {
        try
        {
            Close();
        }
        catch (CException* e)
        {
            e->Delete();
        }
        catch (...)
        {
        }
    }
    Abort();
}

void CArchive::ThrowArchive(int cause) const
{
    AfxThrowArchiveException(cause, m_strFileName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strFileName));
}

void CArchive::CheckLoading() const
{
    if (m_pFile == nullptr)
        ThrowArchive(CArchiveException::genericException);
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (m_pFile == nullptr)
        ThrowArchive(CArchiveException::genericException);
    if (IsLoading())
        ThrowArchive(CArchiveException::readOnly);
}

BOOL CArchive::IsBufferEmpty() const
{
    return m_lpBufCur == m_lpBufMax;
}

UINT CArchive::GetObjectSchema()
{
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nResult;
}

void CArchive::SetObjectSchema(UINT nSchema)
{
    m_nObjectSchema = nSchema;
}

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    CheckLoading();
    if (!TryFill(std::min(nBytesNeeded, m_nBufSize)))
        ThrowArchive(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return 0;
    ENSURE_ARG(lpBuf != nullptr);
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT nLeft = nMax;

    UINT nBuffered = std::min(nLeft, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
    std::memcpy(out, m_lpBufCur, nBuffered);
    m_lpBufCur += nBuffered;
    out += nBuffered;
    nLeft -= nBuffered;

    // Large reads go straight to the file, whole buffers at a time.
    while (nLeft >= m_nBufSize)
    {
        UINT nRead = m_pFile->Read(out, nLeft - nLeft % m_nBufSize);
        if (nRead == 0)
            return nMax - nLeft;
        out += nRead;
        nLeft -= nRead;
    }
    while (nLeft > 0)
    {
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
        UINT nRead = m_pFile->Read(m_lpBufStart, m_nBufSize);
        if (nRead == 0)
            break;
        m_lpBufMax = m_lpBufStart + nRead;
        UINT nCopy = std::min(nLeft, nRead);
        std::memcpy(out, m_lpBufCur, nCopy);
        m_lpBufCur += nCopy;
        out += nCopy;
        nLeft -= nCopy;
    }
    return nMax - nLeft;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount)
{
    CheckLoading();
    if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) >= nCount)
    {
        std::memcpy(lpBuf, m_lpBufCur, nCount);
        m_lpBufCur += nCount;
        return;
    }
    if (Read(lpBuf, nCount) != nCount)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return;
    ENSURE_ARG(lpBuf != nullptr);
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(lpBuf);
    UINT nRoom = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (nMax <= nRoom)
    {
        std::memcpy(m_lpBufCur, in, nMax);
        m_lpBufCur += nMax;
        return;
    }
    std::memcpy(m_lpBufCur, in, nRoom);
    m_lpBufCur += nRoom;
    in += nRoom;
    nMax -= nRoom;
    Flush();
    if (nMax >= m_nBufSize)
    {
        UINT nDirect = nMax - nMax % m_nBufSize;
        m_pFile->Write(in, nDirect);
        in += nDirect;
        nMax -= nDirect;
    }
    std::memcpy(m_lpBufCur, in, nMax);
    m_lpBufCur += nMax;
}

void CArchive::Flush()
{
    if (m_pFile == nullptr)
        return;
    if (IsLoading())
    {
        // Give the unread bytes back so the file stands where reading stopped.
        if (m_lpBufMax != m_lpBufCur)
        {
            m_pFile->Seek(-static_cast<LONGLONG>(m_lpBufMax - m_lpBufCur), CFile::current);
        }
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    }
    else
    {
        if (m_lpBufCur != m_lpBufStart)
        {
            UINT nPending = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
            m_lpBufCur = m_lpBufStart;
            m_pFile->Write(m_lpBufStart, nPending);
        }
        m_lpBufMax = m_lpBufStart + m_nBufSize;
    }
}

void CArchive::Close()
{
    if (m_pFile == nullptr)
        return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_pStoreMap.reset();
    m_pLoadArray.reset();
    m_schemaMap.clear();
}

LONGLONG CArchive::GetRemainingLength() const
{
    if (m_pFile == nullptr || !IsLoading())
        return -1;
    LONGLONG buffered = m_lpBufMax - m_lpBufCur;
    try
    {
        ULONGLONG length = m_pFile->GetLength();
        ULONGLONG position = m_pFile->GetPosition();
        if (position > length)
            return buffered;
        return buffered + static_cast<LONGLONG>(length - position);
    }
    catch (CException* e)
    {
        e->Delete();
        return -1;
    }
}

void CArchive::WriteString(LPCTSTR lpsz)
{
    if (lpsz == nullptr)
        return;
    Write(lpsz, static_cast<UINT>(_tcslen(lpsz) * sizeof(TCHAR)));
}

BOOL CArchive::TryFill(UINT nBytes)
{
    if (static_cast<UINT>(m_lpBufMax - m_lpBufCur) >= nBytes)
        return TRUE;
    UINT nUnused = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (nUnused > 0 && m_lpBufCur != m_lpBufStart)
        std::memmove(m_lpBufStart, m_lpBufCur, nUnused);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nUnused;
    while (static_cast<UINT>(m_lpBufMax - m_lpBufCur) < nBytes)
    {
        UINT nRead = m_pFile->Read(m_lpBufMax, m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart));
        if (nRead == 0)
            return FALSE;
        m_lpBufMax += nRead;
    }
    return TRUE;
}

BOOL CArchive::ReadLineChar(TCHAR& ch, BOOL& bEndOfLine)
{
    bEndOfLine = FALSE;
    if (!TryFill(sizeof(TCHAR)))
        return FALSE;
    std::memcpy(&ch, m_lpBufCur, sizeof ch);
    m_lpBufCur += sizeof ch;
    if (ch == '\n')
    {
        bEndOfLine = TRUE;
    }
    else if (ch == '\r')
    {
        // CR LF ends the line; a lone CR does too.
        bEndOfLine = TRUE;
        TCHAR next = 0;
        if (TryFill(sizeof(TCHAR)))
        {
            std::memcpy(&next, m_lpBufCur, sizeof next);
            if (next == '\n')
                m_lpBufCur += sizeof next;
        }
    }
    return TRUE;
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax)
{
    ENSURE_ARG(lpsz != nullptr && nMax > 0);
    CheckLoading();
    UINT nRead = 0;
    TCHAR ch = 0;
    BOOL bEndOfLine = FALSE;
    while (nRead + 1 < nMax && ReadLineChar(ch, bEndOfLine))
    {
        if (bEndOfLine)
        {
            lpsz[nRead++] = '\n';
            break;
        }
        lpsz[nRead++] = ch;
    }
    lpsz[nRead] = 0;
    return nRead == 0 ? nullptr : lpsz;
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    rString.Empty();
    TCHAR ch = 0;
    BOOL bEndOfLine = FALSE;
    BOOL bAny = FALSE;
    while (ReadLineChar(ch, bEndOfLine))
    {
        bAny = TRUE;
        if (bEndOfLine)
            break;
        rString += ch;
    }
    return bAny;
}

void CArchive::SetStoreParams(UINT nHashSize, UINT nBlockSize)
{
    if (m_pStoreMap)
        m_pStoreMap->reserve(nHashSize);
}

void CArchive::SetLoadParams(UINT nGrowBy)
{
    m_nLoadGrowBy = std::max(nGrowBy, 1u);
}

void CArchive::CheckCount()
{
    if (m_nMapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring())
    {
        if (!m_pStoreMap)
        {
            m_pStoreMap = std::make_unique<std::unordered_map<const void*, DWORD>>();
            m_nMapCount = 1;
        }
        if (pOb != nullptr)
        {
            CheckCount();
            (*m_pStoreMap)[pOb] = m_nMapCount++;
        }
    }
    else
    {
        if (!m_pLoadArray)
        {
            m_pLoadArray = std::make_unique<std::vector<std::pair<void*, EntryKind>>>();
            m_pLoadArray->reserve(std::min<UINT>(m_nLoadGrowBy, 1024));
            m_pLoadArray->emplace_back(nullptr, EntryKind::Null);
            m_nMapCount = 1;
        }
        if (pOb != nullptr)
        {
            CheckCount();
            // Entries are appended in order; MapObject keeps the index in step.
            m_pLoadArray->resize(m_nMapCount, {nullptr, EntryKind::Null});
            m_pLoadArray->emplace_back(const_cast<CObject*>(pOb), EntryKind::Object);
            ++m_nMapCount;
        }
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    ENSURE_ARG(pClassRef != nullptr);
    CheckStoring();
    if (pClassRef->m_wSchema == 0xFFFF)
    {
        // Only classes declared serializable can be written.
        AfxThrowNotSupportedException();
    }
    MapObject(nullptr);
    auto found = m_pStoreMap->find(pClassRef);
    if (found != m_pStoreMap->end())
    {
        DWORD nClassIndex = found->second;
        if (nClassIndex < wBigObjectTag)
        {
            *this << static_cast<WORD>(wClassTag | nClassIndex);
        }
        else
        {
            *this << static_cast<WORD>(wBigObjectTag);
            *this << static_cast<UINT>(dwBigClassTag | nClassIndex);
        }
        return;
    }
    *this << static_cast<WORD>(wNewClassTag);
    pClassRef->Store(*this);
    CheckCount();
    (*m_pStoreMap)[pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    if (pClassRefRequested != nullptr && pClassRefRequested->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    MapObject(nullptr);

    WORD wTag = 0;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
    {
        UINT dwTag = 0;
        *this >> dwTag;
        obTag = dwTag;
    }
    else
    {
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
    }

    if (!(obTag & dwBigClassTag))
    {
        // An object reference (or null), not a class record.
        if (pObTag == nullptr)
            ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag)
    {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == nullptr)
            ThrowArchive(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema)
        {
            if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
                ThrowArchive(CArchiveException::badSchema);
            m_schemaMap[pClassRef] = nSchema;
        }
        CheckCount();
        m_pLoadArray->resize(m_nMapCount, {nullptr, EntryKind::Null});
        m_pLoadArray->emplace_back(pClassRef, EntryKind::Class);
        ++m_nMapCount;
    }
    else
    {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_pLoadArray->size() ||
            (*m_pLoadArray)[nClassIndex].second != EntryKind::Class)
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>((*m_pLoadArray)[nClassIndex].first);
        auto schema = m_schemaMap.find(pClassRef);
        nSchema = schema != m_schemaMap.end() ? schema->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    }

    if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);

    if (pSchema != nullptr)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != nullptr)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, nullptr, nullptr);
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    MapObject(nullptr);
    if (pOb == nullptr)
    {
        *this << static_cast<WORD>(wNullTag);
        return;
    }
    auto found = m_pStoreMap->find(pOb);
    if (found != m_pStoreMap->end())
    {
        DWORD nObIndex = found->second;
        if (nObIndex < wBigObjectTag)
        {
            *this << static_cast<WORD>(nObIndex);
        }
        else
        {
            *this << static_cast<WORD>(wBigObjectTag);
            *this << static_cast<UINT>(nObIndex);
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    (*m_pStoreMap)[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    if (pClassRef == nullptr)
    {
        if (obTag >= m_pLoadArray->size() || (*m_pLoadArray)[obTag].second == EntryKind::Class)
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>((*m_pLoadArray)[obTag].first);
        if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }

    // Each nested object costs stack; a corrupt file must not exhaust it.
    if (m_nLoadDepth >= kMaxLoadDepth)
        ThrowArchive(CArchiveException::badIndex);
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == nullptr)
    {
        // Known by name but not creatable: not a class this archive can hold.
        ThrowArchive(CArchiveException::badClass);
    }
    // As in the framework, an object whose Serialize fails is not deleted:
    // objects read before it may already point at it.
    CheckCount();
    m_pLoadArray->resize(m_nMapCount, {nullptr, EntryKind::Null});
    m_pLoadArray->emplace_back(pOb, EntryKind::Object);
    ++m_nMapCount;
    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    ++m_nLoadDepth;
    struct DepthGuard
    {
        UINT& depth;
        ~DepthGuard() { --depth; }
    } guard{m_nLoadDepth};
    pOb->Serialize(*this);
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    UINT dwCount = 0;
    *this >> dwCount;
    if (dwCount != 0xFFFFFFFF)
        return dwCount;
    ULONGLONG qwCount = 0;
    *this >> qwCount;
    return static_cast<DWORD_PTR>(qwCount);
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
    {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (dwCount < 0xFFFFFFFF)
    {
        *this << static_cast<UINT>(dwCount);
        return;
    }
    *this << static_cast<UINT>(0xFFFFFFFF);
    *this << static_cast<ULONGLONG>(dwCount);
}

void CRuntimeClass::Store(CArchive& ar) const
{
    size_t length = std::strlen(m_lpszClassName);
    if (length > kMaxClassNameLength)
        AfxThrowNotSupportedException();
    ar << static_cast<WORD>(m_wSchema);
    ar << static_cast<WORD>(length);
    ar.Write(m_lpszClassName, static_cast<UINT>(length));
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLength = 0;
    ar >> wSchema;
    ar >> nLength;
    if (pwSchemaNum != nullptr)
        *pwSchemaNum = wSchema;
    char name[kMaxClassNameLength + 1];
    if (nLength > kMaxClassNameLength)
        return nullptr;
    ar.EnsureRead(name, nLength);
    name[nLength] = 0;
    return FromName(name);
}

void AFXAPI AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode)
{
    if (bUnicode)
    {
        ar << static_cast<BYTE>(0xFF);
        ar << static_cast<WORD>(0xFFFE);
    }
    if (nLength < 0xFF)
    {
        ar << static_cast<BYTE>(nLength);
        return;
    }
    ar << static_cast<BYTE>(0xFF);
    if (nLength < 0xFFFE)
    {
        ar << static_cast<WORD>(nLength);
        return;
    }
    ar << static_cast<WORD>(0xFFFF);
    if (nLength < 0xFFFFFFFF)
    {
        ar << static_cast<UINT>(nLength);
        return;
    }
    ar << static_cast<UINT>(0xFFFFFFFF);
    ar << static_cast<ULONGLONG>(nLength);
}

UINT_PTR AFXAPI AfxReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = sizeof(char);
    BYTE bLength = 0;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength = 0;
    ar >> wLength;
    if (wLength == 0xFFFE)
    {
        // The Unicode marker; the real length follows.
        nCharSize = sizeof(WCHAR);
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    UINT dwLength = 0;
    ar >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ULONGLONG qwLength = 0;
    ar >> qwLength;
    // Strings are int-sized: a larger length can only be corruption.
    if (qwLength > static_cast<ULONGLONG>(std::numeric_limits<int>::max()))
        AfxThrowArchiveException(CArchiveException::genericException);
    return static_cast<UINT_PTR>(qwLength);
}

namespace {

// Checks a declared string size against what the file holds, when it can
// tell, so an absurd length fails at once instead of after a long read.
void CheckStringFits(CArchive& ar, UINT_PTR nLength, int nCharSize)
{
    if (nLength > static_cast<UINT_PTR>(std::numeric_limits<int>::max()))
        AfxThrowArchiveException(CArchiveException::genericException);
    LONGLONG remaining = ar.GetRemainingLength();
    if (remaining >= 0 && static_cast<ULONGLONG>(nLength) * nCharSize > static_cast<ULONGLONG>(remaining))
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

// Reads nLength units of T, in pieces so memory grows only with the data read.
template <class T>
std::vector<T> ReadUnits(CArchive& ar, UINT_PTR nLength)
{
    std::vector<T> units;
    units.reserve(std::min<UINT_PTR>(nLength, kStringChunk));
    UINT_PTR done = 0;
    while (done < nLength)
    {
        UINT_PTR piece = std::min<UINT_PTR>(nLength - done, kStringChunk);
        units.resize(done + piece);
        ar.EnsureRead(units.data() + done, static_cast<UINT>(piece * sizeof(T)));
        done += piece;
    }
    return units;
}

CStringW WideFromAnsi(const std::vector<char>& bytes)
{
    CStringW result;
    if (bytes.empty())
        return result;
    int count = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (count <= 0)
        return result;
    LPWSTR buffer = result.GetBuffer(count);
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), buffer, count);
    result.ReleaseBuffer(count);
    return result;
}

CStringA AnsiFromWide(const std::vector<WCHAR>& units)
{
    CStringA result;
    if (units.empty())
        return result;
    int count = ::WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(units.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (count <= 0)
        return result;
    LPSTR buffer = result.GetBuffer(count);
    ::WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(units.size()), buffer, count, nullptr,
                          nullptr);
    result.ReleaseBuffer(count);
    return result;
}

}  // namespace

CArchive& AFXAPI operator<<(CArchive& ar, const CStringW& str)
{
    int length = str.GetLength();
    AfxWriteStringLength(ar, static_cast<UINT_PTR>(length), TRUE);
    ar.Write(static_cast<LPCWSTR>(str), static_cast<UINT>(length * sizeof(WCHAR)));
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CStringW& str)
{
    int nCharSize = 0;
    UINT_PTR nLength = AfxReadStringLength(ar, nCharSize);
    CheckStringFits(ar, nLength, nCharSize);
    if (nCharSize == sizeof(WCHAR))
    {
        std::vector<WCHAR> units = ReadUnits<WCHAR>(ar, nLength);
        str = units.empty() ? CStringW() : CStringW(units.data(), static_cast<int>(units.size()));
    }
    else
    {
        str = WideFromAnsi(ReadUnits<char>(ar, nLength));
    }
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CStringA& str)
{
    int length = str.GetLength();
    AfxWriteStringLength(ar, static_cast<UINT_PTR>(length), FALSE);
    ar.Write(static_cast<LPCSTR>(str), static_cast<UINT>(length));
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CStringA& str)
{
    int nCharSize = 0;
    UINT_PTR nLength = AfxReadStringLength(ar, nCharSize);
    CheckStringFits(ar, nLength, nCharSize);
    if (nCharSize == sizeof(WCHAR))
    {
        str = AnsiFromWide(ReadUnits<WCHAR>(ar, nLength));
    }
    else
    {
        std::vector<char> bytes = ReadUnits<char>(ar, nLength);
        str = bytes.empty() ? CStringA() : CStringA(bytes.data(), static_cast<int>(bytes.size()));
    }
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, CTime time)
{
    return ar << static_cast<LONGLONG>(time.GetTime());
}

CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime)
{
    LONGLONG value = 0;
    ar >> value;
    rtime = CTime(static_cast<__time64_t>(value));
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan span)
{
    return ar << static_cast<LONGLONG>(span.GetTimeSpan());
}

CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rspan)
{
    LONGLONG value = 0;
    ar >> value;
    rspan = CTimeSpan(static_cast<__time64_t>(value));
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, SIZE size)
{
    return ar << static_cast<int>(size.cx) << static_cast<int>(size.cy);
}

CArchive& AFXAPI operator<<(CArchive& ar, POINT point)
{
    return ar << static_cast<int>(point.x) << static_cast<int>(point.y);
}

CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rect)
{
    return ar << static_cast<int>(rect.left) << static_cast<int>(rect.top) << static_cast<int>(rect.right)
              << static_cast<int>(rect.bottom);
}

CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size)
{
    int cx = 0, cy = 0;
    ar >> cx >> cy;
    size.cx = cx;
    size.cy = cy;
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, POINT& point)
{
    int x = 0, y = 0;
    ar >> x >> y;
    point.x = x;
    point.y = y;
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, RECT& rect)
{
    int values[4] = {0, 0, 0, 0};
    ar >> values[0] >> values[1] >> values[2] >> values[3];
    rect.left = values[0];
    rect.top = values[1];
    rect.right = values[2];
    rect.bottom = values[3];
    return ar;
}
