#include "toolkit/markup/script/QVTMarkupQvtScript.h"

#include <vector>

#include "toolkit/foundation/stream/QVTStreams.h"
#include "toolkit/foundation/stream/QVTTextDecoder.h"
#include "toolkit/markup/context/QVTMarkupContext.h"
#include "toolkit/markup/core/QVTMarkupDependencyProperty.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/values/QVTMarkupString.h"

IMPLEMENT_MARKUPCLASS(CQVTMarkupQvtScript, CQVTMarkupExtension, u"qvt:Script",
                      &CQVTMarkupQvtScript::RegisterMarkupProperties)

CQVTMarkupDependencyProperty* CQVTMarkupQvtScript::m_pLanguageProperty = nullptr;
CQVTMarkupDependencyProperty* CQVTMarkupQvtScript::m_pSourceProperty = nullptr;

namespace {
const HRESULT kScriptTooLarge = HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);  // 0x8007006F
const HRESULT kScriptUndecodable = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);  // 0x8007000D
}  // namespace

void AFX_CDECL CQVTMarkupQvtScript::RegisterMarkupProperties()
{
    CQVTMarkupType* pType = GetMarkupType();
    m_pLanguageProperty =
        CQVTMarkupDependencyProperty::Register(u"Language", CQVTMarkupString::GetMarkupType(), pType);
    m_pSourceProperty =
        CQVTMarkupDependencyProperty::Register(u"Source", CQVTMarkupString::GetMarkupType(), pType);
}

CString CQVTMarkupQvtScript::GetLanguage()
{
    CQVTMarkupString* pLanguage = MarkupCast<CQVTMarkupString>(GetValue(m_pLanguageProperty));
    return pLanguage != nullptr ? CString(pLanguage->GetText()) : CString(u"JScript");
}

LPCWSTR CQVTMarkupQvtScript::GetSource()
{
    CQVTMarkupString* pSource = MarkupCast<CQVTMarkupString>(GetValue(m_pSourceProperty));
    return pSource != nullptr ? pSource->GetText() : nullptr;
}

void CQVTMarkupQvtScript::SetContentObject(CQVTMarkupBuilder* pBuilder, CQVTMarkupObject* pContent)
{
    CQVTMarkupString* pText = MarkupCast<CQVTMarkupString>(pContent);
    if (pText == nullptr)
    {
        CQVTMarkupExtension::SetContentObject(pBuilder, pContent);
        return;
    }
    if (GetSource() != nullptr)
        CQVTMarkupBuilder::ThrowBuilderError(
            u"qvt:Script does not allow combining script source and content");
    if (CQVTMarkupContext* pContext = GetMarkupContext())
        pContext->AddScript(pBuilder, GetLanguage(), pText->GetText());
}

void CQVTMarkupQvtScript::OnBuildFinished(CQVTMarkupBuilder* pBuilder)
{
    LPCWSTR lpszSource = GetSource();
    if (lpszSource == nullptr)
        return;
    CString strText;
    const HRESULT hr = ReadSource(lpszSource, strText);
    if (FAILED(hr))
        CQVTMarkupBuilder::ThrowComError(hr);
    if (!strText.IsEmpty())
    {
        if (CQVTMarkupContext* pContext = GetMarkupContext())
            pContext->AddScript(pBuilder, GetLanguage(), strText);
    }
}

HRESULT AFX_CDECL CQVTMarkupQvtScript::ReadSource(LPCWSTR lpszSource, CString& strText)
{
    strText.Empty();
    QVTStreamLocation location;
    HRESULT hr = ParseStreamUrl(lpszSource, &location);
    if (FAILED(hr))
        return hr;
    IStream* pStream = nullptr;
    hr = CreateStreamFromLocation(&location, &pStream);
    if (FAILED(hr) || pStream == nullptr)
        return FAILED(hr) ? hr : E_FAIL;
    STATSTG stat = {};
    hr = pStream->Stat(&stat, STATFLAG_NONAME);
    // The decoder takes at most 2^31 - 2 bytes.
    if (SUCCEEDED(hr) && stat.cbSize.QuadPart >= 2147483647ULL)
        hr = kScriptTooLarge;
    std::vector<BYTE> bytes;
    if (SUCCEEDED(hr))
    {
        bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
        ULONG nRead = 0;
        if (!bytes.empty())
            hr = pStream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &nRead);
        if (SUCCEEDED(hr))
            bytes.resize(nRead);
    }
    pStream->Release();
    if (FAILED(hr))
        return hr;
    if (bytes.empty())
        return S_OK;
    DWORD nLength = static_cast<DWORD>(bytes.size()) + 1;
    std::vector<WCHAR> text(nLength);
    if (!DecodeTextToWide(bytes.data(), static_cast<DWORD>(bytes.size()), text.data(), &nLength))
        return kScriptUndecodable;
    strText = CString(text.data(), static_cast<int>(nLength));
    return S_OK;
}
