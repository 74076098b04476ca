// Profile collections and their ".prop" files: editing, save/load round trips
// that give back identical profiles and identical files, and strict loading
// that reports a damaged file and never touches it.
#include "tests/engine/engine_test_support.h"

#include <oleauto.h>

#include <string>
#include <vector>

using namespace engine_test;

namespace {

// FFmpeg's libraries mapped into this process, by name.
std::string MappedFFmpeg() {
  const std::string maps = ReadUnixFile("/proc/self/maps");
  std::string found;
  for (const char* lib : {"libavutil.so", "libswresample.so", "libavcodec.so", "libavformat.so"}) {
    if (maps.find(std::string("/") + lib) != std::string::npos) found += std::string(found.empty() ? "" : " ") + lib;
  }
  return found;
}

ComPtr<IMediaPropertyBag5> NewBag() {
  return Create<IMediaPropertyBag5>(CLSID_MediaPropertyBag5, IID_IMediaPropertyBag5);
}

void SetString(IMediaPropertyBag5* bag, const char16_t* name, const std::u16string& value) {
  Bstr n(name), v(value);
  ASSERT_EQ(S_OK, bag->SetString(n, 0, v, 0));
}

// A profile as the profile manager builds its defaults: names, container
// type, and one stream bag whose "AVFormat" is the audio format.
ComPtr<IMediaPropertyBag5> MakeProfile(const std::u16string& name, IMediaAudioFormat5* format, LONG flag = 1) {
  auto profile = NewBag();
  Bstr container(u"ContainerType");
  profile->SetInteger(container, 0, -1, 0);
  SetString(profile.Get(), u"ProfileComment", u"");
  SetString(profile.Get(), u"ProfileName", name);
  SetString(profile.Get(), u"ProfileDescription", name);
  auto stream = NewBag();
  Bstr avformat(u"AVFormat"), streams(u"AudioStreamInfo");
  EXPECT_EQ(S_OK, stream->SetObject(avformat, 0, format, 1));
  EXPECT_EQ(S_OK, profile->SetObject(streams, MEDIA_ELEMENT_APPEND, stream.Get(), flag));
  return profile;
}

std::string Describe(IMediaPropertyBag5* bag, int depth = 0);

std::string DescribeObject(IUnknown* object, int depth) {
  ComPtr<IMediaPropertyBag5> inner;
  if (SUCCEEDED(object->QueryInterface(IID_IMediaPropertyBag5, inner.OutVoid())))
    return "bag{" + Describe(inner.Get(), depth + 1) + "}";
  ComPtr<IMediaAudioFormat5> f;
  if (FAILED(object->QueryInterface(IID_IMediaAudioFormat5, f.OutVoid()))) return "?";
  LONG kind = 0, codec = 0, rate = 0, channels = 0, bitrate = 0, bits = 0, extra = -1;
  f->GetKind(&kind);
  f->GetCodecId(&codec);
  f->GetSampleRate(&rate);
  f->GetChannels(&channels);
  f->GetBitrate(&bitrate);
  f->GetBitsPerSample(&bits);
  ComPtr<IMediaMp3Settings5> mp3;
  if (SUCCEEDED(object->QueryInterface(IID_IMediaMp3Settings5, mp3.OutVoid()))) mp3->GetRateMode(&extra);
  ComPtr<IMediaAacSettings5> aac;
  if (SUCCEEDED(object->QueryInterface(IID_IMediaAacSettings5, aac.OutVoid()))) aac->GetStreamFormat(&extra);
  Bstr name, description;
  f->GetCodecName(name.Out());
  f->GetDescription(description.Out());
  WAVEFORMATEX* wf = nullptr;
  std::string block;
  if (SUCCEEDED(f->GetWaveFormat(&wf))) {
    block.assign(reinterpret_cast<const char*>(wf), sizeof(WAVEFORMATEX) + wf->cbSize);
    CoTaskMemFree(wf);
  }
  char text[200];
  std::snprintf(text, sizeof text, "format{%ld %ld %ld %ld %ld %ld %ld ", static_cast<long>(kind),
                static_cast<long>(codec), static_cast<long>(rate), static_cast<long>(channels),
                static_cast<long>(bitrate), static_cast<long>(bits), static_cast<long>(extra));
  std::string hex;
  for (unsigned char c : block) {
    char h[3];
    std::snprintf(h, sizeof h, "%02x", c);
    hex += h;
  }
  return text + Narrow(name.Str()) + "|" + Narrow(description.Str()) + "|" + hex + "}";
}

// Every name, element, type, flag and value, objects included.
std::string Describe(IMediaPropertyBag5* bag, int depth) {
  std::string out;
  LONG names = 0;
  bag->GetPropertyCount(&names);
  for (LONG i = 0; i < names; ++i) {
    Bstr name;
    bag->GetPropertyName(i, name.Out());
    LONG count = 0;
    bag->GetCount(name, &count);
    for (LONG e = 0; e < count; ++e) {
      LONG type = 0, flags = 0;
      bag->GetValueType(name, e, &type);
      bag->GetFlags(name, e, &flags);
      out += Narrow(name.Str()) + "[" + std::to_string(e) + "]/" + std::to_string(flags) + "=";
      if (type == MEDIA_VALUE_INTEGER) {
        LONGLONG v = 0;
        bag->GetInteger(name, e, &v);
        out += std::to_string(static_cast<long long>(v));
      } else if (type == MEDIA_VALUE_STRING) {
        Bstr v;
        bag->GetString(name, e, v.Out());
        out += "\"" + Narrow(v.Str()) + "\"";
      } else {
        ComPtr<IUnknown> o;
        bag->GetObject(name, e, IID_IUnknown, o.OutVoid());
        out += DescribeObject(o.Get(), depth);
      }
      out += ";";
    }
  }
  return out;
}

std::vector<std::string> DescribeAll(IMediaProfileCollection5* c) {
  std::vector<std::string> out;
  LONG count = 0;
  c->GetCount(&count);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<IMediaPropertyBag5> p;
    EXPECT_EQ(S_OK, c->GetItem(i, p.Out()));
    out.push_back(Describe(p.Get()));
  }
  return out;
}

