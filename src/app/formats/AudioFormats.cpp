#include "app/formats/AudioFormats.h"

// The rows keep their historical spellings: the M4A row stores its profiles
// in "MP4Profiles.prop", AIFF records with ".aif", and the AU name starts
// with a blank. Stored profile files and existing recordings rely on them.
const AudioFormatDesc g_AudioFormats[AUDIO_FORMAT_COUNT] = {
    {25100, _T("MP3.png"), _T("MP3"), _T("MP3Profiles.prop"), _T("MP3 Audio (*.mp3)|*.mp3||"), _T(".mp3"), 2},
    {25101, _T("WMA.png"), _T("WMA"), _T("WMAProfiles.prop"), _T("WMA Audio (*.wma)|*.wma||"), _T(".wma"),
     130},
    {25102, _T("AAC.png"), _T("AAC"), _T("AACProfiles.prop"), _T("AAC Audio (*.aac)|*.aac||"), _T(".aac"), 8},
    {25103, _T("M4A.png"), _T("M4A"), _T("MP4Profiles.prop"), _T("M4A Audio (*.m4a)|*.m4a||"), _T(".m4a"),
     125},
    {25104, _T("WAV.png"), _T("WAV"), _T("WAVProfiles.prop"), _T("WAV Audio (*.wav)|*.wav||"), _T(".wav"), 1},
    {25105, _T("AIFF.png"), _T("AIFF"), _T("AIFFProfiles.prop"), _T("AIF Audio (*.aif)|*.aif||"), _T(".aif"),
     3},
    {25106, _T("OGG.png"), _T("OGG"), _T("OGGProfiles.prop"), _T("OGG Audio (*.ogg)|*.ogg||"), _T(".ogg"),
     101},
    {25107, _T("AMR.png"), _T("AMR"), _T("AMRProfiles.prop"), _T("AMR Audio (*.amr)|*.amr||"), _T(".amr"), 7},
    {25108, _T("AU.png"), _T(" AU"), _T("AUProfiles.prop"), _T("Sun AU Audio (*.au)|*.au||"), _T(".au"), 11},
};

const int g_AudioFormatOrder[AUDIO_FORMAT_COUNT] = {0, 1, 2, 3, 7, 6, 8, 5, 4};

int FindAudioFormatByCommand(int nCommandId)
{
    for (int i = 0; i < AUDIO_FORMAT_COUNT; ++i)
    {
        if (g_AudioFormats[i].nCommandId == nCommandId)
            return i;
    }
    return -1;
}
