// The media engine's COM interface, shared by the program and the engine
// (sondrelengine.dll). Every class is created in-process by its CLSID with
// CoCreateInstance; every method returns an HRESULT, negative on failure.
//
// Conventions that hold for every interface below:
// - Names and other string inputs are read up to their terminating zero, so a
//   BSTR or a plain u"..." literal both serve. String outputs are BSTRs that
//   the caller frees with SysFreeString.
// - Times and durations are doubles in milliseconds.
// - Out interface pointers are AddRef'ed; the caller releases them.
// - Integer properties are 64-bit inside the bag; 32-bit callers lose nothing.
//
// How the program drives it:
// - Application start: a bag with "Operation" 200 (the configuration bag);
//   a second bag, SetOptions(-1), then "AppCommandLine", "ExePath",
//   "TempPath" strings (the global configuration); the auxiliary object's
//   Initialize(global configuration).
// - Recording: capture source Command(0) through its IMediaFile5 with
//   {"Operation"=1, "OperationMode"=3}; IMediaSource5::GetDuration(
//   MEDIA_STREAM_ANY) gives the value passed to the job's SetInput. The job
//   calls are listed at IMediaConversionJob5. The driver reads the job back,
//   sends MEDIAJOB_CMD_* to job and source, makes one media file per output
//   file (SetContainerType, SetStreamSettings(job profile), Command(0, write
//   bag), WriteSample..., Command(3)) and reads the source with ReadAudio.
// - File list: a media file opened with {"Operation"=1, "OperationMode"=1,
//   "FileName"}; container type, stream counts, SelectStream, GetDuration,
//   GetStreamFormat, GetTags; Command(3) closes it.
// - Profiles: one profile collection per format; Load/Save with full paths.
//   Load failing with MEDIA_E_BAD_PROFILE_FILE means the user's file is
//   damaged: keep it (never Save over it) and show GetLastErrorText.
//
// Owners: E1 writes this header, the COM plumbing, property bags, markers,
// audio formats, profile collections, configuration, auxiliary object and the
// media file's read side. E2 writes the workings of the media file's write
// side, the conversion job, capture source, sample converter, sample buffer
// and player (their COM classes live in src/engine/objects/ and say so).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <mmreg.h>

// ---------------------------------------------------------------------------
// Class and interface identifiers.

#define SONDREL_ENGINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

// Property bag
SONDREL_ENGINE_GUID(CLSID_MediaPropertyBag5, 0x2363E3B2, 0xBBE5, 0x4670, 0xAB, 0xA9, 0x6C, 0x89, 0x07, 0x9D, 0xF0,
                    0x09);
SONDREL_ENGINE_GUID(IID_IMediaPropertyBag5, 0xFEB371B6, 0x4D5C, 0x493F, 0xB7, 0x8D, 0xBB, 0x59, 0xCE, 0x1F, 0x8C, 0xE4);
// Media file
SONDREL_ENGINE_GUID(CLSID_MediaFile5, 0xA53AD242, 0x5EB2, 0x47E8, 0x92, 0x86, 0x88, 0x5C, 0x11, 0x67, 0xE2, 0x04);
SONDREL_ENGINE_GUID(IID_IMediaFile5, 0x62AC1BD0, 0x8E78, 0x4663, 0x85, 0x14, 0x4D, 0xE9, 0x2A, 0xEC, 0x92, 0x68);
// Conversion job
SONDREL_ENGINE_GUID(CLSID_MediaConversionJob5, 0x177C39CA, 0x94FF, 0x4859, 0xBA, 0x90, 0x8A, 0x1F, 0x58, 0xE9, 0xA1,
                    0x53);
SONDREL_ENGINE_GUID(IID_IMediaConversionJob5, 0x166C81F4, 0x8B0C, 0x4FCF, 0x9B, 0x2B, 0x52, 0x5E, 0xD6, 0x81, 0x94,
                    0xB4);
// Marker list
SONDREL_ENGINE_GUID(CLSID_MediaMarkerList5, 0xD23EBD5D, 0x91B9, 0x43D7, 0x88, 0xE1, 0x10, 0x8B, 0xE9, 0x7D, 0xA1, 0x51);
SONDREL_ENGINE_GUID(IID_IMediaMarkerList5, 0x59CC1804, 0x0091, 0x4E78, 0xB4, 0x67, 0x3C, 0xF6, 0x2A, 0x6D, 0x26, 0x9B);
// Audio format (generic)
SONDREL_ENGINE_GUID(CLSID_MediaAudioFormat5, 0x6E970212, 0x5604, 0x4E4D, 0x90, 0x3C, 0x91, 0x38, 0x3C, 0x12, 0xA8,
                    0xB9);
SONDREL_ENGINE_GUID(IID_IMediaAudioFormat5, 0x34957411, 0x3552, 0x4BC3, 0x8A, 0xAF, 0x8C, 0x12, 0xCD, 0x01, 0x7E, 0x65);
// MP3 settings
SONDREL_ENGINE_GUID(CLSID_MediaMp3Settings5, 0xC0584457, 0x81D0, 0x4B53, 0xBA, 0x82, 0x02, 0xB7, 0x37, 0x95, 0xEA,
                    0xED);
SONDREL_ENGINE_GUID(IID_IMediaMp3Settings5, 0xC0BC635F, 0x7009, 0x4F80, 0xB6, 0xD7, 0x92, 0x2A, 0xB3, 0xD5, 0xFE, 0x55);
// AAC settings
SONDREL_ENGINE_GUID(CLSID_MediaAacSettings5, 0x0A78AEAD, 0x4A0B, 0x46B8, 0x8A, 0xBA, 0x2E, 0xE9, 0x8E, 0x7B, 0x97,
                    0x67);