std::string NameOf(IMediaProfileCollection5* c, LONG index) {
  ComPtr<IMediaPropertyBag5> p;
  if (FAILED(c->GetItem(index, p.Out()))) return "";
  Bstr key(u"ProfileName"), v;
  p->GetString(key, 0, v.Out());
  return Narrow(v.Str());
}

}  // namespace

class ProfileCollectionTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    ASSERT_TRUE(folder.Ok());
    collection = NewCollection();
  }
  void TearDown() override {
    collection.Reset();
    ComTest::TearDown();
  }
  ComPtr<IMediaProfileCollection5> NewCollection() {
    return Create<IMediaProfileCollection5>(CLSID_MediaProfileCollection5, IID_IMediaProfileCollection5);
  }
  // Fills the collection with profiles of every kind of value a profile holds.
  void FillWithDefaults() {
    auto mp3 = Create<IMediaMp3Settings5>(CLSID_MediaMp3Settings5, IID_IMediaMp3Settings5);
    mp3->SetRateMode(MEDIA_MP3_VBR);
    auto aac = Create<IMediaAacSettings5>(CLSID_MediaAacSettings5, IID_IMediaAacSettings5);
    aac->SetStreamFormat(MEDIA_AAC_ADTS);
    auto amr = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
    amr->SetCodecId(MEDIA_CODEC_AMR_NB);
    amr->SetSampleRate(8000);
    amr->SetChannels(1);
    amr->SetBitrate(7000);
    // A Windows Media format as the container lists it, kept with flag 2.
    auto file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
    ASSERT_EQ(S_OK, file->SetContainerType(MEDIA_CONTAINER_ASF));
    ComPtr<IMediaAudioFormat5> wma;
    ASSERT_EQ(S_OK, file->GetCodecFormat(0, 3, wma.Out()));

    ASSERT_EQ(S_OK, collection->Insert(-1, MakeProfile(u"MP3 - 44100 Hz, Stereo", mp3.Get()).Get()));
    ASSERT_EQ(S_OK, collection->Insert(-1, MakeProfile(u"AAC - 44100 Hz, Stereo", aac.Get()).Get()));
    ASSERT_EQ(S_OK, collection->Insert(-1, MakeProfile(u"AMR-NB - 8000 Hz, Mono", amr.Get()).Get()));
    auto odd = MakeProfile(u"Quotes \" back\\slash\ttab\nline – ünïcødé 🎙", wma.Get(), 2);
    SetString(odd.Get(), u"ProfileComment", u"");
    Bstr big(u"Big");
    odd->SetInteger(big, 0, 9007199254740993LL, 0);
    odd->SetInteger(big, MEDIA_ELEMENT_APPEND, -1, 0);
    ASSERT_EQ(S_OK, collection->Insert(-1, odd.Get()));
  }

  ScratchFolder folder;
  ComPtr<IMediaProfileCollection5> collection;
};

