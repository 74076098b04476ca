#include "app/recording/ConverterContext.h"

CConverterContext::CConverterContext() {}

CConverterContext::~CConverterContext()
{
    // A process-wide object outlives COM: its references are dropped, never released late.
    m_pGlobalConfig = nullptr;
    m_pEncoderConfig = nullptr;
}

void CConverterContext::SetGlobalConfig(IMediaPropertyBag5* pConfig)
{
    if (pConfig)
        pConfig->AddRef();
    if (m_pGlobalConfig)
        m_pGlobalConfig->Release();
    m_pGlobalConfig = pConfig;
}

void CConverterContext::SetEncoderConfig(IMediaEngineAux5* pAux)
{
    if (pAux)
        pAux->AddRef();
    if (m_pEncoderConfig)
        m_pEncoderConfig->Release();
    m_pEncoderConfig = pAux;
}

void CConverterContext::Release()
{
    SetGlobalConfig(nullptr);
    SetEncoderConfig(nullptr);
}

CString CConverterContext::GetTempFolder() const
{
    if (!m_strTempFolder.IsEmpty())
        return m_strTempFolder;
    TCHAR szPath[MAX_PATH + 1] = {0};
    DWORD n = GetTempPathW(MAX_PATH, szPath);
    if (n == 0 || n > MAX_PATH)
        return CString();
    return CString(szPath);
}

CConverterContext& GetConverterContext()
{
    static CConverterContext context;
    return context;
}