SONDREL_ENGINE_GUID(IID_IMediaAacSettings5, 0x05525292, 0xAD4B, 0x4760, 0xB5, 0xF9, 0xE0, 0xC9, 0x65, 0xCC, 0xCF, 0xBF);
// Profile collection
SONDREL_ENGINE_GUID(CLSID_MediaProfileCollection5, 0xA344D606, 0x303B, 0x462C, 0xAA, 0x3D, 0xBE, 0x49, 0xB6, 0x4E, 0x3C,
                    0xAB);
SONDREL_ENGINE_GUID(IID_IMediaProfileCollection5, 0xE0E666A9, 0x5C05, 0x4081, 0x9B, 0x27, 0x57, 0xA1, 0xC3, 0x4C, 0x79,
                    0x1E);
// Sample converter
SONDREL_ENGINE_GUID(CLSID_MediaSampleConverter5, 0x0ACD67AB, 0x8436, 0x4605, 0x8C, 0x1B, 0xC5, 0x1B, 0x03, 0x5F, 0x07,
                    0x30);
SONDREL_ENGINE_GUID(IID_IMediaSampleConverter5, 0xAE4C2DDC, 0x1F4E, 0x4E5E, 0x81, 0x14, 0xD8, 0x93, 0x23, 0x17, 0x1C,
                    0x16);
// Sample buffer
SONDREL_ENGINE_GUID(CLSID_MediaSampleBuffer5, 0x4275D5BA, 0xC230, 0x4EBE, 0x8E, 0x44, 0xCA, 0x4C, 0x9C, 0x47, 0xB1,
                    0x7D);
SONDREL_ENGINE_GUID(IID_IMediaSample5, 0xB09503D4, 0xFBED, 0x4788, 0xB3, 0xAF, 0x07, 0x94, 0xA7, 0x8B, 0xB3, 0xAF);
// Capture source
SONDREL_ENGINE_GUID(CLSID_MediaCaptureSource5, 0x55D08311, 0x7C7B, 0x438C, 0x8B, 0x93, 0x7B, 0x6B, 0x08, 0x46, 0x8B,
                    0x44);
SONDREL_ENGINE_GUID(IID_IMediaCaptureSource5, 0xB9E18087, 0x0F97, 0x446C, 0x84, 0xF7, 0x99, 0xC5, 0xD9, 0xB6, 0xC2,
                    0x75);
// Player
SONDREL_ENGINE_GUID(CLSID_MediaPlayer5, 0xB71A5B45, 0x14F3, 0x4E21, 0x92, 0xD8, 0x26, 0x1A, 0x46, 0xE2, 0x37, 0xB2);
SONDREL_ENGINE_GUID(IID_IMediaPlayer5, 0x67006D58, 0xE0F0, 0x4CD9, 0xB1, 0x43, 0x26, 0xFC, 0xFE, 0x10, 0xA8, 0x27);
// Auxiliary engine object
SONDREL_ENGINE_GUID(CLSID_MediaEngineAux5, 0xCAFF7B6F, 0xE64A, 0x4F94, 0xBA, 0x39, 0x3A, 0xC0, 0x27, 0x83, 0x4D, 0x8E);
SONDREL_ENGINE_GUID(IID_IMediaEngineAux5, 0x3413EEC7, 0x3124, 0x451D, 0x8A, 0x4D, 0x46, 0x25, 0xD2, 0xA6, 0xA6, 0x93);

// Interfaces without a class of their own.
SONDREL_ENGINE_GUID(IID_IMediaSource5, 0x6EAE28E0, 0x424E, 0x4642, 0xA4, 0x08, 0xBC, 0x11, 0x8D, 0xE3, 0x5F, 0x45);
SONDREL_ENGINE_GUID(IID_IMediaJobList5, 0xA26EB066, 0x269A, 0x4D22, 0x87, 0x12, 0x3A, 0x2E, 0x22, 0x71, 0xD0, 0x66);
SONDREL_ENGINE_GUID(IID_IMediaJobItem5, 0x668A27FE, 0xF2DE, 0x4280, 0x88, 0x0F, 0x33, 0x7F, 0xD9, 0x15, 0xD1, 0x44);
SONDREL_ENGINE_GUID(IID_IMediaVideoFormat5, 0x5B262933, 0xCE9B, 0x4623, 0x88, 0x49, 0x52, 0x8E, 0xDB, 0xCB, 0x3F, 0xD6);
SONDREL_ENGINE_GUID(IID_IMediaVideoFrame5, 0x0701F914, 0xE1AC, 0x4866, 0xB8, 0xF7, 0x0B, 0xF7, 0xA4, 0x6B, 0xB8, 0xF6);
SONDREL_ENGINE_GUID(IID_IMediaContainerInfo5, 0xD2BC8C44, 0xD641, 0x4E4B, 0xAC, 0x70, 0x58, 0x27, 0xBC, 0x23, 0x17,
                    0x56);
SONDREL_ENGINE_GUID(IID_IMediaContainerInfoA5, 0xB065BB81, 0x5427, 0x45A8, 0xA5, 0x94, 0x1A, 0x25, 0x02, 0x39, 0x52,
                    0xBF);
SONDREL_ENGINE_GUID(IID_IMediaContainerInfoB5, 0x65BD361A, 0xDE00, 0x4022, 0x8B, 0x6A, 0x2F, 0xAF, 0x3A, 0x9B, 0x89,
                    0xC4);
