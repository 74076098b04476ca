#include "toolkit/skinframework/controls/QVTSkinControlRules.h"

#include <climits>

namespace {
// The longest text the readers take (characters): a control claiming more
// is read as empty rather than handed a buffer it could overrun.
const int kSkinRulesTextLimit = 0x100000;

int SkinRulesClamp(LONGLONG nValue, int nLow, int nHigh)
{
    if (nValue < nLow)
        return nLow;
    if (nValue > nHigh)
        return nHigh;
    return static_cast<int>(nValue);
}
}  // namespace

int AFXAPI QVTSkinButtonType(DWORD dwStyle, BYTE nTypeOverride)
{
    return nTypeOverride != 255 ? nTypeOverride : static_cast<int>(dwStyle & BS_TYPEMASK);
}

BOOL AFXAPI QVTSkinIsButtonSkinned(int nType)
{
    return nType != qvtSkinButtonOwnerDraw && nType < 14;
}

BOOL AFXAPI QVTSkinIsPushLikeButton(int nType, DWORD dwStyle)
{
    if (nType == qvtSkinButtonPush || nType == qvtSkinButtonDefPush || nType == qvtSkinButtonSplit ||
        nType == qvtSkinButtonDefSplit || nType == qvtSkinButtonUserButton)
        return TRUE;
    return nType != qvtSkinButtonGroupBox && (dwStyle & BS_PUSHLIKE) != 0;
}

void AFXAPI QVTSkinButtonPartState(int nType, DWORD dwStyle, BOOL bHot, BOOL bPushed, int nCheck,
                                   BOOL bEnabled, int* pnPart, int* pnState)
{
    int nPart = 1;
    int nState = 1;
    if (nType == qvtSkinButtonGroupBox)
    {
        nPart = 4;
        nState = bEnabled ? 1 : 2;
    }
    else if (QVTSkinIsPushLikeButton(nType, dwStyle))
    {
        const int nNormal = (nType == qvtSkinButtonDefPush || nType == qvtSkinButtonDefSplit) ? 5 : 1;
        nPart = 1;
        nState = !bEnabled ? 4 : bPushed ? 3 : bHot ? 2 : nCheck != 0 ? 3 : nNormal;
    }
    else
    {
        const BOOL bRadio = nType == qvtSkinButtonRadio || nType == qvtSkinButtonAutoRadio;
        nPart = bRadio ? 2 : 3;
        nState = !bEnabled ? 4 : bPushed ? 3 : bHot ? 2 : 1;
        const BOOL bThreeState = nType == qvtSkinButton3State || nType == qvtSkinButtonAuto3State;
        if (bThreeState && nCheck == BST_INDETERMINATE)
            nState += 8;
        else if (nCheck != 0)
            nState += 4;
    }
    *pnPart = nPart;
    *pnState = nState;
}

DWORD AFXAPI QVTSkinButtonAlignment(int nType, DWORD dwStyle)
{
    DWORD dwHorz = dwStyle & BS_CENTER;
    DWORD dwVert = dwStyle & BS_VCENTER;
    if (dwHorz == 0)
        dwHorz = QVTSkinIsPushLikeButton(nType, dwStyle) ? BS_CENTER : BS_LEFT;
    if (dwVert == 0)
        dwVert = BS_VCENTER;
    return dwHorz | dwVert;
}

int AFXAPI QVTSkinProgressFilled(int nLength, int nPos, int nLow, int nHigh)
{
    if (nLength <= 0 || nHigh <= nLow)
        return 0;
    const LONGLONG nRange = static_cast<LONGLONG>(nHigh) - nLow;
    const LONGLONG nOffset = SkinRulesClamp(static_cast<LONGLONG>(nPos) - nLow, 0, INT_MAX);
    // Rounded as MulDiv rounds.
    return SkinRulesClamp((nLength * (nOffset < nRange ? nOffset : nRange) + nRange / 2) / nRange, 0,
                          nLength);
}

int AFXAPI QVTSkinProgressChunkCount(int nFilled, int nChunk, int nSpace)
{
    if (nFilled <= 0)
        return 0;
    nChunk = nChunk < 1 ? 1 : nChunk;
    nSpace = nSpace < 0 ? 0 : nSpace;
    const LONGLONG nStep = static_cast<LONGLONG>(nChunk) + nSpace;
    return static_cast<int>((nSpace - 1 + static_cast<LONGLONG>(nFilled) + nChunk) / nStep);
}