namespace {

TEST_F(ProfileCollectionTest, SavedProfilesLoadBackIdenticallyAndSaveToTheSameBytes) {
  FillWithDefaults();
  std::vector<std::string> before = DescribeAll(collection.Get());
  ASSERT_EQ(4u, before.size());

  Bstr path(folder.Windows("MP3Profiles.prop"));
  ASSERT_EQ(S_OK, collection->Save(path));
  std::string first = ReadUnixFile(folder.Unix("MP3Profiles.prop"));
  EXPECT_EQ(0u, first.rfind("SondrelProfiles 1\n", 0)) << "the version line comes first";
  EXPECT_FALSE(UnixFileExists(folder.Unix("MP3Profiles.prop.saving")));

  auto reloaded = NewCollection();
  ASSERT_EQ(S_OK, reloaded->Load(path));
  EXPECT_EQ(before, DescribeAll(reloaded.Get()));

  Bstr second(folder.Windows("again.prop"));
  ASSERT_EQ(S_OK, reloaded->Save(second));
  EXPECT_EQ(first, ReadUnixFile(folder.Unix("again.prop")));
}

TEST_F(ProfileCollectionTest, InsertReplaceRemoveAndMoveKeepTheOrder) {
  auto format = Create<IMediaAudioFormat5>(CLSID_MediaAudioFormat5, IID_IMediaAudioFormat5);
  auto a = MakeProfile(u"A", format.Get()), b = MakeProfile(u"B", format.Get()), c = MakeProfile(u"C", format.Get()),
       d = MakeProfile(u"D", format.Get());
  ASSERT_EQ(S_OK, collection->Insert(-1, b.Get()));
  ASSERT_EQ(S_OK, collection->Insert(0, a.Get()));
  ASSERT_EQ(S_OK, collection->Insert(2, c.Get()));  // at the count: appended
  EXPECT_EQ(E_INVALIDARG, collection->Insert(4, d.Get()));
  EXPECT_EQ(E_INVALIDARG, collection->Insert(-2, d.Get()));
  EXPECT_EQ(E_POINTER, collection->Insert(0, nullptr));
  LONG count = 0;
  collection->GetCount(&count);
  ASSERT_EQ(3, count);
  EXPECT_EQ("A", NameOf(collection.Get(), 0));
  EXPECT_EQ("C", NameOf(collection.Get(), 2));

  // The item handed out is the held profile: edits show without Replace.
  ComPtr<IMediaPropertyBag5> held;
  ASSERT_EQ(S_OK, collection->GetItem(1, held.Out()));
  EXPECT_EQ(b.Get(), held.Get());

  // Move takes the destination first.
  ASSERT_EQ(S_OK, collection->Move(0, 2));
  EXPECT_EQ("C", NameOf(collection.Get(), 0));
  EXPECT_EQ("A", NameOf(collection.Get(), 1));
  EXPECT_EQ("B", NameOf(collection.Get(), 2));
  ASSERT_EQ(S_OK, collection->Move(2, 0));
  EXPECT_EQ("A", NameOf(collection.Get(), 0));
  EXPECT_EQ("C", NameOf(collection.Get(), 2));
  EXPECT_EQ(E_INVALIDARG, collection->Move(3, 0));
  EXPECT_EQ(E_INVALIDARG, collection->Move(0, -1));

  ASSERT_EQ(S_OK, collection->Replace(1, d.Get()));
  EXPECT_EQ("D", NameOf(collection.Get(), 1));
  EXPECT_EQ(E_INVALIDARG, collection->Replace(3, d.Get()));

  ASSERT_EQ(S_OK, collection->Remove(0));
  EXPECT_EQ("D", NameOf(collection.Get(), 0));
  EXPECT_EQ(E_INVALIDARG, collection->Remove(2));
  ComPtr<IMediaPropertyBag5> none;
  EXPECT_EQ(E_INVALIDARG, collection->GetItem(2, none.Out()));
  EXPECT_FALSE(none);
}

TEST_F(ProfileCollectionTest, DamagedFilesAreReportedAndLeftUntouched) {
  FillWithDefaults();
  Bstr goodPath(folder.Windows("good.prop"));
  ASSERT_EQ(S_OK, collection->Save(goodPath));
  const std::string good = ReadUnixFile(folder.Unix("good.prop"));
  const size_t firstEnd = good.find("\nend\n") + 5;

  struct Damage {
    const char* what;
    std::string bytes;
  } damages[] = {
      {"empty", ""},
      {"garbage", "this is not a profile file\n"},
      {"binary", std::string("SondrelProfiles 1\n\0\x01\x02", 21)},
      {"newer version", "SondrelProfiles 2\nend-of-profiles\n"},
      {"cut in the middle", good.substr(0, good.size() / 2)},
      {"cut after a whole profile", good.substr(0, firstEnd)},
      {"unknown keyword", "SondrelProfiles 1\nprofile\n  colour \"Name\" 0 1\nend\nend-of-profiles\n"},
      {"number out of range",
       "SondrelProfiles 1\nprofile\n  format \"AVFormat\" 1 generic\n    rate 99999999\n  end\nend\nend-of-profiles\n"},
      {"rate below the lowest",
       "SondrelProfiles 1\nprofile\n  format \"AVFormat\" 1 generic\n    rate 7999\n  end\nend\nend-of-profiles\n"},
      {"kind and codec disagree",
       "SondrelProfiles 1\nprofile\n  format \"AVFormat\" 1 mp3\n    codec 65536\n  end\nend\nend-of-profiles\n"},
      {"open string", "SondrelProfiles 1\nprofile\n  string \"ProfileName\" 0 \"unterminated\nend\nend-of-profiles\n"},
      {"bad escape", "SondrelProfiles 1\nprofile\n  string \"ProfileName\" 0 \"\\q\"\nend\nend-of-profiles\n"},
      {"not UTF-8", "SondrelProfiles 1\nprofile\n  string \"ProfileName\" 0 \"\xff\xfe\"\nend\nend-of-profiles\n"},
      {"text after the end", good + "profile\nend\n"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    WriteUnixFile(folder.Unix("MP3Profiles.prop"), d.bytes);
    auto target = NewCollection();
    auto keep = NewBag();
    target->Insert(-1, keep.Get());  // what the collection held before must survive
    Bstr path(folder.Windows("MP3Profiles.prop"));
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(MEDIA_E_BAD_PROFILE_FILE, target->Load(path));
    LONG count = 0;
    target->GetCount(&count);
    EXPECT_EQ(1, count);
    Bstr why;
    ASSERT_EQ(S_OK, target->GetLastErrorText(why.Out()));
    EXPECT_NE(std::string::npos, Narrow(why.Str()).find("MP3Profiles.prop")) << Narrow(why.Str());
    EXPECT_NE(std::string::npos, Narrow(why.Str()).find("line ")) << Narrow(why.Str());
    IErrorInfo* info = nullptr;
    ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
    Bstr description;
    info->GetDescription(description.Out());
    info->Release();
    EXPECT_EQ(why.Str(), description.Str());
    EXPECT_EQ(d.bytes, ReadUnixFile(folder.Unix("MP3Profiles.prop"))) << "the file was changed";
  }

  // A missing file is its own error, and the collection keeps what it had.
  Bstr missing(folder.Windows("none.prop"));
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), collection->Load(missing));
  LONG count = 0;
  collection->GetCount(&count);
  EXPECT_EQ(4, count);
  EXPECT_FALSE(UnixFileExists(folder.Unix("none.prop")));
  // A good load clears the last error.
  ASSERT_EQ(S_OK, collection->Load(goodPath));
  Bstr why;
  EXPECT_EQ(S_FALSE, collection->GetLastErrorText(why.Out()));
}

