// CStdioFile: line-oriented text over a CFile handle.
#include <afx.h>

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

// Bytes a character takes in a code page, judged by its first byte.
UINT SequenceLength(UINT codePage, BYTE lead)
{
    if (codePage == CP_UTF8)
    {
        if (lead < 0xC0)
            return 1;
        if (lead < 0xE0)
            return 2;
        if (lead < 0xF0)
            return 3;
        return 4;
    }
    return ::IsDBCSLeadByteEx(codePage, lead) ? 2 : 1;
}

const BYTE kCtrlZ = 0x1A;

}  // namespace

CStdioFile::CStdioFile()
    : m_kind(TextKind::Ansi), m_nReadPos(0), m_nReadLen(0), m_bAtEnd(FALSE), m_nPending(0), m_bCheckBom(FALSE)
{
}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) : CStdioFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_nReadPos = m_nReadLen = 0;
    m_bAtEnd = FALSE;
    m_nPending = 0;
    if (nOpenFlags & typeBinary)
        m_kind = TextKind::Binary;
    else if (nOpenFlags & typeUnicode)
        m_kind = TextKind::Unicode;
    else
        m_kind = TextKind::Ansi;
    if (!CFile::Open(lpszFileName, nOpenFlags, pError))
        return FALSE;
    m_bCheckBom = m_kind == TextKind::Unicode;
    if (m_kind == TextKind::Unicode && (nOpenFlags & 3) != modeRead && CFile::GetLength() == 0)
    {
        // New Unicode text starts with its byte-order mark.
        static const BYTE bom[2] = {0xFF, 0xFE};
        CFile::Write(bom, sizeof bom);
        m_bCheckBom = FALSE;
    }
    return TRUE;
}

BOOL CStdioFile::FillBuffer()
{
    if (m_bAtEnd)
        return FALSE;
    UINT nKeep = m_nReadLen - m_nReadPos;
    if (nKeep > 0 && m_nReadPos > 0)
        std::memmove(m_readBuffer, m_readBuffer + m_nReadPos, nKeep);
    m_nReadPos = 0;
    m_nReadLen = nKeep;
    UINT nRead = CFile::Read(m_readBuffer + nKeep, sizeof m_readBuffer - nKeep);
    if (nRead == 0)
    {
        m_bAtEnd = TRUE;
        return FALSE;
    }
    m_nReadLen += nRead;
    return TRUE;
}

void CStdioFile::DropReadAhead()
{
    UINT nUnread = m_nReadLen - m_nReadPos;
    m_nReadPos = m_nReadLen = 0;
    m_bAtEnd = FALSE;
    m_nPending = 0;
    if (nUnread > 0 && m_hFile != hFileNull)
        CFile::Seek(-static_cast<LONGLONG>(nUnread), current);
}

BOOL CStdioFile::ReadRawChar(WCHAR& ch)
{
    if (m_nPending > 0)
    {
        ch = m_pending[0];
        m_pending[0] = m_pending[1];
        --m_nPending;
        return TRUE;
    }
    auto ensure = [this](UINT n) {
        while (m_nReadLen - m_nReadPos < n)
        {
            if (!FillBuffer())
                return false;
        }
        return true;
    };

    if (m_bCheckBom)
    {
        m_bCheckBom = FALSE;
        if (CFile::GetPosition() == static_cast<ULONGLONG>(m_nReadLen - m_nReadPos))
        {
            if (ensure(2) && m_readBuffer[m_nReadPos] == 0xFF && m_readBuffer[m_nReadPos + 1] == 0xFE)
            {
                m_nReadPos += 2;
            }
            else if (ensure(3) && m_readBuffer[m_nReadPos] == 0xEF && m_readBuffer[m_nReadPos + 1] == 0xBB &&
                     m_readBuffer[m_nReadPos + 2] == 0xBF)
            {
                // Unicode text marked as UTF-8 is read as UTF-8.
                m_nReadPos += 3;
                m_kind = TextKind::Utf8;
            }
        }
    }

    if (m_kind == TextKind::Ansi || m_kind == TextKind::Utf8)
    {
        if (!ensure(1))
            return FALSE;
        BYTE lead = m_readBuffer[m_nReadPos];
        if (lead == kCtrlZ && m_kind == TextKind::Ansi)
        {
            // Text mode ends at Ctrl+Z.
            return FALSE;
        }
        UINT codePage = m_kind == TextKind::Utf8 ? CP_UTF8 : CP_ACP;
        UINT length = SequenceLength(codePage == CP_ACP ? ::GetACP() : codePage, lead);
        if (!ensure(length))
            length = m_nReadLen - m_nReadPos;
        WCHAR units[2] = {0, 0};
        int count = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<LPCSTR>(m_readBuffer + m_nReadPos),
                                          static_cast<int>(length), units, 2);
        m_nReadPos += length;
        if (count <= 0)
        {
            units[0] = 0xFFFD;
            count = 1;
        }
        ch = units[0];
        if (count > 1)
            m_pending[m_nPending++] = units[1];
        return TRUE;
    }

    if (!ensure(2))
        return FALSE;
    ch = static_cast<WCHAR>(m_readBuffer[m_nReadPos] | (m_readBuffer[m_nReadPos + 1] << 8));
    m_nReadPos += 2;
    return TRUE;
}