int AFXAPI QVTSkinProgressAdvance(int nOffset, int nSteps, int nChunk, int nSpace, int nLength)
{
    if (nLength <= 0)
        return 0;
    nChunk = nChunk < 1 ? 1 : nChunk;
    nSpace = nSpace < 0 ? 0 : nSpace;
    const LONGLONG nNext = static_cast<LONGLONG>(nOffset) + static_cast<LONGLONG>(nSteps) * (nChunk + nSpace);
    return nNext >= nLength || nNext < 0 ? 0 : static_cast<int>(nNext);
}

int AFXAPI QVTSkinTrackBarValueToPixel(int nChannelStart, int nChannelLength, int nValue, int nMin, int nMax)
{
    if (nMax <= nMin)
        return nChannelStart;
    const LONGLONG nSpan = nChannelLength - 1 > 0 ? nChannelLength - 1 : 0;
    const LONGLONG nRange = static_cast<LONGLONG>(nMax) - nMin;
    const LONGLONG nOffset = SkinRulesClamp(static_cast<LONGLONG>(nValue) - nMin, 0, INT_MAX);
    const LONGLONG nPixel = (nSpan * (nOffset < nRange ? nOffset : nRange) + nRange / 2) / nRange;
    return nChannelStart + static_cast<int>(nPixel);
}

BOOL AFXAPI QVTSkinTrackBarIsTickDrawn(int nIndex, int nFrequency)
{
    if (nFrequency <= 1)
        return TRUE;
    return nIndex % nFrequency == 0;
}

int AFXAPI QVTSkinSpinHitTest(const RECT& rcClient, POINT pt, BOOL bHorz)
{
    if (!::PtInRect(&rcClient, pt))
        return 0;
    if (bHorz)
    {
        const int nMiddle = (rcClient.left + rcClient.right) / 2;
        return pt.x < nMiddle ? 1 : pt.x > nMiddle ? 2 : 0;
    }
    const int nMiddle = (rcClient.top + rcClient.bottom) / 2;
    return pt.y > nMiddle ? 1 : pt.y < nMiddle ? 2 : 0;
}

int AFXAPI QVTSkinSpinState(int nHalf, int nHot, int nPressed, BOOL bEnabled)
{
    if (!bEnabled)
        return 4;
    if (nPressed == nHalf)
        return nHot == nHalf ? 3 : 2;
    if (nHot == nHalf && nPressed == 0)
        return 2;
    return 1;
}

int AFXAPI QVTSkinTabItemPart(int nItem, int nCount, BOOL bSelected, BOOL bFocused)
{
    if (nItem == 0)
        return 6;
    if (nItem == nCount - 1 && !bSelected && !bFocused)
        return 7;
    return 5;
}

int AFXAPI QVTSkinTabItemState(BOOL bFocused, BOOL bSelected, BOOL bHot)
{
    if (bFocused || (bSelected && bHot))
        return 5;
    if (bSelected)
        return 3;
    return bHot ? 2 : 1;
}

CString AFXAPI QVTSkinGetToolBarButtonText(HWND hWnd, int nCommand, BOOL bAnsi)
{
    // The message takes no buffer size: ask the length first.
    const UINT nMessage = bAnsi ? TB_GETBUTTONTEXTA : TB_GETBUTTONTEXTW;
    const LRESULT nLength = ::SendMessageW(hWnd, nMessage, static_cast<WPARAM>(nCommand), 0);
    if (nLength <= 0 || nLength > kSkinRulesTextLimit)
        return CString();
    const int nChars = static_cast<int>(nLength);
    if (bAnsi)
    {
        CStringA strText;
        LPSTR pBuffer = strText.GetBufferSetLength(nChars + 1);
        pBuffer[0] = 0;
        ::SendMessageW(hWnd, nMessage, static_cast<WPARAM>(nCommand), reinterpret_cast<LPARAM>(pBuffer));
        pBuffer[nChars] = 0;
        strText.ReleaseBuffer();
        return CString(strText);
    }
    CString strText;
    LPTSTR pBuffer = strText.GetBufferSetLength(nChars + 1);
    pBuffer[0] = 0;
    ::SendMessageW(hWnd, nMessage, static_cast<WPARAM>(nCommand), reinterpret_cast<LPARAM>(pBuffer));
    pBuffer[nChars] = 0;
    strText.ReleaseBuffer();
    return strText;
}