TEST_F(ProfileCollectionTest, HandEditedFilesWithCommentsAndWindowsLineEndsLoad) {
  std::string text =
      "\xEF\xBB\xBFSondrelProfiles 1\r\n"
      "# edited by hand\r\n"
      "\r\n"
      "profile\r\n"
      "  string \"ProfileName\" 0 \"My Vorbis\"\r\n"
      "  integer \"ContainerType\" 0 -1\r\n"
      "  bag \"AudioStreamInfo\" 1\r\n"
      "    format \"AVFormat\" 1 generic\r\n"
      "      codec 86022\r\n"
      "      bitrate 160000\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n"
      "end-of-profiles\r\n";
  WriteUnixFile(folder.Unix("OGGProfiles.prop"), text);
  Bstr path(folder.Windows("OGGProfiles.prop"));
  ASSERT_EQ(S_OK, collection->Load(path));
  EXPECT_EQ("My Vorbis", NameOf(collection.Get(), 0));
  ComPtr<IMediaPropertyBag5> profile, stream;
  collection->GetItem(0, profile.Out());
  Bstr streams(u"AudioStreamInfo"), avformat(u"AVFormat");
  ASSERT_EQ(S_OK, profile->GetObject(streams, 0, IID_IMediaPropertyBag5, stream.OutVoid()));
  ComPtr<IMediaAudioFormat5> format;
  ASSERT_EQ(S_OK, stream->GetObject(avformat, 0, IID_IMediaAudioFormat5, format.OutVoid()));
  LONG codec = 0, bitrate = 0, rate = 0;
  format->GetCodecId(&codec);
  format->GetBitrate(&bitrate);
  format->GetSampleRate(&rate);
  EXPECT_EQ(MEDIA_CODEC_VORBIS, codec);
  EXPECT_EQ(160000, bitrate);
  EXPECT_EQ(44100, rate);  // unnamed fields keep the defaults
}

