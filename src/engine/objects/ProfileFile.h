// The ".prop" profile file: readable UTF-8 text, one statement a line.
//
//   SondrelProfiles 1                      version line (this engine reads 1)
//   # a comment                            blank lines and comments anywhere
//   profile                                one profile bag ...
//     string "ProfileName" 0 "MP3 - 44100 Hz, Stereo"
//     integer "ContainerType" 0 -1
//     bag "AudioStreamInfo" 1              a bag element, up to its "end"
//       format "AVFormat" 1 mp3            an audio format: generic, mp3 or aac
//         codec 86017
//         rate 44100
//         channels 2
//         bitrate 128000
//         bits 16
//         mp3-rate-mode 0
//       end
//     end
//   end                                    ... up to its "end"
//   end-of-profiles                        required last statement
//
// Each value line is: type, quoted name, flags, value. A name that appears
// again adds the next element of that list. Strings are double-quoted with the
// escapes \\ \" \n \r \t and \uXXXX. Format fields may also be "codec-name",
// "description" (quoted), "aac-stream-format" and "wave-extra" (hex bytes).
// Anything else is an error that names its line: the file is never guessed at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/core/ComBase.h"

namespace engine {

constexpr int kProfileFileVersion = 1;

// Parses text; on failure *error says why (with the line) and out is untouched.
HRESULT ParseProfiles(const std::string& text, std::vector<ComPtr<IMediaPropertyBag5>>* out, std::u16string* error);
// Writes the profiles as text; fails for a value it cannot store (an object
// that is neither a bag nor an audio format, or bags nested too deep).
HRESULT FormatProfiles(const std::vector<ComPtr<IMediaPropertyBag5>>& profiles, std::string* text,
                       std::u16string* error);

// File access: whole-file read, and a write that replaces the old file only
// once the new one is complete on disk.
HRESULT ReadTextFile(const std::u16string& path, std::string* text, std::u16string* error);
HRESULT ReplaceTextFile(const std::u16string& path, const std::string& text, std::u16string* error);

}  // namespace engine
