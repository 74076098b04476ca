// The rules the skinned controls paint by, apart from their windows: which
// part and state a control shows, where a progress bar's chunks and a track
// bar's ticks fall, and the texts of toolbar buttons, tab items, header
// items and rebar bands read at whatever length they have.
#pragma once

#include <afxwin.h>

#include <commctrl.h>

// Button types by the low four bits of the style; 255 = no override.
enum : int
{
    qvtSkinButtonPush = 0,
    qvtSkinButtonDefPush = 1,
    qvtSkinButtonCheckBox = 2,
    qvtSkinButtonAutoCheckBox = 3,
    qvtSkinButtonRadio = 4,
    qvtSkinButton3State = 5,
    qvtSkinButtonAuto3State = 6,
    qvtSkinButtonGroupBox = 7,
    qvtSkinButtonUserButton = 8,
    qvtSkinButtonAutoRadio = 9,
    qvtSkinButtonOwnerDraw = 11,
    qvtSkinButtonSplit = 12,
    qvtSkinButtonDefSplit = 13,
};

int AFXAPI QVTSkinButtonType(DWORD dwStyle, BYTE nTypeOverride);
// Owner-drawn buttons and command links stay the system's.
BOOL AFXAPI QVTSkinIsButtonSkinned(int nType);
BOOL AFXAPI QVTSkinIsPushLikeButton(int nType, DWORD dwStyle);
// The part and state of class "BUTTON" a button shows; nCheck is
// BM_GETCHECK's answer.
void AFXAPI QVTSkinButtonPartState(int nType, DWORD dwStyle, BOOL bHot, BOOL bPushed, int nCheck,
                                   BOOL bEnabled, int* pnPart, int* pnState);
// The BS_ alignment bits a button is drawn with.
DWORD AFXAPI QVTSkinButtonAlignment(int nType, DWORD dwStyle);

// The filled length of a bar nLength long; empty and reversed ranges fill
// nothing, and the position is held inside the range.
int AFXAPI QVTSkinProgressFilled(int nLength, int nPos, int nLow, int nHigh);
// How many chunks cover nFilled pixels; a chunk plus space of 0 or less
// counts as one pixel each.
int AFXAPI QVTSkinProgressChunkCount(int nFilled, int nChunk, int nSpace);
// The marquee offset after nSteps steps of chunk plus space in a bar
// nLength long, wrapping to the start.
int AFXAPI QVTSkinProgressAdvance(int nOffset, int nSteps, int nChunk, int nSpace, int nLength);

// A value's pixel in a channel: equal bounds map to the start, a reversed
// or overflowing range never divides by zero or gives -1.
int AFXAPI QVTSkinTrackBarValueToPixel(int nChannelStart, int nChannelLength, int nValue, int nMin, int nMax);
// Whether the tick array's entry nIndex is drawn at frequency nFrequency
// (0 or less draws every entry).
BOOL AFXAPI QVTSkinTrackBarIsTickDrawn(int nIndex, int nFrequency);

// The half of an up-down control under a client point: 0 none, 1 lower or
// left, 2 upper or right.
int AFXAPI QVTSkinSpinHitTest(const RECT& rcClient, POINT pt, BOOL bHorz);
int AFXAPI QVTSkinSpinState(int nHalf, int nHot, int nPressed, BOOL bEnabled);

// The part and state of a tab item of class "TAB".
int AFXAPI QVTSkinTabItemPart(int nItem, int nCount, BOOL bSelected, BOOL bFocused);
int AFXAPI QVTSkinTabItemState(BOOL bFocused, BOOL bSelected, BOOL bHot);

// Texts read whole: the buffer grows until the control leaves room.
CString AFXAPI QVTSkinGetToolBarButtonText(HWND hWnd, int nCommand, BOOL bAnsi);
// The item's text and image (TCIF_IMAGE); FALSE when the item is not read.
BOOL AFXAPI QVTSkinGetTabItem(HWND hWnd, int nItem, CString* pText, int* pnImage);
// The header item's text and its other fields (mask, format, image,
// parameter); FALSE when the item is not read.
BOOL AFXAPI QVTSkinGetHeaderItem(HWND hWnd, int nIndex, CString* pText, HDITEMW* pItem);
// The band's text and its other fields (all of them asked).
BOOL AFXAPI QVTSkinGetReBarBand(HWND hWnd, int nBand, CString* pText, REBARBANDINFOW* pBand);
