// Number and duration texts of the recorder, the file list and the file
// information dialog, and the message pump the recording job keeps the
// window alive with.
#pragma once

#include <afxwin.h>

// The value with 0, 1 or 2 decimals ("%f" for any other count); with
// bDropZeroFraction, a value that rounds to a whole number at that many
// decimals is printed without decimals.
CString AFXAPI FormatDecimal(double dValue, int nDecimals, BOOL bDropZeroFraction);
CString AFXAPI IntToString(int nValue);
// "mm:ss", "hh:mm:ss" (an hour or more, or forced) or "d:hh:mm:ss", with
// ".<milliseconds>" when asked. Durations below zero, or not a number, read
// as zero.
CString AFXAPI FormatDuration(double dMilliseconds, BOOL bWithMilliseconds, BOOL bForceHours);
CString AFXAPI FormatDurationInt64(__int64 nMilliseconds, BOOL bWithMilliseconds, BOOL bForceHours);
// Dispatches every message waiting for the window (null: for the thread),
// then returns. A quit message is posted again for the loop that owns it.
void AFXAPI PumpWaitingMessages(HWND hWnd);
