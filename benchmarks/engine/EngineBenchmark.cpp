// Encode throughput of every output format against the ffmpeg tool with the
// same codec settings on the same ten-minute input, and the CPU time that
// recording MP3 at 128 kbit/s from the sine source costs.
//
//   engine_benchmark [seconds-of-input] [seconds-of-recording] [rounds]
//
// Equal work: both encode the same raw PCM file's samples with the same
// codec, rate and muxer options into a file. Each round times every format
// once with the engine and once with ffmpeg, the order alternating from
// round to round; the table gives the medians over the rounds, and the range
// of the per-round ratios (ffmpeg time over engine time, above 1 when the
// engine is faster).
#include <windows.h>
#include <ole2.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/MediaEngine.h"
#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"
#include "engine/media/AudioFileWriter.h"

using namespace engine;

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Processor time of this process, user and system, in seconds: read from
// /proc, as the C library's getrusage answers wrongly in a Winelib program.
double ProcessCpu() {
  FILE* f = std::fopen("/proc/self/stat", "r");
  if (!f) return 0;
  char text[1024] = {};
  const size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  text[n] = 0;
  const char* close = std::strrchr(text, ')');
  unsigned long long utime = 0, stime = 0;
  // Fields after the command: state is the 3rd, utime the 14th, stime the 15th.
  if (!close || std::sscanf(close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
    return 0;
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Case {
  const char* name;
  media::EncoderSettings settings;
  const char* ffmpegArgs;
};

// Recording cost: the capture source and the media file, as a recording runs.
// Nonzero when the sine source is missing or the recording stops early.
int MeasureRecording(int recordSeconds, const std::string& dir) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ComPtr<IMediaCaptureSource5> capture;
  ComPtr<IMediaSource5> source;
  ComPtr<IMediaFile5> file;
  ComPtr<IMediaPropertyBag5> profile, stream, op;
  ComPtr<IMediaAudioFormat5> mp3;
  if (FAILED(CreateCaptureSource(IID_IMediaCaptureSource5, capture.OutVoid())) ||
      FAILED(CreateMediaFile(IID_IMediaFile5, file.OutVoid())) ||
      FAILED(CreatePropertyBag(IID_IMediaPropertyBag5, profile.OutVoid())) ||
      FAILED(CreatePropertyBag(IID_IMediaPropertyBag5, stream.OutVoid())) ||
      FAILED(CreatePropertyBag(IID_IMediaPropertyBag5, op.OutVoid())) ||
      FAILED(CreateMp3Settings(IID_IMediaAudioFormat5, mp3.OutVoid()))) {
    std::printf("cannot make the engine objects\n");
    return 1;
  }
  capture.As(&source, IID_IMediaSource5);
  capture->RefreshDevices();
  LONG count = 0;
  bool sine = false;
  capture->GetDeviceCount(&count);
  for (LONG i = 0; i < count; ++i) {
    BSTR n = nullptr;
    capture->GetDeviceName(i, &n);
    if (FromWide(n).find(u"Sine") != std::u16string::npos && SUCCEEDED(capture->SelectDevice(i))) sine = true;
    SysFreeString(n);
  }
  if (!sine) {
    std::printf("\nno sine capture source (start the build's sound server: scripts/environment.sh, start_sound)\n");
    return 1;
  }
  mp3->SetBitrate(128000);
  auto bstr = [](const char16_t* s) { return SysAllocString(reinterpret_cast<const OLECHAR*>(s)); };
  stream->SetObject(bstr(MEDIA_PROP_AV_FORMAT), 0, mp3.Get(), 1);
  profile->SetObject(bstr(MEDIA_PROP_AUDIO_STREAM_INFO), -1, stream.Get(), 1);
  std::u16string name = u"Z:";
  for (char ch : dir + "/rec.mp3") name.push_back(ch == '/' ? u'\\' : static_cast<char16_t>(ch));
  op->SetInteger(bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
  op->SetInteger(bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
  op->SetString(bstr(MEDIA_PROP_FILE_NAME), 0, bstr(name.c_str()), 0);
  file->SetContainerType(MEDIA_CONTAINER_MP3);
  file->SetStreamSettings(profile.Get());
  file->Command(MEDIAFILE_CMD_OPEN, op.Get());
  capture->Start(0);
  source->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr);
  double cpu0 = ProcessCpu(), wall0 = Now();
  int blocks = 0;
  for (; blocks < recordSeconds * 2; ++blocks) {
    ComPtr<IMediaSample5> sample;
    if (source->ReadAudio(500, sample.Out()) != S_OK) break;
    file->WriteSample(sample.Get());
  }
  double cpu = ProcessCpu() - cpu0, wall = Now() - wall0;
  file->Command(MEDIAFILE_CMD_FINISH, nullptr);
  capture->Stop();
  if (blocks < recordSeconds * 2) {
    std::printf("\nthe recording stopped after %d of %d half-second reads\n", blocks, recordSeconds * 2);
    return 1;
  }
  std::printf("\nrecording MP3 128 kbit/s from the sine source: %.1f s wall, %.3f s CPU = %.2f%% of one core\n", wall,
              cpu, 100.0 * cpu / wall);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int inputSeconds = argc > 1 ? std::atoi(argv[1]) : 600;
  const int recordSeconds = argc > 2 ? std::atoi(argv[2]) : 20;
  const int rounds = std::max(1, argc > 3 ? std::atoi(argv[3]) : 5);
  char tmpl[] = "/tmp/sondrel-bench-XXXXXX";
  std::string dir = mkdtemp(tmpl);
  std::string raw = dir + "/input.raw";
  std::string make = "ffmpeg -v error -y -f lavfi -i \"anoisesrc=d=" + std::to_string(inputSeconds) +
                     ":c=pink:r=44100:a=0.2\" -f lavfi -i \"sine=f=440:d=" + std::to_string(inputSeconds) +
                     ":r=44100\" -filter_complex amix=inputs=2 -ac 2 -f s16le '" + raw + "'";
  if (std::system(make.c_str()) != 0) {
    std::fprintf(stderr, "cannot make the input\n");
    return 1;
  }
  FILE* in = std::fopen(raw.c_str(), "rb");
  std::vector<uint8_t> pcm;
  {
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) pcm.insert(pcm.end(), buf, buf + n);
    std::fclose(in);
  }
  std::printf("input: %d s of 44100 Hz stereo (%zu bytes)\n\n", inputSeconds, pcm.size());

  using S = media::EncoderSettings;
  const Case cases[] = {
      {"MP3 128k", S{media::kContainerMp3, media::kCodecMp3, 44100, 2, 128000}, "-c:a libmp3lame -b:a 128k -f mp3"},
      {"WMA 128k", S{media::kContainerAsf, media::kCodecWma, 44100, 2, 128000}, "-c:a wmav2 -b:a 128k -f asf"},
      {"AAC 128k (ADTS)", S{media::kContainerAdts, media::kCodecAac, 44100, 2, 128000}, "-c:a aac -b:a 128k -f adts"},
      {"M4A AAC 128k", S{media::kContainerM4a, media::kCodecAac, 44100, 2, 128000},
       "-c:a aac -b:a 128k -f ipod -movflags +empty_moov+default_base_moof -frag_duration 1000000"},
      {"WAV PCM", S{media::kContainerWav, media::kCodecPcm, 44100, 2, 0}, "-c:a pcm_s16le -f wav"},
      {"AIFF PCM", S{media::kContainerAiff, media::kCodecPcmBigEndian, 44100, 2, 0}, "-c:a pcm_s16be -f aiff"},
      {"OGG Vorbis 128k", S{media::kContainerOgg, media::kCodecVorbis, 44100, 2, 128000},
       "-c:a libvorbis -b:a 128k -f ogg"},
      {"AMR-NB 12.2k", S{media::kContainerAmr, media::kCodecAmrNb, 8000, 1, 12200}, nullptr},
      {"AU PCM", S{media::kContainerAu, media::kCodecPcmBigEndian, 44100, 2, 0}, "-c:a pcm_s16be -f au"},
      {"WAV a-Law 8k mono", S{media::kContainerWav, media::kCodecALaw, 8000, 1, 0},
       "-c:a pcm_alaw -ar 8000 -ac 1 -f wav"},
      {"AU u-Law 8k mono", S{media::kContainerAu, media::kCodecMuLaw, 8000, 1, 0},
       "-c:a pcm_mulaw -ar 8000 -ac 1 -f au"},
  };
  const size_t chunk = 44100 * 4 / 2;  // 500 ms blocks, as recordings write them
  const size_t nCases = sizeof(cases) / sizeof(cases[0]);
  // Seconds per case and round; negative when the run failed.
  auto encodeWithEngine = [&](const Case& c) -> double {
    const std::string out = dir + "/out";
    const double t0 = Now();
    media::AudioFileWriter w;
    if (w.Open(out, c.settings, media::PcmFormat{44100, 2}) != media::WriteStatus::Ok) {
      std::printf("%-20s cannot open: %s\n", c.name, w.LastError().c_str());
      return -1;
    }
    for (size_t off = 0; off < pcm.size(); off += chunk) w.Write(pcm.data() + off, std::min(chunk, pcm.size() - off));
    w.Finish();
    return Now() - t0;
  };
  auto encodeWithFfmpeg = [&](const Case& c) -> double {
    if (!c.ffmpegArgs) return -1;
    const std::string cmd =
        "ffmpeg -v error -y -f s16le -ar 44100 -ac 2 -i '" + raw + "' " + c.ffmpegArgs + " '" + dir + "/ref'";
    const double f0 = Now();
    return std::system(cmd.c_str()) != 0 ? -1 : Now() - f0;
  };
  // The engine opens FFmpeg's libraries on its first use: that happens here,
  // outside the timed rounds, as in a program that has already recorded.
  std::string unloaded;
  const double loadStart = Now();
  if (media::AudioFileWriter::Check(cases[0].settings, &unloaded) != media::WriteStatus::Ok) {
    std::fprintf(stderr, "the engine cannot write: %s\n", unloaded.c_str());
    return 1;
  }
  std::printf("first use (opens FFmpeg, checks MP3 settings): %.1f ms\n\n", 1000 * (Now() - loadStart));
  std::vector<std::vector<double>> engineTimes(nCases), ffmpegTimes(nCases), ratios(nCases);
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < nCases; ++i) {
      double engine = -1, ffmpeg = -1;
      if (round % 2 == 0) {
        engine = encodeWithEngine(cases[i]);
        ffmpeg = encodeWithFfmpeg(cases[i]);
      } else {
        ffmpeg = encodeWithFfmpeg(cases[i]);
        engine = encodeWithEngine(cases[i]);
      }
      if (engine > 0) engineTimes[i].push_back(engine);
      if (ffmpeg > 0) ffmpegTimes[i].push_back(ffmpeg);
      if (engine > 0 && ffmpeg > 0) ratios[i].push_back(ffmpeg / engine);
    }
  }
  std::printf("%d rounds, medians; ratio = ffmpeg s / engine s (median, lowest and highest round)\n", rounds);
  std::printf("%-20s %10s %10s %8s %15s %10s\n", "format", "engine s", "ffmpeg s", "ratio", "range", "engine xRT");
  for (size_t i = 0; i < nCases; ++i) {
    const double engine = Median(engineTimes[i]);
    if (engine <= 0) continue;
    if (!ratios[i].empty()) {
      const auto range = std::minmax_element(ratios[i].begin(), ratios[i].end());
      std::printf("%-20s %10.3f %10.3f %8.2f %7.2f-%-7.2f %10.0f\n", cases[i].name, engine, Median(ffmpegTimes[i]),
                  Median(ratios[i]), *range.first, *range.second, inputSeconds / engine);
    } else {
      std::printf("%-20s %10.3f %10s %8s %15s %10.0f\n", cases[i].name, engine, "n/a", "n/a", "",
                  inputSeconds / engine);
    }
  }

  const int status = recordSeconds > 0 ? MeasureRecording(recordSeconds, dir) : 0;
  std::system(("rm -rf '" + dir + "'").c_str());
  return status;
}
