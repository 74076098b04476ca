// Events of engine objects: one connection point per event dispinterface, and
// a queue that runs work on the thread that created the object (events must
// reach a single-threaded client on its own thread).
//
// An object with events derives from IConnectionPointContainer and holds
//   engine::ConnectionPoint events_{this-as-IUnknown, this-as-container, DIID};
// forwarding FindConnectionPoint to engine::FindPoint({&events_}, riid, out).
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/core/ComBase.h"

namespace engine {

// A connection point living inside its owner: its reference count is the
// owner's. Sinks must answer the event IID or IDispatch.
class ConnectionPoint : public IConnectionPoint {
 public:
  ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID eventIid);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  const IID& EventIid() const { return iid_; }
  size_t SinkCount() const;
  void UnadviseAll();

  // Calls Invoke(dispid) on every sink with `args` in the order the event
  // declares them (reversed into DISPPARAMS here). Returns the last failure of
  // a sink, S_OK otherwise. Sinks added or removed during the call are safe.
  HRESULT Fire(DISPID dispid, std::vector<VARIANT> args = {});

 private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> dispatch;
  };
  IUnknown* owner_;
  IConnectionPointContainer* container_;
  IID iid_;
  mutable std::mutex lock_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
};

// FindConnectionPoint over the object's points.
HRESULT FindPoint(std::initializer_list<ConnectionPoint*> points, REFIID riid, IConnectionPoint** out);

// Runs functions on the thread that made the queue, through a message-only
// window; functions posted after the queue is gone are dropped.
class OwnerThreadQueue {
 public:
  OwnerThreadQueue();
  ~OwnerThreadQueue();
  OwnerThreadQueue(const OwnerThreadQueue&) = delete;
  OwnerThreadQueue& operator=(const OwnerThreadQueue&) = delete;

  // From any thread. On the owner thread itself the function still waits for
  // the message loop, so callers never re-enter.
  bool Post(std::function<void()> work);
  bool OnOwnerThread() const { return GetCurrentThreadId() == thread_; }

  struct State;

 private:
  std::shared_ptr<State> state_;
  DWORD thread_;
};

}  // namespace engine
