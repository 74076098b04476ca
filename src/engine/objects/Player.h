// E2: the player class. Plays a media file object's sound through the sound
// server; reports its position about every 250 ms and its end through
// _IMediaPlayer5Events, on the thread that created it.
#pragma once

#include "engine/core/ComBase.h"
#include "engine/core/ConnectionPoints.h"
#include "engine/media/AudioFileDecoder.h"
#include "engine/pulse/PulsePlayback.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace engine {

class CPlayer : public ComClass, public IMediaPlayer5, public IConnectionPointContainer {
 public:
  CPlayer();
  ~CPlayer() override;
  void* FindInterface(REFIID riid);

  HRESULT STDMETHODCALLTYPE Open(IUnknown* mediaFile) override;
  HRESULT STDMETHODCALLTYPE GetState(LONG* state) override;
  HRESULT STDMETHODCALLTYPE GetPosition(double* ms) override;
  HRESULT STDMETHODCALLTYPE Run(LONG mode) override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE SetPosition(double ms) override;
  HRESULT STDMETHODCALLTYPE GetDuration(double* ms) override;

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

 private:
  static DWORD WINAPI WatchThread(void* param);
  void Watch();
  HRESULT StartSound();
  void StopSound();

  std::recursive_mutex lock_;
  std::shared_ptr<media::AudioFileDecoder> decoder_;
  std::unique_ptr<pulse::PulsePlayback> playback_;
  LONG state_ = MEDIAPLAYER_STOPPED;
  double position_ = 0;  // where the next Run starts
  ConnectionPoint events_;
  OwnerThreadQueue queue_;
  // Shared with queued event calls, so that none outlives the player.
  std::shared_ptr<std::atomic<bool>> alive_;
  HANDLE watcher_ = nullptr;
  HANDLE quit_ = nullptr;
};

}  // namespace engine
