// The profiles panel's settings page for every format but WMA: the codecs a
// format offers and, for the chosen codec, its bitrates, sample rates and
// channel counts. Each choice is written at once into the selected
// profile's audio format, and the profile stored back in the manager.
#pragma once

#include "app/profiles/ProfilePage.h"

class CAudioProfilesEditor : public CProfilePage
{
public:
    enum
    {
        CODEC_COUNT = 24,
    };

    BOOL Create(CWnd* pPanel, CSondrelProfileManager* pManager);
    void FillCodecList();
    // Refills the value lists for the selected profile and selects its values.
    void SelectCurrent();

    // The codec table's row of a profile's audio format: its kind, then for
    // a generic format its identifier (an unknown one is PCM's row).
    static int GetCodecIndex(IMediaAudioFormat5* pFormat);
    static LONG GetCodecId(int nCodecIndex);
    static LPCTSTR GetCodecName(int nCodecIndex);

    CComboBox m_comboBitrate;
    CComboBox m_comboFrequency;
    CComboBox m_comboChannels;
    CComboBox m_comboCodec;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnCodecChange();
    afx_msg void OnBitrateChange();
    afx_msg void OnFrequencyChange();
    afx_msg void OnChannelsChange();
    DECLARE_MESSAGE_MAP()

private:
    // Fills the value lists with what the selected profile's codec offers
    // and the engine records together with the profile's other values.
    void FillValueLists();
    void OnValueChange(int nKind);
};