TEST_F(ProfileCollectionTest, SavingWhereNoFileCanBeMadeFailsAndKeepsTheOldFile) {
  FillWithDefaults();
  Bstr nowhere(folder.Windows("no-such-folder\\MP3Profiles.prop"));
  EXPECT_TRUE(FAILED(collection->Save(nowhere)));
  Bstr why;
  EXPECT_EQ(S_OK, collection->GetLastErrorText(why.Out()));

  // An object a file cannot hold makes the save fail before the old file is touched.
  Bstr path(folder.Windows("keep.prop"));
  ASSERT_EQ(S_OK, collection->Save(path));
  const std::string before = ReadUnixFile(folder.Unix("keep.prop"));
  ComPtr<IMediaPropertyBag5> profile;
  collection->GetItem(0, profile.Out());
  auto markers = Create<IUnknown>(CLSID_MediaMarkerList5, IID_IUnknown);
  Bstr odd(u"Markers");
  profile->SetObject(odd, 0, markers.Get(), 0);
  EXPECT_TRUE(FAILED(collection->Save(path)));
  EXPECT_EQ(before, ReadUnixFile(folder.Unix("keep.prop")));
  EXPECT_FALSE(UnixFileExists(folder.Unix("keep.prop.saving")));
}

TEST_F(ProfileCollectionTest, TheDeepestBagsAndTheLargestFileThatSaveAlsoLoad) {
  // A profile whose bags nest `levels` deep below it.
  auto nested = [](int levels) {
    auto profile = NewBag();
    SetString(profile.Get(), u"ProfileName", u"deep");
    IMediaPropertyBag5* outer = profile.Get();
    std::vector<ComPtr<IMediaPropertyBag5>> bags;
    for (int i = 0; i < levels; ++i) {
      bags.push_back(NewBag());
      Bstr key(u"Inner");
      EXPECT_EQ(S_OK, outer->SetObject(key, 0, bags.back().Get(), 0));
      outer = bags.back().Get();
    }
    Bstr leaf(u"Leaf");
    outer->SetInteger(leaf, 0, 7, 0);
    return profile;
  };
  Bstr path(folder.Windows("deep.prop"));
  ASSERT_EQ(S_OK, collection->Insert(-1, nested(15).Get()));
  ASSERT_EQ(S_OK, collection->Save(path));
  const std::string deepest = ReadUnixFile(folder.Unix("deep.prop"));
  auto reloaded = NewCollection();
  ASSERT_EQ(S_OK, reloaded->Load(path));
  EXPECT_EQ(DescribeAll(collection.Get()), DescribeAll(reloaded.Get()));

  // One level more is refused on saving, so no file is written that cannot load.
  ASSERT_EQ(S_OK, collection->Replace(0, nested(16).Get()));
  EXPECT_TRUE(FAILED(collection->Save(path)));
  EXPECT_EQ(deepest, ReadUnixFile(folder.Unix("deep.prop")));

  // Files up to 16 MiB are read; comment lines fill a good file to the size.
  const size_t kLargest = 16u * 1024 * 1024;
  const size_t cut = deepest.find('\n') + 1;
  std::string filler;
  const size_t fill = kLargest - deepest.size();
  const std::string line = "#" + std::string(1022, 'x') + "\n";
  while (filler.size() + line.size() + 2 <= fill) filler += line;
  filler += "#" + std::string(fill - filler.size() - 2, 'y') + "\n";
  std::string largest = deepest.substr(0, cut) + filler + deepest.substr(cut);
  ASSERT_EQ(kLargest, largest.size());
  WriteUnixFile(folder.Unix("large.prop"), largest);
  Bstr large(folder.Windows("large.prop"));
  auto big = NewCollection();
  ASSERT_EQ(S_OK, big->Load(large));
  EXPECT_EQ(DescribeAll(reloaded.Get()), DescribeAll(big.Get()));
  WriteUnixFile(folder.Unix("large.prop"), largest.substr(0, cut) + "#" + largest.substr(cut));
  EXPECT_EQ(MEDIA_E_BAD_PROFILE_FILE, big->Load(large));
}

