// The profiles panel's settings page for WMA: one of the Windows Media
// audio codecs the manager found and one of that codec's formats, each a
// complete audio format object of the media engine, put into the selected
// profile as it is.
#pragma once

#include "app/profiles/ProfilePage.h"

struct WMCodecInfo;

class CWMAudioProfilesEditor : public CProfilePage
{
public:
    BOOL Create(CWnd* pPanel, CSondrelProfileManager* pManager);
    void FillCodecList();
    void SelectCurrent();

    CComboBox m_comboCodec;
    CComboBox m_comboFormat;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnWMCodecChange();
    afx_msg void OnWMFormatChange();
    DECLARE_MESSAGE_MAP()

private:
    void FillFormatList();
    // The first codec record of the identifier and its position; null and
    // -1 when none has it.
    WMCodecInfo* FindCodec(LONG nCodecId, int* pPosition) const;
    // Puts a listed format into the profile in place of its audio streams
    // (and of its video streams when asked) and stores the profile.
    void PutFormat(IMediaPropertyBag5* pProfile, IMediaAudioFormat5* pFormat, BOOL bRemoveVideo);
};
