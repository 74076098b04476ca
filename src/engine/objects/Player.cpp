#include "engine/objects/Player.h"

#include "engine/core/ClassTable.h"
#include "engine/pulse/PulseConnection.h"

namespace engine {

CPlayer::CPlayer()
    : events_(static_cast<IMediaPlayer5*>(this), static_cast<IConnectionPointContainer*>(this),
              DIID__IMediaPlayer5Events),
      alive_(std::make_shared<std::atomic<bool>>(true)) {
  quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  watcher_ = CreateThread(nullptr, 0, WatchThread, this, 0, nullptr);
}

CPlayer::~CPlayer() {
  alive_->store(false);
  if (quit_) SetEvent(quit_);
  if (watcher_) {
    WaitForSingleObject(watcher_, INFINITE);
    CloseHandle(watcher_);
  }
  if (quit_) CloseHandle(quit_);
  StopSound();
  events_.UnadviseAll();
}

void* CPlayer::FindInterface(REFIID riid) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaPlayer5)) return static_cast<IMediaPlayer5*>(this);
  if (IsEqualIID(riid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  return nullptr;
}

DWORD WINAPI CPlayer::WatchThread(void* param) {
  try {
    static_cast<CPlayer*>(param)->Watch();
  } catch (...) {
  }
  return 0;
}

// Runs on its own thread: the position while playing, and the end of the
// sound, each handed to the owner thread as an event.
void CPlayer::Watch() {
  while (WaitForSingleObject(quit_, 250) == WAIT_TIMEOUT) {
    bool ended = false;
    double position = 0;
    bool playing = false;
    {
      std::lock_guard<std::recursive_mutex> g(lock_);
      if (state_ != MEDIAPLAYER_PLAYING || !playback_) continue;
      if (playback_->HasFinished() || playback_->HasFailed()) {
        ended = true;
        StopSound();
        state_ = MEDIAPLAYER_STOPPED;
        position_ = 0;
      } else {
        playing = true;
        position = playback_->PositionMs();
      }
    }
    std::shared_ptr<std::atomic<bool>> alive = alive_;
    ConnectionPoint* point = &events_;
    if (playing) {
      queue_.Post([alive, point, position] {
        if (!alive->load()) return;
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_R8;
        V_R8(&v) = position;
        point->Fire(MEDIAPLAYER_DISPID_POSITION, {v});
      });
    } else if (ended) {
      queue_.Post([alive, point] {
        if (alive->load()) point->Fire(MEDIAPLAYER_DISPID_STOPPED);
      });
    }
  }
}

HRESULT CPlayer::Open(IUnknown* mediaFile) {
  return Guard([&]() -> HRESULT {
    if (!mediaFile) return E_POINTER;
    ComPtr<IMediaFile5> file;
    HRESULT hr = mediaFile->QueryInterface(IID_IMediaFile5, file.OutVoid());
    if (FAILED(hr)) return hr;
    BSTR name = nullptr;
    hr = file->GetFileName(&name);
    std::u16string path = FromWide(name);
    SysFreeString(name);
    if (FAILED(hr) || path.empty()) return MEDIA_E_NOT_OPEN;
    std::string unixPath = ToUnixPath(path);
    if (unixPath.empty()) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    auto decoder = std::make_shared<media::AudioFileDecoder>();
    std::string error;
    if (!decoder->Open(unixPath, &error)) return Fail(MEDIA_E_UNSUPPORTED_FORMAT, IID_IMediaPlayer5, FromUtf8(error));
    std::lock_guard<std::recursive_mutex> g(lock_);
    StopSound();
    decoder_ = decoder;
    state_ = MEDIAPLAYER_STOPPED;
    position_ = 0;
    return S_OK;
  });
}

HRESULT CPlayer::GetState(LONG* state) {
  if (!state) return E_POINTER;
  std::lock_guard<std::recursive_mutex> g(lock_);
  *state = state_;
  return S_OK;
}

HRESULT CPlayer::GetPosition(double* ms) {
  if (!ms) return E_POINTER;
  std::lock_guard<std::recursive_mutex> g(lock_);
  *ms = state_ == MEDIAPLAYER_PLAYING && playback_ ? playback_->PositionMs() : position_;
  return S_OK;
}

HRESULT CPlayer::StartSound() {
  StopSound();
  if (!decoder_) return MEDIA_E_NOT_OPEN;
  if (!decoder_->Seek(position_) && position_ > 0) return E_FAIL;
  auto connection = pulse::PulseConnection::Get();
  if (!connection) return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
  auto playback = std::make_unique<pulse::PulsePlayback>(connection, decoder_->SampleRate(), decoder_->Channels());
  std::shared_ptr<media::AudioFileDecoder> decoder = decoder_;
  std::string error;
  if (!playback->Start([decoder](uint8_t* dst, size_t max) { return decoder->Read(dst, max); }, position_, &error))
    return HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
  playback_ = std::move(playback);
  return S_OK;
}

void CPlayer::StopSound() {
  if (playback_) playback_->Stop();
  playback_.reset();
}

HRESULT CPlayer::Run(LONG mode) {
  return Guard([&]() -> HRESULT {
    std::lock_guard<std::recursive_mutex> g(lock_);
    if (!decoder_) return MEDIA_E_NOT_OPEN;
    if (mode == MEDIAPLAYER_RUN_PREPARE) {
      // Ready to seek, silent: whatever played stops where it is.
      if (playback_) position_ = playback_->PositionMs();
      StopSound();
      state_ = MEDIAPLAYER_PAUSED;
      return S_OK;
    }
    if (state_ == MEDIAPLAYER_PLAYING) return S_FALSE;
    if (state_ == MEDIAPLAYER_PAUSED && playback_) {
      playback_->Resume();
      state_ = MEDIAPLAYER_PLAYING;
      return S_OK;
    }
    HRESULT hr = StartSound();
    if (FAILED(hr)) return hr;
    state_ = MEDIAPLAYER_PLAYING;
    return S_OK;
  });
}

HRESULT CPlayer::Pause() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  if (state_ != MEDIAPLAYER_PLAYING || !playback_) return S_FALSE;
  playback_->Pause();
  position_ = playback_->PositionMs();
  state_ = MEDIAPLAYER_PAUSED;
  return S_OK;
}

HRESULT CPlayer::Stop() {
  std::lock_guard<std::recursive_mutex> g(lock_);
  StopSound();
  state_ = MEDIAPLAYER_STOPPED;
  position_ = 0;
  return S_OK;
}

HRESULT CPlayer::SetPosition(double ms) {
  return Guard([&]() -> HRESULT {
    if (ms < 0) return E_INVALIDARG;
    std::lock_guard<std::recursive_mutex> g(lock_);
    if (!decoder_) return MEDIA_E_NOT_OPEN;
    position_ = ms;
    if (state_ == MEDIAPLAYER_PLAYING) return StartSound();
    // Paused at the old place: the next Run starts at the new one.
    StopSound();
    return S_OK;
  });
}

HRESULT CPlayer::GetDuration(double* ms) {
  if (!ms) return E_POINTER;
  std::lock_guard<std::recursive_mutex> g(lock_);
  *ms = decoder_ ? decoder_->DurationMs() : 0;
  return S_OK;
}

HRESULT CPlayer::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

HRESULT CPlayer::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  return FindPoint({&events_}, riid, point);
}

HRESULT CreatePlayer(REFIID riid, void** ppv) {
  return Guard([&] { return ComObject<CPlayer>::Create(riid, ppv); });
}

}  // namespace engine