SONDREL_ENGINE_GUID(IID_IMediaReadWait5, 0x359CBA88, 0x9E7C, 0x4D05, 0xB3, 0x7A, 0x2C, 0xEA, 0xFA, 0xB3, 0x12, 0xF9);
SONDREL_ENGINE_GUID(IID_IMediaWaitSink5, 0xF376EAF6, 0x16AC, 0x48CB, 0xB9, 0x6D, 0xF2, 0xD6, 0xA2, 0xEA, 0x73, 0x8F);

// Event dispinterfaces (the sink implements IDispatch and answers these IIDs).
SONDREL_ENGINE_GUID(DIID__IMediaFile5Events, 0xAAA9A98B, 0x295F, 0x49BF, 0x8E, 0x8C, 0x43, 0xC0, 0x8C, 0x79, 0xB9,
                    0xDB);
SONDREL_ENGINE_GUID(DIID__IMediaPlayer5Events, 0x695F7487, 0xA5A0, 0x4D4C, 0xA1, 0x14, 0xB7, 0x25, 0x45, 0x50, 0xB7,
                    0x39);

// ---------------------------------------------------------------------------
// Chosen values. These are the engine's numbers; keep them.

// Property names (the program passes them as BSTRs).
#define MEDIA_PROP_OPERATION u"Operation"                     // integer, MEDIA_OPERATION_*
#define MEDIA_PROP_OPERATION_MODE u"OperationMode"            // integer, MEDIA_MODE_*
#define MEDIA_PROP_FILE_NAME u"FileName"                      // string, a Windows path
#define MEDIA_PROP_GLOBAL_CONFIG u"GlobalConfig"              // object, the global engine configuration bag
#define MEDIA_PROP_MARKER_NAME u"MarkerName"                  // string, in a marker's bag
#define MEDIA_PROP_TITLE u"Title"                             // string tag
#define MEDIA_PROP_ARTIST u"Artist"                           // string tag
#define MEDIA_PROP_PROTECTED u"Protected"                     // integer tag, 0 or 1 (always 0 here)
#define MEDIA_PROP_LANGUAGE_NAME u"LanguageName"              // string, in an audio stream bag
#define MEDIA_PROP_CONTAINER_TYPE u"ContainerType"            // integer, MEDIA_CONTAINER_* or -1 (any)
#define MEDIA_PROP_PROFILE_NAME u"ProfileName"                // string
#define MEDIA_PROP_PROFILE_DESCRIPTION u"ProfileDescription"  // string
#define MEDIA_PROP_PROFILE_COMMENT u"ProfileComment"          // string
#define MEDIA_PROP_AUDIO_STREAM_INFO u"AudioStreamInfo"       // list of stream bags
#define MEDIA_PROP_VIDEO_STREAM_INFO u"VideoStreamInfo"       // list of stream bags
#define MEDIA_PROP_AV_FORMAT u"AVFormat"  // object in a stream bag: IMediaAudioFormat5 or IMediaVideoFormat5
#define MEDIA_PROP_APP_COMMAND_LINE u"AppCommandLine"  // string, global configuration
#define MEDIA_PROP_EXE_PATH u"ExePath"                 // string, global configuration
#define MEDIA_PROP_TEMP_PATH u"TempPath"               // string, global configuration (ends with a separator)
// Further tags the read side fills when the file carries them.
#define MEDIA_PROP_ALBUM u"Album"
#define MEDIA_PROP_GENRE u"Genre"
#define MEDIA_PROP_DATE u"Date"
#define MEDIA_PROP_COMMENT u"Comment"
#define MEDIA_PROP_COPYRIGHT u"Copyright"
#define MEDIA_PROP_TRACK u"Track"
// Job bag: number of encoding passes (integer, 1 when absent).
#define MEDIA_PROP_PASS_COUNT u"PassCount"

// "Operation" values.
enum MediaOperation : LONG {
  MEDIA_OPERATION_READ = 1,            // open a file (or the capture device) for reading
  MEDIA_OPERATION_WRITE = 2,           // create a file and write it
  MEDIA_OPERATION_GLOBAL_CONFIG = 200  // the application's configuration bag, handed to jobs
};

// "OperationMode" values.
enum MediaOperationMode : LONG {
  MEDIA_MODE_FILE = 1,   // a file named by "FileName"
  MEDIA_MODE_DEVICE = 3  // the capture source's selected device (capture source only)
};

// Stream types taken by the stream methods.
enum MediaStreamType : LONG {
  MEDIA_STREAM_ANY = -1,  // the whole source (capture source: its open-ended duration)
  MEDIA_STREAM_VIDEO = 0,
  MEDIA_STREAM_AUDIO = 1
};

// Duration a live source reports (ms): far beyond any recording.
#define MEDIA_LIVE_SOURCE_DURATION_MS 1.0e12

// Container types (the numbers the format table carries, and what probing reports).
enum MediaContainerType : LONG {
  MEDIA_CONTAINER_UNKNOWN = 0,
  MEDIA_CONTAINER_WAV = 1,
  MEDIA_CONTAINER_MP3 = 2,
  MEDIA_CONTAINER_AIFF = 3,
  MEDIA_CONTAINER_AMR = 7,
  MEDIA_CONTAINER_AAC_ADTS = 8,
  MEDIA_CONTAINER_AU = 11,
  MEDIA_CONTAINER_OGG = 101,
  MEDIA_CONTAINER_MATROSKA = 112,   // read only
  MEDIA_CONTAINER_AVI = 120,        // read only
  MEDIA_CONTAINER_MPEG = 121,       // read only (program and transport streams)
  MEDIA_CONTAINER_REALMEDIA = 122,  // RealAudio 1.0 only
  MEDIA_CONTAINER_MP4 = 125,        // MP4 / M4A / 3GP
  MEDIA_CONTAINER_MOV = 126,        // read only (QuickTime brand)
  MEDIA_CONTAINER_ASF = 130,        // WMA
  MEDIA_CONTAINER_FLAC = 131,       // read only
  MEDIA_CONTAINER_SWF = 140         // recognised by the program itself
};

