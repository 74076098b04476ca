#include "recording_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace recording_test {

ComPtr<IMediaPropertyBag5> MakeProfile(const FormatCase& f) {
  ComPtr<IMediaPropertyBag5> profile = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  ComPtr<IMediaPropertyBag5> stream = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  ComPtr<IMediaAudioFormat5> format;
  if (f.codec == MEDIA_CODEC_MP3)
    format = Create<IMediaAudioFormat5>(CLSID_MediaMp3Settings5, IID_IMediaAudioFormat5);
  else if (f.codec == MEDIA_CODEC_AAC)
    format = Create<IMediaAudioFormat5>(CLSID_MediaAacSettings5, IID_IMediaAudioFormat5);
  else
    format = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  if (!profile || !stream || !format) return nullptr;
  if (f.codec && f.codec != MEDIA_CODEC_MP3 && f.codec != MEDIA_CODEC_AAC) {
    EXPECT_EQ(S_OK, format->SetCodecId(f.codec));
  }
  if (f.sampleRate) {
    EXPECT_EQ(S_OK, format->SetSampleRate(f.sampleRate));
  }
  if (f.channels) {
    EXPECT_EQ(S_OK, format->SetChannels(f.channels));
  }
  if (f.bitrate) {
    EXPECT_EQ(S_OK, format->SetBitrate(f.bitrate));
  }
  EXPECT_EQ(S_OK, stream->SetObject(Bstr(MEDIA_PROP_AV_FORMAT), 0, format.Get(), MEDIA_PROPFLAG_PROFILE));
  EXPECT_EQ(S_OK, profile->SetString(Bstr(MEDIA_PROP_PROFILE_NAME), 0, Bstr(u"Test"), MEDIA_PROPFLAG_PROFILE));
  EXPECT_EQ(S_OK, profile->SetInteger(Bstr(MEDIA_PROP_CONTAINER_TYPE), 0, f.container, MEDIA_PROPFLAG_PROFILE));
  EXPECT_EQ(S_OK, profile->SetObject(Bstr(MEDIA_PROP_AUDIO_STREAM_INFO), MEDIA_ELEMENT_APPEND, stream.Get(),
                                     MEDIA_PROPFLAG_PROFILE));
  return profile;
}

namespace {

std::string JsonField(const std::string& json, const char* key) {
  std::regex re(std::string("\"") + key + "\"\\s*:\\s*\"?([^\",\\n]*)\"?");
  std::smatch m;
  return std::regex_search(json, m, re) ? m[1].str() : std::string();
}

}  // namespace

Probe ProbeFile(const std::string& unixPath) {
  Probe p;
  std::string cmd =
      "ffprobe -v error -count_packets -select_streams a:0 -show_entries "
      "format=format_name,duration:stream=codec_name,sample_rate,channels,bit_rate,nb_read_packets "
      "-of json '" +
      unixPath + "' 2>&1";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return p;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) p.raw.append(buf, n);
  int status = pclose(pipe);
  p.ok = status == 0 && p.raw.find("\"format\"") != std::string::npos;
  p.formatName = JsonField(p.raw, "format_name");
  p.codec = JsonField(p.raw, "codec_name");
  p.sampleRate = std::atoi(JsonField(p.raw, "sample_rate").c_str());
  p.channels = std::atoi(JsonField(p.raw, "channels").c_str());
  std::string d = JsonField(p.raw, "duration");
  if (!d.empty()) p.durationMs = std::atof(d.c_str()) * 1000.0;
  p.packets = std::atol(JsonField(p.raw, "nb_read_packets").c_str());
  p.bitRate = std::atol(JsonField(p.raw, "bit_rate").c_str());
  return p;
}

double PlayableMs(const Probe& p) {
  // AMR and RealAudio 1.0 frames are 20 ms; neither file tells its length.
  if (p.formatName == "amr" || p.formatName == "rm") return p.packets * 20.0;
  // One frame of encoder priming leads every ADTS stream.
  if (p.formatName == "aac" && p.sampleRate > 0) return (p.packets - 1) * 1024000.0 / p.sampleRate;
  return p.durationMs;
}

TempFolder::TempFolder() {
  char tmpl[] = "/tmp/sondrel-rec-XXXXXX";
  const char* made = mkdtemp(tmpl);
  unix = made ? made : "/tmp";
  windows = WindowsPath(unix) + u"\\";
}

