// The nine output formats: everything that differs from one format to the
// next and is fixed at build time. A format is named by its row index.
#pragma once

#include <afx.h>

struct AudioFormatDesc
{
    int nCommandId;   // ribbon button and format command
    LPCTSTR pszIcon;  // PNG resource name
    LPCTSTR pszName;  // display name
    LPCTSTR pszProfilesFile;
    LPCTSTR pszFilter;     // "description|pattern||"
    LPCTSTR pszExtension;  // with its dot
    int nContainerType;    // the media engine's container type
};

constexpr int AUDIO_FORMAT_COUNT = 9;
constexpr int AUDIO_FORMAT_WMA = 1;  // Windows Media behaviour is bound to this row

extern const AudioFormatDesc g_AudioFormats[AUDIO_FORMAT_COUNT];
// Display and loading order of the formats, as row indexes.
extern const int g_AudioFormatOrder[AUDIO_FORMAT_COUNT];

// Row index of the format command, or -1 when no row carries it.
int FindAudioFormatByCommand(int nCommandId);