BOOL CStdioFile::ReadChar(WCHAR& ch)
{
    if (!ReadRawChar(ch))
        return FALSE;
    // Text modes read CR LF as one line feed; a lone CR stays.
    if (ch == '\r' && m_kind != TextKind::Binary)
    {
        WCHAR next = 0;
        if (ReadRawChar(next))
        {
            if (next == '\n')
            {
                ch = '\n';
            }
            else
            {
                // Put it back in front of anything already waiting.
                if (m_nPending > 0)
                    m_pending[1] = m_pending[0];
                m_pending[0] = next;
                ++m_nPending;
            }
        }
    }
    return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    ENSURE_ARG(lpsz != nullptr && nMax > 0);
    UINT nRead = 0;
    WCHAR ch = 0;
    while (nRead + 1 < nMax && ReadChar(ch))
    {
        lpsz[nRead++] = ch;
        if (ch == '\n')
            break;
    }
    lpsz[nRead] = 0;
    return nRead == 0 ? nullptr : lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::u16string line;
    WCHAR ch = 0;
    BOOL bAny = FALSE;
    while (ReadChar(ch))
    {
        bAny = TRUE;
        if (ch == '\n')
            break;
        line.push_back(ch);
    }
    rString = CString(line.data(), static_cast<int>(line.size()));
    return bAny;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    ENSURE_ARG(lpsz != nullptr);
    if (m_nReadLen != 0 || m_nPending != 0)
        DropReadAhead();
    std::u16string text;
    for (const WCHAR* p = lpsz; *p != 0; ++p)
    {
        if (*p == '\n' && m_kind != TextKind::Binary)
            text.push_back(u'\r');
        text.push_back(*p);
    }
    if (text.empty())
        return;
    if (m_kind == TextKind::Ansi || m_kind == TextKind::Utf8)
    {
        UINT codePage = m_kind == TextKind::Utf8 ? CP_UTF8 : CP_ACP;
        int count = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        if (count <= 0)
            return;
        std::string bytes(static_cast<size_t>(count), '\0');
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], count,
                              nullptr, nullptr);
        CFile::Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }
    else
    {
        CFile::Write(text.data(), static_cast<UINT>(text.size() * sizeof(WCHAR)));
    }
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_nReadLen - m_nReadPos);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    ENSURE_ARG(lpBuf != nullptr);
    m_nPending = 0;
    UINT nBuffered = std::min(nCount, m_nReadLen - m_nReadPos);
    std::memcpy(lpBuf, m_readBuffer + m_nReadPos, nBuffered);
    m_nReadPos += nBuffered;
    if (m_nReadPos == m_nReadLen)
        m_nReadPos = m_nReadLen = 0;
    if (nBuffered == nCount)
        return nCount;
    return nBuffered + CFile::Read(static_cast<BYTE*>(lpBuf) + nBuffered, nCount - nBuffered);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_nReadLen != 0 || m_nPending != 0)
        DropReadAhead();
    CFile::Write(lpBuf, nCount);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    DropReadAhead();
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Abort()
{
    m_nReadPos = m_nReadLen = 0;
    m_nPending = 0;
    CFile::Abort();
}

void CStdioFile::Flush()
{
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_nReadPos = m_nReadLen = 0;
    m_nPending = 0;
    m_bAtEnd = FALSE;
    CFile::Close();
}

CFile* CStdioFile::Duplicate() const
{
    AfxThrowNotSupportedException();
}
