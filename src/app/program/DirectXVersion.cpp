#include "app/program/DirectXVersion.h"

HRESULT AFXAPI GetDirectXVersion(CString& strVersion, DWORD& dwPacked)
{
    strVersion.Empty();
    dwPacked = 0;
    // Filled when the DirectX detection exists (diagnostics provider, then
    // the system files' versions). Until then the version cannot be told.
    return E_FAIL;
}
