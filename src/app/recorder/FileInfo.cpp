#include "app/recorder/FileInfo.h"

#include "app/files/FileDesc.h"
#include "app/program/TextFormat.h"
#include "app/recorder/FileListResource.h"
#include "app/recorder/RecorderResource.h"
#include "common/ApplicationBase.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

const TCHAR kLineEnd[] = _T("\r\n");
const TCHAR kIndent[] = _T("\t\t");

CString SizeText(__int64 nSize)
{
    CString strText;
    if (nSize < 1024)
        strText.Format(_T("%I64d %s"), nSize, LoadAppString(IDS_INFO_BYTES).GetString());
    else if (nSize < 1048576)
        strText = FormatDecimal(nSize / 1024.0, 3, TRUE) + _T(" ") + LoadAppString(IDS_INFO_KB);
    else
        strText = FormatDecimal(nSize / 1048576.0, 3, TRUE) + _T(" ") + LoadAppString(IDS_UNIT_MB);
    return strText;
}

__int64 FileSizeOf(const CString& strPath)
{
    _wfinddatai64_t data = {};
    intptr_t hFind = _wfindfirsti64(strPath, &data);
    if (hFind == -1)
        return 0;
    _findclose(hFind);
    return data.size;
}

CString DurationText(double dMilliseconds)
{
    return FormatDurationInt64(static_cast<__int64>(dMilliseconds), FALSE, FALSE);
}

CString TagText(IMediaPropertyBag5* pTags, LPCTSTR pszName)
{
    BSTR b = nullptr;
    if (FAILED(pTags->GetString(CEngineString(pszName), 0, &b)))
        return CString();
    return TakeEngineString(b);
}

}  // namespace

CFileInfo::CFileInfo(CWnd* pParent)
{
    m_pParentWnd = pParent;
    // Through the resource manager, so that a language resource can replace it.
    LPCDLGTEMPLATE pTemplate = QVTResourceManager()->LoadDialogTemplate(IDD_FILE_INFO);
    if (pTemplate != nullptr)
        InitModalIndirect(pTemplate, pParent);
}

void CFileInfo::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILE_INFO_TEXT, m_editInfo);
}

BOOL CFileInfo::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    if (m_pFileDesc)
        m_editInfo.SetWindowText(BuildText(*m_pFileDesc));
    // The dialog's own focus would select the whole text and show its end:
    // the box opens at its first line with the caret there instead.
    m_editInfo.SetFocus();
    m_editInfo.SetSel(0, 0);
    return FALSE;
}

CString CFileInfo::BuildText(const CFileDesc& desc)
{
    CString s;
    CString strLine;
    s += LoadAppString(IDS_INFO_FILE_NAME) + desc.m_strPath + kLineEnd;
    s += LoadAppString(IDS_INFO_FILE_SIZE) + SizeText(FileSizeOf(desc.m_strPath)) + kLineEnd;

    const CString strPixels = _T(" ") + LoadAppString(IDS_INFO_PIXELS);
    const CString strKbps = _T(" ") + LoadAppString(IDS_DESC_KBPS);
    const int nVideo = static_cast<int>(desc.m_video.size());
    for (int i = 0; i < nVideo; ++i)
    {
        const CVideoStreamDesc& v = desc.m_video[i];
        strLine.Format(_T("%s%d/%d"), LoadAppString(IDS_INFO_VIDEO_TRACK).GetString(), i + 1, nVideo);
        s += strLine + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_WIDTH) + IntToString(v.nWidth) + strPixels + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_HEIGHT) + IntToString(v.nHeight) + strPixels + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_FRAMERATE) + FormatDecimal(v.dFrameRate, 2, TRUE) + _T(" ") +
             LoadAppString(IDS_INFO_FPS) + kLineEnd;
        strLine.Format(_T("%I64d"), static_cast<__int64>(v.nBitrate / 1000));
        s += kIndent + LoadAppString(IDS_INFO_VIDEO_BITRATE) + strLine + strKbps + kLineEnd;
        CString strAspect = _T("-");
        if (v.nAspectX != 0 && v.nAspectY != 0)
            strAspect.Format(_T("%d:%d"), static_cast<int>(v.nAspectX), static_cast<int>(v.nAspectY));
        s += kIndent + LoadAppString(IDS_INFO_ASPECT) + strAspect + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_VIDEO_CODEC) + v.strCodecName + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_VIDEO_DURATION) + DurationText(v.dDuration) + kLineEnd;
        s += kLineEnd;
    }

    const int nAudio = static_cast<int>(desc.m_audio.size());
    for (int i = 0; i < nAudio; ++i)
    {
        const CAudioStreamDesc& a = desc.m_audio[i];
        strLine.Format(_T("%s%d/%d"), LoadAppString(IDS_INFO_AUDIO_TRACK).GetString(), i + 1, nAudio);
        s += strLine + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_LANGUAGE) + a.strName + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_FREQUENCY) + IntToString(a.nSampleRate) + _T(" ") +
             LoadAppString(IDS_DESC_HZ) + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_CHANNELS) + IntToString(a.nChannels) + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_AUDIO_BITRATE) + IntToString(a.nBitrate / 1000) + strKbps +
             kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_AUDIO_CODEC) + a.strCodecName + kLineEnd;
        s += kIndent + LoadAppString(IDS_INFO_AUDIO_DURATION) + DurationText(a.dDuration) + kLineEnd;
        s += kLineEnd;
    }

    if (IMediaPropertyBag5* pTags = desc.GetTags())
    {
        static const struct
        {
            UINT nLabel;
            LPCTSTR pszTag;
        } kTags[] = {{IDS_INFO_TRACK, MEDIA_PROP_TRACK},     {IDS_INFO_TITLE, MEDIA_PROP_TITLE},
                     {IDS_INFO_AUTHOR, MEDIA_PROP_ARTIST},   {IDS_INFO_ALBUM, MEDIA_PROP_ALBUM},
                     {IDS_INFO_GENRE, MEDIA_PROP_GENRE},     {IDS_INFO_YEAR, MEDIA_PROP_DATE},
                     {IDS_INFO_COMMENT, MEDIA_PROP_COMMENT}, {IDS_INFO_COPYRIGHT, MEDIA_PROP_COPYRIGHT}};
        s += LoadAppString(IDS_INFO_MEDIA_DESCRIPTION) + _T(":") + kLineEnd;
        for (const auto& tag : kTags)
            s += kIndent + LoadAppString(tag.nLabel) + TagText(pTags, tag.pszTag) + kLineEnd;
    }
    return s;
}