TempFolder::~TempFolder() {
  if (unix.rfind("/tmp/sondrel-rec-", 0) == 0) RunShell("rm -rf '" + unix + "'");
}

std::u16string WindowsPath(const std::string& unixPath) {
  std::u16string w = u"Z:";
  for (char c : unixPath) w.push_back(c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c)));
  return w;
}

long FileSize(const std::string& unixPath) {
  struct stat st;
  return ::stat(unixPath.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

int RunShell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool SelectDevice(IMediaCaptureSource5* capture, const char16_t* namePart, bool last) {
  if (FAILED(capture->RefreshDevices())) return false;
  LONG count = 0;
  capture->GetDeviceCount(&count);
  LONG found = -1;
  for (LONG i = 0; i < count; ++i) {
    BSTR name = nullptr;
    if (FAILED(capture->GetDeviceName(i, &name))) continue;
    std::u16string n = engine::FromWide(name);
    SysFreeString(name);
    if (n.find(namePart) != std::u16string::npos) {
      found = i;
      if (!last) break;
    }
  }
  return found >= 0 && SUCCEEDED(capture->SelectDevice(found));
}

namespace {

// The driver's side of one recording: files are named Record-000 and on.
class Driver {
 public:
  Driver(const TempFolder& folder, const DriverOptions& o, IMediaConversionJob5* job, IMediaSource5* source,
         DriverResult* result)
      : folder_(folder), o_(o), job_(job), source_(source), r_(result) {}

  void Run() {
    if (FAILED(job_->Command(MEDIAJOB_CMD_PREPARE, nullptr))) return Error(3, E_FAIL);
    if (FAILED(source_->Command(MEDIAJOB_CMD_BEGIN_ITEM, nullptr))) return Error(6, E_FAIL);
    source_->GetDuration(MEDIA_STREAM_AUDIO, &sourceMs_);
    job_->GetSplitFlags(&flags_);
    LONG kb = 0;
    job_->GetSplitSize(&kb);
    sizeLimit_ = static_cast<long>(kb) << 10;
    ComPtr<IMediaMarkerList5> markers;
    if ((flags_ & MEDIA_SPLIT_AT_MARKERS) && job_->GetMarkerList(markers.Out()) == S_OK) {
      VARIANT_BOOL on = VARIANT_FALSE;
      markers->GetEnabled(&on);
      LONG count = 0;
      markers->GetCount(&count);
      for (LONG i = 0; on && i < count; ++i) {
        double t = 0, len = 0;
        VARIANT_BOOL enabled = VARIANT_FALSE;
        markers->GetMarker(i, &t, &len, &enabled);
        if (enabled && t > 0.0001 && t < sourceMs_ - 0.0001) markers_.push_back(t);
      }
    }
    if (job_->GetProfile(profile_.Out()) != S_OK || !profile_) return Error(3, E_FAIL);
    if (!OpenFile()) return;
    bool stop = false;
    while (!stop) {
      if ((flags_ & MEDIA_SPLIT_BY_SIZE) && sizeLimit_ > 0 &&
          FileSize(r_->files.back().unixPath) + o_.sizeMargin > sizeLimit_) {
        if (!OpenFile()) return;
      }
      double amount = o_.chunkMs;
      bool markerSplit = false;
      if (!markers_.empty() && position_ + amount >= markers_.front()) {
        amount = markers_.front() - position_;
        markerSplit = true;
      }
      if (amount > 0) {
        ComPtr<IMediaSample5> sample;
        HRESULT hr = source_->ReadAudio(amount, sample.Out());
        if (FAILED(hr)) {
          Error(6, hr);
          break;
        }
        if (hr == S_FALSE || !sample) break;
        hr = file_->WriteSample(sample.Get());
        if (FAILED(hr)) {
          Error(6, hr);
          break;
        }
        double ms = 0;
        sample->GetDuration(&ms);
        position_ += ms;
      }
      if (markerSplit) {
        while (!markers_.empty() && markers_.front() < position_ + 0.0001) markers_.erase(markers_.begin());
        if (!OpenFile()) return;
      }
      LONG split = 0;
      double written = 0;
      file_->GetDuration(MEDIA_STREAM_AUDIO, &written);
      if (o_.progress) o_.progress(written, &split, &stop);
      if (split == 1 && !stop && !OpenFile()) return;
    }
    CloseFile();
    source_->Command(MEDIAJOB_CMD_END_ITEM, nullptr);
  }

 private:
  void Error(int code, HRESULT hr) {
    r_->errors.push_back(code);
    if (SUCCEEDED(r_->failure)) r_->failure = hr;
  }

  void CloseFile() {
    if (!file_) return;
    double written = 0;
    file_->GetDuration(MEDIA_STREAM_AUDIO, &written);
    r_->files.back().writtenMs = written;
    if (FAILED(file_->Command(MEDIAFILE_CMD_FINISH, nullptr))) Error(5, E_FAIL);
    file_.Reset();
  }

  bool OpenFile() {
    CloseFile();
    file_ = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    LONG container = 0;
    job_->GetContainerType(&container);
    if (!file_ || FAILED(file_->SetContainerType(container)) || FAILED(file_->SetStreamSettings(profile_.Get()))) {
      Error(3, E_FAIL);
      file_.Reset();
      return false;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", index_++);
    std::string unix = folder_.unix + "/Record-" + number + o_.format.extension;
    ComPtr<IMediaPropertyBag5> op = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
    op->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_WRITE, 0);
    op->SetInteger(Bstr(MEDIA_PROP_OPERATION_MODE), 0, MEDIA_MODE_FILE, 0);
    op->SetString(Bstr(MEDIA_PROP_FILE_NAME), 0, Bstr(WindowsPath(unix)), 0);
    HRESULT hr = file_->Command(MEDIAFILE_CMD_OPEN, op.Get());
    if (FAILED(hr)) {
      Error(4, hr);
      file_.Reset();
      return false;
    }
    r_->files.push_back({unix, 0});
    return true;
  }

  const TempFolder& folder_;
  const DriverOptions& o_;
  IMediaConversionJob5* job_;
  IMediaSource5* source_;
  DriverResult* r_;
  ComPtr<IMediaPropertyBag5> profile_;
  ComPtr<IMediaFile5> file_;
  std::vector<double> markers_;
  LONG flags_ = 0;
  long sizeLimit_ = 0;
  double sourceMs_ = 0;
  double position_ = 0;
  int index_ = 0;
};

}  // namespace

DriverResult RunRecording(const TempFolder& folder, const DriverOptions& o) {
  DriverResult result;
  ComPtr<IMediaCaptureSource5> capture(o.capture);
  if (!capture) {
    capture = Create<IMediaCaptureSource5>(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5);
    if (!capture || !SelectDevice(capture.Get(), u"Sine")) {
      ADD_FAILURE() << "no sine capture device";
      return result;
    }
  }
  ComPtr<IMediaSource5> source;
  EXPECT_EQ(S_OK, capture.As(&source, IID_IMediaSource5));
  ComPtr<IMediaPropertyBag5> profile = o.profile ? ComPtr<IMediaPropertyBag5>(o.profile) : MakeProfile(o.format);
  ComPtr<IMediaConversionJob5> job = Create<IMediaConversionJob5>(CLSID_MediaConversionJob5, IID_IMediaConversionJob5);
  if (!source || !profile || !job) return result;

  // The recording job's calls, in its order.
  job->SetContainerType(o.format.container);
  job->SetOption(0);
  job->SetProfile(profile.Get());
  ComPtr<IMediaMarkerList5> markers;
  if (o.markerEverySeconds > 0) {
    markers = Create<IMediaMarkerList5>(CLSID_MediaMarkerList5, IID_IMediaMarkerList5);
    markers->SetEnabled(VARIANT_TRUE);
    for (double t = o.markerEverySeconds * 1000; t < 86400000.0; t += o.markerEverySeconds * 1000) {
      LONG index = -1;
      markers->Add(t, 0.0, nullptr, &index);
      markers->EnableMarker(index, VARIANT_TRUE);
    }
  }
  job->SetSplitFlags(o.splitFlags);
  job->SetSplitSize(o.splitKilobytes);
  job->SetMarkerList(markers.Get());
  double live = 0;
  source->GetDuration(MEDIA_STREAM_ANY, &live);
  job->SetInput(0, capture.Get(), live);
  ComPtr<IMediaPropertyBag5> config = Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
  config->SetInteger(Bstr(MEDIA_PROP_OPERATION), 0, MEDIA_OPERATION_GLOBAL_CONFIG, 0);
  job->Setup(0, config.Get(), 0);

  EXPECT_EQ(S_OK, capture->Start(0));
  Driver(folder, o, job.Get(), source.Get(), &result).Run();
  capture->Stop();
  return result;
}

}  // namespace recording_test