// Codec identifiers of audio formats (also the profile files' values).
enum MediaCodecId : LONG {
  MEDIA_CODEC_NONE = 0,
  MEDIA_CODEC_PCM = 0x10000,     // signed 16-bit little-endian
  MEDIA_CODEC_PCM_BE = 0x10001,  // signed 16-bit big-endian (AIFF, AU)
  MEDIA_CODEC_MULAW = 0x10006,
  MEDIA_CODEC_ALAW = 0x10007,
  MEDIA_CODEC_PCM24 = 0x1000C,
  MEDIA_CODEC_IMA_ADPCM_QT = 0x11000,
  MEDIA_CODEC_IMA_ADPCM = 0x11001,
  MEDIA_CODEC_MS_ADPCM = 0x11006,
  MEDIA_CODEC_G726 = 0x1100B,
  MEDIA_CODEC_IMA_ADPCM_OTHER = 0x11013,
  MEDIA_CODEC_AMR_NB = 0x12000,
  MEDIA_CODEC_AMR_WB = 0x12001,
  MEDIA_CODEC_MP2 = 0x15000,
  MEDIA_CODEC_MP3 = 0x15001,
  MEDIA_CODEC_AAC = 0x15002,
  MEDIA_CODEC_AC3 = 0x15004,
  MEDIA_CODEC_VORBIS = 0x15006,
  MEDIA_CODEC_GSM = 0x15015,
  MEDIA_CODEC_REALAUDIO = 0x15017,
  MEDIA_CODEC_GSM_MS = 0x15021,
  MEDIA_CODEC_REALAUDIO_SIPR = 0x1502D,
  MEDIA_CODEC_OPUS = 0x15040,
  MEDIA_CODEC_FLAC = 0x15041,
  MEDIA_CODEC_WMA1 = 0x16001,
  MEDIA_CODEC_WMA2 = 0x16002,
  MEDIA_CODEC_REALAUDIO_LOSSLESS = 0x30002
};

// Video codec identifiers that probing reports: these two by name, any other
// as MEDIA_VIDEO_CODEC_OTHER_BASE plus FFmpeg's own codec number.
enum MediaVideoCodecId : LONG {
  MEDIA_VIDEO_CODEC_MPEG4 = 13,
  MEDIA_VIDEO_CODEC_H264 = 28,
  MEDIA_VIDEO_CODEC_OTHER_BASE = 0x100000
};

// IMediaAudioFormat5::GetKind.
enum MediaAudioFormatKind : LONG {
  MEDIA_FORMAT_KIND_GENERIC = 100,  // CLSID_MediaAudioFormat5 (and formats listed by a media file)
  MEDIA_FORMAT_KIND_MP3 = 101,      // CLSID_MediaMp3Settings5
  MEDIA_FORMAT_KIND_AAC = 102       // CLSID_MediaAacSettings5
};

// Flags of the bag setters. Both are kept with the value and saved with it;
// neither changes how the value is stored (the object itself is held, never a
// copy, whatever the flag).
enum MediaPropertyFlags : LONG {
  MEDIA_PROPFLAG_NONE = 0,
  MEDIA_PROPFLAG_PROFILE = 1,  // part of a profile's own settings
  MEDIA_PROPFLAG_SUPPLIED = 2  // an object the engine handed out (Windows Media formats)
};

// Element index of the bag setters that appends to the list.
#define MEDIA_ELEMENT_APPEND (-1)

// IMediaPropertyBag5::GetValueType.
enum MediaValueType : LONG {
  MEDIA_VALUE_NONE = 0,
  MEDIA_VALUE_INTEGER = 1,
  MEDIA_VALUE_STRING = 2,
  MEDIA_VALUE_OBJECT = 3
};

// IMediaPropertyBag5::SetOptions (the first own method). The application calls
// it with -1 on its global configuration: every option on.
enum MediaBagOptions : LONG {
  MEDIA_BAGOPT_GLOBAL = 1  // the bag is the process-wide engine configuration
};

// IMediaFile5::Command.
enum MediaFileCommand : LONG {
  MEDIAFILE_CMD_OPEN = 0,   // with an operation bag: read (1) or write (2)
  MEDIAFILE_CMD_FINISH = 3  // finish writing / close the file; also closes a file opened for reading
};

// IMediaConversionJob5::Command and IMediaSource5::Command.
enum MediaJobCommand : LONG {
  MEDIAJOB_CMD_PREPARE = 200,      // job: check settings and inputs before a run (S_OK when ready)
  MEDIAJOB_CMD_BEGIN_ITEM = 2000,  // source: start delivering from now (capture drops what came before)
  MEDIAJOB_CMD_END_ITEM = 2001     // source: stop delivering; the item is done
};

// IMediaConversionJob5::SetSplitFlags bits.
enum MediaSplitFlags : LONG {
  MEDIA_SPLIT_NONE = 0,
  MEDIA_SPLIT_BY_SIZE = 2,     // bit 1
  MEDIA_SPLIT_AT_MARKERS = 4,  // bit 2
  MEDIA_SPLIT_BY_DURATION = 8  // bit 3 (limit from SetDurationLimit)
};

