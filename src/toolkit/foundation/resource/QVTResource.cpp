#include "toolkit/foundation/resource/QVTResource.h"

CQVTResource::CQVTResource()
    : m_hResInfo(nullptr), m_hResource(nullptr), m_pvResourceData(nullptr), m_dwSize(0)
{
}

CQVTResource::~CQVTResource() = default;

BOOL CQVTResource::Load(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType)
{
    m_hResInfo = ::FindResourceW(hModule, lpszName, lpszType);
    if (m_hResInfo == nullptr)
        return FALSE;
    m_dwSize = ::SizeofResource(hModule, m_hResInfo);
    if (m_dwSize == 0)
        return FALSE;
    m_hResource = ::LoadResource(hModule, m_hResInfo);
    if (m_hResource == nullptr)
        return FALSE;
    m_pvResourceData = ::LockResource(m_hResource);
    return m_pvResourceData != nullptr;
}
