#include "app/program/DirectXVersion.h"

HRESULT AFXAPI GetDirectXVersion(CString& strVersion, DWORD& dwPacked)
{
    strVersion.Empty();
    dwPacked = 0;
    // Waits for: Recorder periphery (the DirectX version: diagnostics
    // provider, then the system files' versions). Meanwhile the version
    // cannot be told.
    return E_FAIL;
}