namespace {
// Reads a text through a message that fills a buffer of a given size and
// cuts what does not fit: doubles the buffer while the text fills it.
template <class FILL>
BOOL SkinRulesReadGrowing(CString* pText, FILL fill)
{
    for (int nSize = 256; nSize <= kSkinRulesTextLimit; nSize *= 2)
    {
        CString strText;
        LPTSTR pBuffer = strText.GetBufferSetLength(nSize);
        ZeroMemory(pBuffer, sizeof(TCHAR) * nSize);
        if (!fill(pBuffer, nSize))
            return FALSE;
        pBuffer[nSize - 1] = 0;
        strText.ReleaseBuffer();
        if (strText.GetLength() < nSize - 1 || nSize * 2 > kSkinRulesTextLimit)
        {
            if (pText != nullptr)
                *pText = strText;
            return TRUE;
        }
    }
    return FALSE;
}

template <class FILLA>
BOOL SkinRulesReadGrowingA(CString* pText, FILLA fill)
{
    for (int nSize = 256; nSize <= kSkinRulesTextLimit; nSize *= 2)
    {
        CStringA strText;
        LPSTR pBuffer = strText.GetBufferSetLength(nSize);
        ZeroMemory(pBuffer, nSize);
        if (!fill(pBuffer, nSize))
            return FALSE;
        pBuffer[nSize - 1] = 0;
        strText.ReleaseBuffer();
        if (strText.GetLength() < nSize - 1 || nSize * 2 > kSkinRulesTextLimit)
        {
            if (pText != nullptr)
                *pText = CString(strText);
            return TRUE;
        }
    }
    return FALSE;
}
}  // namespace

BOOL AFXAPI QVTSkinGetTabItem(HWND hWnd, int nItem, CString* pText, int* pnImage)
{
    int nImage = -1;
    BOOL bRead = SkinRulesReadGrowing(pText, [&](LPTSTR pBuffer, int nSize) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = pBuffer;
        item.cchTextMax = nSize;
        item.iImage = -1;
        if (!::SendMessageW(hWnd, TCM_GETITEMW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
            return FALSE;
        nImage = item.iImage;
        return TRUE;
    });
    if (!bRead)
        bRead = SkinRulesReadGrowingA(pText, [&](LPSTR pBuffer, int nSize) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = pBuffer;
            item.cchTextMax = nSize;
            item.iImage = -1;
            if (!::SendMessageW(hWnd, TCM_GETITEMA, static_cast<WPARAM>(nItem),
                                reinterpret_cast<LPARAM>(&item)))
                return FALSE;
            nImage = item.iImage;
            return TRUE;
        });
    if (pnImage != nullptr)
        *pnImage = bRead ? nImage : -1;
    return bRead;
}

BOOL AFXAPI QVTSkinGetHeaderItem(HWND hWnd, int nIndex, CString* pText, HDITEMW* pItem)
{
    HDITEMW itemRead = {};
    BOOL bRead = SkinRulesReadGrowing(pText, [&](LPTSTR pBuffer, int nSize) {
        HDITEMW item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM | HDI_WIDTH;
        item.pszText = pBuffer;
        item.cchTextMax = nSize;
        if (!::SendMessageW(hWnd, HDM_GETITEMW, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)))
            return FALSE;
        itemRead = item;
        return TRUE;
    });
    if (!bRead)
        bRead = SkinRulesReadGrowingA(pText, [&](LPSTR pBuffer, int nSize) {
            HDITEMA item = {};
            item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_LPARAM | HDI_WIDTH;
            item.pszText = pBuffer;
            item.cchTextMax = nSize;
            if (!::SendMessageW(hWnd, HDM_GETITEMA, static_cast<WPARAM>(nIndex),
                                reinterpret_cast<LPARAM>(&item)))
                return FALSE;
            itemRead.mask = item.mask;
            itemRead.cxy = item.cxy;
            itemRead.fmt = item.fmt;
            itemRead.lParam = item.lParam;
            itemRead.iImage = item.iImage;
            return TRUE;
        });
    itemRead.pszText = nullptr;
    itemRead.cchTextMax = 0;
    if (pItem != nullptr)
        *pItem = itemRead;
    return bRead;
}

BOOL AFXAPI QVTSkinGetReBarBand(HWND hWnd, int nBand, CString* pText, REBARBANDINFOW* pBand)
{
    REBARBANDINFOW bandRead = {};
    const BOOL bRead = SkinRulesReadGrowing(pText, [&](LPTSTR pBuffer, int nSize) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = 0xFFF;
        band.lpText = pBuffer;
        band.cch = nSize;
        if (!::SendMessageW(hWnd, RB_GETBANDINFOW, static_cast<WPARAM>(nBand),
                            reinterpret_cast<LPARAM>(&band)))
            return FALSE;
        bandRead = band;
        return TRUE;
    });
    bandRead.lpText = nullptr;
    bandRead.cch = 0;
    if (pBand != nullptr)
        *pBand = bandRead;
    return bRead;
}
