#include "engine/core/ConnectionPoints.h"

#include <algorithm>

namespace engine {

ConnectionPoint::ConnectionPoint(IUnknown* owner, IConnectionPointContainer* container, REFIID eventIid)
    : owner_(owner), container_(container), iid_(eventIid) {}

ConnectionPoint::~ConnectionPoint() { UnadviseAll(); }

HRESULT STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ConnectionPoint::AddRef() { return owner_->AddRef(); }
ULONG STDMETHODCALLTYPE ConnectionPoint::Release() { return owner_->Release(); }

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  container_->AddRef();
  *container = container_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  return Guard([&]() -> HRESULT {
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(iid_, dispatch.OutVoid())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, dispatch.OutVoid())))
      return CONNECT_E_CANNOTCONNECT;
    std::lock_guard<std::mutex> hold(lock_);
    DWORD id = nextCookie_++;
    if (nextCookie_ == 0) nextCookie_ = 1;
    sinks_.push_back({id, dispatch});
    *cookie = id;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
  ComPtr<IDispatch> released;  // released outside the lock
  {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    released = std::move(it->dispatch);
    sinks_.erase(it);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections) *connections = nullptr;
  return E_NOTIMPL;
}

size_t ConnectionPoint::SinkCount() const {
  std::lock_guard<std::mutex> hold(lock_);
  return sinks_.size();
}

void ConnectionPoint::UnadviseAll() {
  std::vector<Sink> old;
  {
    std::lock_guard<std::mutex> hold(lock_);
    old.swap(sinks_);
  }
}

HRESULT ConnectionPoint::Fire(DISPID dispid, std::vector<VARIANT> args) {
  std::vector<ComPtr<IDispatch>> targets;
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Sink& s : sinks_) targets.push_back(s.dispatch);
  }
  std::reverse(args.begin(), args.end());
  DISPPARAMS params = {};
  params.rgvarg = args.empty() ? nullptr : args.data();
  params.cArgs = static_cast<UINT>(args.size());
  HRESULT result = S_OK;
  for (auto& target : targets) {
    VARIANT ret;
    VariantInit(&ret);
    HRESULT hr =
        target->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &ret, nullptr, nullptr);
    VariantClear(&ret);
    if (FAILED(hr) && hr != E_NOTIMPL && hr != DISP_E_MEMBERNOTFOUND) result = hr;
  }
  return result;
}

HRESULT FindPoint(std::initializer_list<ConnectionPoint*> points, REFIID riid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (ConnectionPoint* p : points) {
    if (IsEqualIID(p->EventIid(), riid)) {
      p->AddRef();
      *out = p;
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

// ---------------------------------------------------------------------------

namespace {

constexpr UINT kRunWork = WM_APP + 1;
const WCHAR kQueueClass[] = u"SondrelEngineOwnerThreadQueue";

struct Work {
  std::function<void()> fn;
};

LRESULT CALLBACK QueueProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRunWork) {
    std::unique_ptr<Work> work(reinterpret_cast<Work*>(lp));
    try {
      if (work && work->fn) work->fn();
    } catch (...) {
      // No exception may leave a window procedure.
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterQueueClass() {
  static bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = QueueProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kQueueClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

struct OwnerThreadQueue::State {
  std::mutex lock;
  HWND window = nullptr;
};

OwnerThreadQueue::OwnerThreadQueue() : state_(std::make_shared<State>()), thread_(GetCurrentThreadId()) {
  if (RegisterQueueClass())
    state_->window =
        CreateWindowExW(0, kQueueClass, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), nullptr);
}

OwnerThreadQueue::~OwnerThreadQueue() {
  HWND window;
  {
    std::lock_guard<std::mutex> hold(state_->lock);
    window = state_->window;
    state_->window = nullptr;
  }
  if (!window) return;
  if (OnOwnerThread()) {
    // Drop work still waiting, then the window.
    MSG msg;
    while (PeekMessageW(&msg, window, kRunWork, kRunWork, PM_REMOVE)) delete reinterpret_cast<Work*>(msg.lParam);
    DestroyWindow(window);
  } else {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

bool OwnerThreadQueue::Post(std::function<void()> work) {
  std::lock_guard<std::mutex> hold(state_->lock);
  if (!state_->window) return false;
  Work* item = new (std::nothrow) Work{std::move(work)};
  if (!item) return false;
  if (!PostMessageW(state_->window, kRunWork, 0, reinterpret_cast<LPARAM>(item))) {
    delete item;
    return false;
  }
  return true;
}

}  // namespace engine