// IMediaSampleConverter5::Command.
enum MediaConverterCommand : LONG {
  MEDIACONV_CMD_CONFIGURE = 16,  // argument: the target format
  MEDIACONV_CMD_CONVERT = 201    // argument: the sample; result: the converted sample
};

// Video pixel formats named by the conversion driver.
#define MEDIA_PIXEL_FORMAT_YUV420P 0
#define MEDIA_PIXEL_FORMAT_ENCODER 0x8000001E

// Video rate control (IMediaVideoFormat5::GetRateControl).
enum MediaRateControl : LONG { MEDIA_RATE_CONSTANT = 1, MEDIA_RATE_QUALITY = 2, MEDIA_RATE_TARGET_SIZE = 3 };

// IMediaPlayer5::GetState.
enum MediaPlayerState : LONG { MEDIAPLAYER_STOPPED = 0, MEDIAPLAYER_PLAYING = 1, MEDIAPLAYER_PAUSED = 2 };

// IMediaPlayer5::Run modes.
enum MediaPlayerRunMode : LONG {
  MEDIAPLAYER_RUN_PLAY = 0,     // play from the current position
  MEDIAPLAYER_RUN_PREPARE = -1  // ready the file without sound, so that SetPosition can seek
};

// IMediaMp3Settings5 rate modes.
enum MediaMp3RateMode : LONG {
  MEDIA_MP3_CBR = 0,  // constant bitrate (default)
  MEDIA_MP3_VBR = 1   // variable bitrate around the set bitrate
};

// IMediaAacSettings5 stream formats (the "AAC option").
enum MediaAacStreamFormat : LONG {
  MEDIA_AAC_RAW = 1,  // plain access units, for MP4/M4A (default)
  MEDIA_AAC_ADTS = 2  // ADTS frame headers, for a bare .aac file
};

// Event dispids.
// _IMediaFile5Events:   1 = Progress(LONG percent, VARIANT_BOOL* cancel), fired
//                       while a long operation (opening, finishing) runs.
// _IMediaPlayer5Events: 1 = Position(double ms), about every 250 ms while playing;
//                       3 = Stopped(), the file played to its end or failed.
// Events are fired on the thread that created the object.
#define MEDIAFILE_DISPID_PROGRESS 1
#define MEDIAPLAYER_DISPID_POSITION 1
#define MEDIAPLAYER_DISPID_STOPPED 3

// Engine HRESULTs.
#define MEDIA_E_BAD_PROFILE_FILE MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0301)  // corrupt .prop
#define MEDIA_E_UNSUPPORTED_CONTAINER MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0302)
#define MEDIA_E_UNSUPPORTED_FORMAT MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0303)
#define MEDIA_E_NOT_OPEN MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0304)
#define MEDIA_E_ALREADY_OPEN MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0305)
#define MEDIA_E_DEVICE_LOST MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0306)
#define MEDIA_E_DISK_FULL HRESULT_FROM_WIN32(ERROR_DISK_FULL)
#define MEDIA_E_PROBE_FAILED MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0307)
// Returned by the conversion driver, not by the engine.
#define MEDIA_E_NO_JOB ((HRESULT)0x80040308)
// Pause, or Start after it: the sound server did not tell in time where the
// stream stands, so the moment was taken where the sound it has delivered
// ends (what it still held back is left out at a Pause, and goes in at a Start).
#define MEDIA_S_MOMENT_AT_DELIVERED MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_ITF, 0x0309)

// ---------------------------------------------------------------------------
// Interfaces. Method order is the vtable order; keep it.

struct IMediaPropertyBag5;
struct IMediaAudioFormat5;
struct IMediaSample5;