// The engine's start-up objects, as the application makes them, open none of
// FFmpeg's libraries: loading them costs a cold start a third of its time.
// The first file read opens them. In a process of its own, which links none.
TEST_F(ProfileCollectionTest, StartUpObjectsLeaveFFmpegUnloadedUntilTheFirstFileRead) {
  if (!IsAloneRun()) {
    EXPECT_EQ(0u, RunAlone("ProfileCollectionTest.StartUpObjectsLeaveFFmpegUnloadedUntilTheFirstFileRead"));
    return;
  }
  ASSERT_EQ("", MappedFFmpeg()) << "mapped before the start: the test program or the engine links it";
  auto config = NewBag();
  Bstr operation(u"Operation");
  ASSERT_EQ(S_OK, config->SetInteger(operation, 0, MEDIA_OPERATION_GLOBAL_CONFIG, 0));
  auto global = NewBag();
  global->SetOptions(-1);
  auto aux = Create<IMediaEngineAux5>(CLSID_MediaEngineAux5, IID_IMediaEngineAux5);
  ASSERT_EQ(S_OK, aux->Initialize(global.Get()));
  FillWithDefaults();
  Bstr path(folder.Windows("MP3Profiles.prop"));
  ASSERT_EQ(S_OK, collection->Save(path));
  ASSERT_EQ(S_OK, NewCollection()->Load(path));
  auto source = Create<IMediaCaptureSource5>(CLSID_MediaCaptureSource5, IID_IMediaCaptureSource5);
  auto player = Create<IMediaPlayer5>(CLSID_MediaPlayer5, IID_IMediaPlayer5);
  EXPECT_EQ("", MappedFFmpeg());

  ASSERT_TRUE(RunTool("ffmpeg -nostdin -y -f lavfi -i sine=duration=1 -ac 2 '" + folder.Unix("a.wav") + "'"));
  auto file = Create<IMediaFile5>(CLSID_MediaFile5, IID_IMediaFile5);
  auto read = NewBag();
  Bstr mode(u"OperationMode"), name(u"FileName"), value(folder.Windows("a.wav"));
  read->SetInteger(operation, 0, MEDIA_OPERATION_READ, 0);
  read->SetInteger(mode, 0, MEDIA_MODE_FILE, 0);
  read->SetString(name, 0, value, 0);
  ASSERT_EQ(S_OK, file->Command(MEDIAFILE_CMD_OPEN, read.Get()));
  LONG container = 0;
  file->GetContainerType(&container);
  EXPECT_EQ(MEDIA_CONTAINER_WAV, container);
  EXPECT_EQ("libavutil.so libswresample.so libavcodec.so libavformat.so", MappedFFmpeg());
}

}  // namespace