// Property bag: named properties, each a list of typed elements (integer,
// string or object). A setter with element index 0 on a missing name creates
// it; index MEDIA_ELEMENT_APPEND appends; an index equal to the count appends;
// beyond the count is E_INVALIDARG. Getters give E_INVALIDARG for a missing
// name or index, DISP_E_TYPEMISMATCH for another type. Thread-safe.
struct IMediaPropertyBag5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetOptions(LONG options) = 0;  // MEDIA_BAGOPT_*
  virtual HRESULT STDMETHODCALLTYPE GetOptions(LONG* options) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInteger(BSTR name, LONG element, LONGLONG value, LONG flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetString(BSTR name, LONG element, BSTR value, LONG flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetObject(BSTR name, LONG element, IUnknown* value, LONG flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInteger(BSTR name, LONG element, LONGLONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetString(BSTR name, LONG element, BSTR* value) = 0;
  // The object as the asked interface (E_NOINTERFACE when it has none).
  virtual HRESULT STDMETHODCALLTYPE GetObject(BSTR name, LONG element, REFIID riid, void** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(BSTR name, LONG* count) = 0;                   // 0 for a missing name
  virtual HRESULT STDMETHODCALLTYPE GetValueType(BSTR name, LONG element, LONG* type) = 0;  // MEDIA_VALUE_*
  virtual HRESULT STDMETHODCALLTYPE GetFlags(BSTR name, LONG element, LONG* flags) = 0;
  // Removes one element, or the whole property with element -1. S_FALSE when absent.
  virtual HRESULT STDMETHODCALLTYPE Remove(BSTR name, LONG element) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
  // Names in the order they were first set.
  virtual HRESULT STDMETHODCALLTYPE GetPropertyCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyName(LONG index, BSTR* name) = 0;
};

// Audio format: a codec with its settings. Codec settings classes (MP3, AAC)
// derive from it, so every profile's "AVFormat" answers this interface.
// Defaults: generic PCM 44100 Hz stereo 16-bit, bitrate 0; MP3 and AAC
// 44100 Hz stereo 128000 bit/s.
struct IMediaAudioFormat5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetKind(LONG* kind) = 0;  // MEDIA_FORMAT_KIND_*
  virtual HRESULT STDMETHODCALLTYPE GetCodecId(LONG* codec) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCodecId(LONG codec) = 0;  // E_INVALIDARG on MP3/AAC settings for another codec
  virtual HRESULT STDMETHODCALLTYPE GetSampleRate(LONG* hz) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSampleRate(LONG hz) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannels(LONG* channels) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannels(LONG channels) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBitrate(LONG* bitsPerSecond) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBitrate(LONG bitsPerSecond) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBitsPerSample(LONG* bits) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBitsPerSample(LONG bits) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCodecName(BSTR* name) = 0;
  // A one-line description such as "128 kbps, 44100 Hz, Stereo".
  virtual HRESULT STDMETHODCALLTYPE GetDescription(BSTR* text) = 0;
  // A WAVEFORMATEX (18 bytes plus cbSize) allocated with CoTaskMemAlloc.
  virtual HRESULT STDMETHODCALLTYPE GetWaveFormat(WAVEFORMATEX** format) = 0;
  // Takes tag (PCM 1, a-Law 6, mu-Law 7 ...), rate, channels and bits from a block.
  virtual HRESULT STDMETHODCALLTYPE SetWaveFormat(const WAVEFORMATEX* format) = 0;
  // A new, independent format object with the same values (the "object-
  // returning operation" of a listed Windows Media format).
  virtual HRESULT STDMETHODCALLTYPE Clone(IMediaAudioFormat5** copy) = 0;
};

struct IMediaMp3Settings5 : public IMediaAudioFormat5 {
  virtual HRESULT STDMETHODCALLTYPE GetRateMode(LONG* mode) = 0;  // MEDIA_MP3_*
  virtual HRESULT STDMETHODCALLTYPE SetRateMode(LONG mode) = 0;
};

struct IMediaAacSettings5 : public IMediaAudioFormat5 {
  virtual HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG* format) = 0;  // MEDIA_AAC_*
  virtual HRESULT STDMETHODCALLTYPE SetStreamFormat(LONG format) = 0;   // the "AAC option"
};

// Video format of a probed stream (the engine writes no video).
struct IMediaVideoFormat5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCodecId(LONG* codec) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCodecName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBitrate(LONGLONG* bitsPerSecond) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBitrate(LONGLONG bitsPerSecond) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetWidth(LONG* width) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetHeight(LONG* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFrameRate(double* fps) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAspect(LONG* numerator, LONG* denominator) = 0;  // 0:0 when unknown
  virtual HRESULT STDMETHODCALLTYPE GetPixelFormat(LONG* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPixelFormat(LONG format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRateControl(LONG* mode, LONG* targetKilobytes) = 0;  // MEDIA_RATE_*
  virtual HRESULT STDMETHODCALLTYPE GetOutputFormat(IMediaVideoFormat5** format) = 0;
};

// A video frame's planes (a sample that carries video answers this too).
struct IMediaVideoFrame5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetPlaneCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPlane(LONG index, BYTE** data, LONG* lineSize) = 0;
};

// Sample buffer: a block of audio (interleaved PCM in the sample's format) or
// a video frame, with its times. CLSID_MediaSampleBuffer5 makes an empty one.
struct IMediaSample5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetStreamType(LONG* type) = 0;  // MEDIA_STREAM_*
  virtual HRESULT STDMETHODCALLTYPE SetFormat(IMediaAudioFormat5* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFormat(IMediaAudioFormat5** format) = 0;
  // Makes room for `bytes` bytes, zeroed (silence for PCM); length = bytes.
  virtual HRESULT STDMETHODCALLTYPE Allocate(LONG bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBuffer(BYTE** data, LONG* capacity) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLength(LONG* bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLength(LONG bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTimes(double* start, double* end) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTimes(double start, double end) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDuration(double* ms) = 0;
};

// Sample converter: configure with a target format, then convert samples.
struct IMediaSampleConverter5 : public IUnknown {
  // MEDIACONV_CMD_CONFIGURE: argument the format, result unused (may be null).
  // MEDIACONV_CMD_CONVERT: argument the sample, *result the converted sample.
  virtual HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument, IUnknown** result) = 0;
};

// Media file: reads (probes) an existing file, or writes a new one.
// Reading: Command(MEDIAFILE_CMD_OPEN, bag{"Operation"=1, "OperationMode"=1,
// "FileName"}); then container type, streams, durations, formats and tags.
// Writing: SetContainerType, SetStreamSettings(profile), optionally SetTags;
// Command(MEDIAFILE_CMD_OPEN, bag{"Operation"=2, "OperationMode"=1, "FileName",
// "GlobalConfig"}); WriteSample...; Command(MEDIAFILE_CMD_FINISH, null).
// While writing, the stream methods report the written streams and durations.
// The object also answers IMediaContainerInfo5 and is a connection point
// container for _IMediaFile5Events.
struct IMediaFile5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetContainerType(LONG type) = 0;  // MEDIA_E_UNSUPPORTED_CONTAINER
  virtual HRESULT STDMETHODCALLTYPE GetContainerType(LONG* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetStreamSettings(IMediaPropertyBag5* profile) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5* tags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** tags) = 0;  // S_FALSE and null when none
  virtual HRESULT STDMETHODCALLTYPE Command(LONG command, IMediaPropertyBag5* operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFileName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(LONG streamType, LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectStream(LONG streamType, LONG index) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSelectedStream(LONG streamType, LONG* index) = 0;
  // Duration of the selected stream of that type (0 without one); with
  // MEDIA_STREAM_ANY, the longest stream.
  virtual HRESULT STDMETHODCALLTYPE GetDuration(LONG streamType, double* ms) = 0;
  // Format of the selected stream: IMediaAudioFormat5 for audio,
  // IMediaVideoFormat5 for video.
  virtual HRESULT STDMETHODCALLTYPE GetStreamFormat(LONG streamType, REFIID riid, void** format) = 0;
  // Properties of the selected stream ("LanguageName" when the file names it).
  virtual HRESULT STDMETHODCALLTYPE GetStreamProperties(LONG streamType, IMediaPropertyBag5** properties) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsSeekable(VARIANT_BOOL* seekable) = 0;
  virtual HRESULT STDMETHODCALLTYPE WriteSample(IMediaSample5* sample) = 0;
  // A decoded video frame at a time (preview); E_NOTIMPL where there is none.
  virtual HRESULT STDMETHODCALLTYPE ReadVideoFrame(double ms, IMediaSample5** frame) = 0;
  // Codecs this container type can write, each with its listed formats
  // (used for Windows Media: SetContainerType(130) first).
  virtual HRESULT STDMETHODCALLTYPE GetCodecCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCodecFormatCount(LONG codec, LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCodecFormat(LONG codec, LONG format, IMediaAudioFormat5** value) = 0;
};

// Container-specific information of a media file (E_NOINTERFACE for all three
// interfaces on the containers this engine reads; values 1 and 0).
struct IMediaContainerInfo5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetContainerInterface(REFIID riid, void** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainerValues(LONG* first, LONG* second) = 0;
};

// Called on the reading thread while a read waits for sound, so that a
// reader on a window thread keeps its windows answering. A failure it
// returns ends the read with that failure; S_FALSE ends it with the sound it
// has (S_FALSE from ReadAudio when that is none), while the capture is
// paused once the sound captured before the pause has come.
struct IMediaWaitSink5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnWaiting() = 0;
};

// Answered by the capture source: the sink is called at least every
// intervalMs (10 to 1000) while ReadAudio waits, and between the pieces of a
// block that arrives bit by bit. A null sink removes it.
struct IMediaReadWait5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetWaitSink(IMediaWaitSink5* sink, LONG intervalMs) = 0;
};

// A source of a conversion job (the capture source answers it).
struct IMediaSource5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument) = 0;  // MEDIAJOB_CMD_*
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(LONG streamType, LONG* count) = 0;
  // Source duration; a live source gives MEDIA_LIVE_SOURCE_DURATION_MS.
  virtual HRESULT STDMETHODCALLTYPE GetDuration(LONG streamType, double* ms) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPosition(LONG streamType, double* ms) = 0;
  virtual HRESULT STDMETHODCALLTYPE Rewind(LONG streamType) = 0;
  // Reads `ms` milliseconds of audio (a live source blocks until they are
  // captured). S_FALSE with *sample null at the end of the stream; a failure
  // (device lost: MEDIA_E_DEVICE_LOST) is an error HRESULT, never a hang.
  virtual HRESULT STDMETHODCALLTYPE ReadAudio(double ms, IMediaSample5** sample) = 0;
  virtual HRESULT STDMETHODCALLTYPE ReadVideo(IMediaSample5** frame) = 0;  // S_FALSE at the end
  virtual HRESULT STDMETHODCALLTYPE GetAudioFormat(IMediaAudioFormat5** format) = 0;
};

// Marker list: times at which a job splits its output.
struct IMediaMarkerList5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetEnabled(VARIANT_BOOL enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEnabled(VARIANT_BOOL* enabled) = 0;
  // Appends a marker (disabled until EnableMarker); `length` is a span after
  // the time (0 for a point); `properties` may be null ("MarkerName" inside).
  virtual HRESULT STDMETHODCALLTYPE Add(double time, double length, IMediaPropertyBag5* properties, LONG* index) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnableMarker(LONG index, VARIANT_BOOL enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMarker(LONG index, double* time, double* length, VARIANT_BOOL* enabled) = 0;
  // The marker's bag (an empty one is made on first request).
  virtual HRESULT STDMETHODCALLTYPE GetProperties(LONG index, IMediaPropertyBag5** properties) = 0;
  virtual HRESULT STDMETHODCALLTYPE Remove(LONG index) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
};

// Conversion job: one item (a source and its output settings). The recording
// job calls, in order: SetContainerType, SetOption(0), SetProfile,
// SetSplitFlags, SetSplitSize, SetMarkerList, SetInput(0, capture source,
// duration), Setup(0, configuration bag, 0). The driver then reads it back.
struct IMediaConversionJob5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetContainerType(LONG type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContainerType(LONG* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOption(LONG value) = 0;  // kept; 0 = plain recording
  virtual HRESULT STDMETHODCALLTYPE GetOption(LONG* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetProfile(IMediaPropertyBag5* profile) = 0;
  // The job's property bag (the profile): "AudioStreamInfo", "VideoStreamInfo",
  // "PassCount". S_FALSE and null without one.
  virtual HRESULT STDMETHODCALLTYPE GetProfile(IMediaPropertyBag5** profile) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSplitFlags(LONG flags) = 0;  // MEDIA_SPLIT_*
  virtual HRESULT STDMETHODCALLTYPE GetSplitFlags(LONG* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSplitSize(LONG kilobytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSplitSize(LONG* kilobytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDurationLimit(double ms) = 0;  // for MEDIA_SPLIT_BY_DURATION
  virtual HRESULT STDMETHODCALLTYPE GetDurationLimit(double* ms) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMarkerList(IUnknown* markers) = 0;            // null: none
  virtual HRESULT STDMETHODCALLTYPE GetMarkerList(IMediaMarkerList5** markers) = 0;  // S_FALSE and null when none
  // Input `index` (0 here): a source object (answers IMediaSource5) and its
  // duration as the caller read it (the live duration for a capture source).
  virtual HRESULT STDMETHODCALLTYPE SetInput(LONG index, IUnknown* source, double duration) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSource(LONG index, REFIID riid, void** source) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetTags(IMediaPropertyBag5* tags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTags(IMediaPropertyBag5** tags) = 0;  // S_FALSE and null when none
  // Set-up with a mode (0), the application's configuration bag ("Operation"
  // 200) and a reserved value (0).
  virtual HRESULT STDMETHODCALLTYPE Setup(LONG mode, IMediaPropertyBag5* configuration, LONG reserved) = 0;
  virtual HRESULT STDMETHODCALLTYPE Command(LONG command, IUnknown* argument) = 0;  // MEDIAJOB_CMD_PREPARE
};

// A list of jobs, and an item that wraps a job (no class of this engine
// offers them; the driver asks for them first).
struct IMediaJobList5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItem(LONG index, LONG* id, IUnknown** item) = 0;
};
struct IMediaJobItem5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetJob(IMediaConversionJob5** job) = 0;
};

// Capture source: PulseAudio sources are the devices, their ports the inputs,
// the source volume 0..100 the volume. Also answers IMediaSource5 (the job's
// input) and IMediaFile5 (Command(0, {"Operation"=1, "OperationMode"=3})
// opens the selected device for reading).
struct IMediaCaptureSource5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE RefreshDevices() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeviceCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeviceName(LONG index, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectDevice(LONG index) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSelectedDevice(LONG* index) = 0;
  virtual HRESULT STDMETHODCALLTYPE RefreshInputs() = 0;  // of the selected device
  virtual HRESULT STDMETHODCALLTYPE GetInputCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputName(LONG index, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectInput(LONG index) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVolume(LONG percent) = 0;  // 0..100
  virtual HRESULT STDMETHODCALLTYPE GetVolume(LONG* percent) = 0;
  virtual HRESULT STDMETHODCALLTYPE Start(LONG mode) = 0;  // 0: capture (again, after Pause)
  // Sound captured up to the moment of Pause is still read; what is captured
  // from then until Start never reaches the recording. A read that has all
  // the sound from before the pause ends short; one with nothing waits.
  // Both return MEDIA_S_MOMENT_AT_DELIVERED when the server did not answer,
  // and MEDIA_E_DEVICE_LOST when the capture's stream has failed.
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
};

// Player: plays a media file object through the sound server. Connection
// point container for _IMediaPlayer5Events.
struct IMediaPlayer5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Open(IUnknown* mediaFile) = 0;  // answers IMediaFile5
  virtual HRESULT STDMETHODCALLTYPE GetState(LONG* state) = 0;      // MEDIAPLAYER_*
  virtual HRESULT STDMETHODCALLTYPE GetPosition(double* ms) = 0;
  virtual HRESULT STDMETHODCALLTYPE Run(LONG mode) = 0;  // MEDIAPLAYER_RUN_*
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPosition(double ms) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDuration(double* ms) = 0;
};

// Profile collection: an ordered list of profile bags, stored in ".prop"
// files. Load replaces the contents only on success; a missing file gives
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), a corrupt one MEDIA_E_BAD_PROFILE_FILE,
// and in both cases the file is left untouched; the reason is in
// GetLastErrorText and in the thread's IErrorInfo. Save writes a new file
// beside the old one and replaces it only when complete. Indexes: Insert at
// -1 or count appends; Move takes the destination first.
struct IMediaProfileCollection5 : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Load(BSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(BSTR path) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItem(LONG index, IMediaPropertyBag5** profile) = 0;  // the held bag
  virtual HRESULT STDMETHODCALLTYPE Replace(LONG index, IMediaPropertyBag5* profile) = 0;
  virtual HRESULT STDMETHODCALLTYPE Insert(LONG index, IMediaPropertyBag5* profile) = 0;
  virtual HRESULT STDMETHODCALLTYPE Remove(LONG index) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(LONG destination, LONG source) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLastErrorText(BSTR* text) = 0;  // S_FALSE and null after success
};

// Auxiliary engine object: the process-wide encoder configuration.
struct IMediaEngineAux5 : public IUnknown {
  // The global engine configuration ("AppCommandLine", "ExePath", "TempPath").
  virtual HRESULT STDMETHODCALLTYPE Initialize(IMediaPropertyBag5* globalConfig) = 0;
  // Encoding passes a video format needs (1 for every format this engine has).
  virtual HRESULT STDMETHODCALLTYPE GetPassCount(IUnknown* format, LONG* passes) = 0;
  // Tells the encoder of `format` its pass and statistics file.
  virtual HRESULT STDMETHODCALLTYPE SetPassInfo(IUnknown* format, LONG pass, BSTR statFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConfiguration(IMediaPropertyBag5** globalConfig) = 0;
};
