#include "Threads.h"
#include "Handles.h"

#include <stdexcept>

struct TThread::TState {
  std::mutex Lock;
  std::condition_variable Wake;
  bool Terminated = false;
  bool Started = false;
  bool Cancelled = false; // never started before the object went: Execute must not run
  int SuspendCount = 1;   // made suspended; the constructor resumes it unless asked not to
  std::atomic<bool> Finished{false};
  TKernelHandle Handle;
  DWORD Id = 0;
};

namespace {

constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3A1;

struct TSyncRequest {
  const std::function<void()>* Method;
  std::exception_ptr Failed;
};

LRESULT CALLBACK SyncWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_SYNCHRONIZE) {
    auto* request = reinterpret_cast<TSyncRequest*>(lparam);
    try {
      (*request->Method)();
    } catch (...) {
      request->Failed = std::current_exception();
    }
    return 1;
  }
  return DefWindowProcA(wnd, msg, wparam, lparam);
}

struct TSyncWindow {
  HWND Wnd = nullptr;
  DWORD ThreadId = 0;
  TSyncWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = SyncWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TThreadSyncWindow";
    RegisterClassA(&wc);
    // A message-only window: it receives only the work sent to it.
    Wnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          wc.hInstance, nullptr);
    ThreadId = GetCurrentThreadId();
  }
  ~TSyncWindow() {
    if (Wnd && GetCurrentThreadId() == ThreadId) DestroyWindow(Wnd);
  }
};

TSyncWindow& SyncWindow() {
  static TSyncWindow window;
  return window;
}

struct TStart {
  TThread* Self;
  std::shared_ptr<TThread::TState> State;
};

} // namespace

DWORD TThread::MainThreadID() {
  return SyncWindow().ThreadId;
}

TThread::TThread(bool createSuspended) : FState(std::make_shared<TState>()) {
  SyncWindow(); // the thread that makes the first thread object is the user-interface thread
  auto start = std::make_unique<TStart>(TStart{this, FState});
  FState->Handle.Reset(
      CreateThread(nullptr, 0, ThreadProc, start.get(), CREATE_SUSPENDED, &FState->Id));
  if (!FState->Handle) throw std::runtime_error("Thread creation error");
  start.release(); // the thread owns it from here on
  if (!createSuspended) Resume();
}

TThread::~TThread() {
  if (GetCurrentThreadId() == FState->Id) return; // a FreeOnTerminate thread ending
  bool cancel = false;
  {
    std::lock_guard<std::mutex> g(FState->Lock);
    if (!FState->Started) cancel = FState->Started = FState->Cancelled = true;
  }
  if (cancel)
    ResumeThread(FState->Handle.Get()); // it ends at once without running Execute
  else
    Release();
  WaitFor();
}

DWORD WINAPI TThread::ThreadProc(void* param) {
  std::unique_ptr<TStart> start(static_cast<TStart*>(param));
  std::shared_ptr<TState> state = start->State;
  TThread* self = start->Self;
  {
    std::lock_guard<std::mutex> g(state->Lock);
    if (state->Cancelled) {
      state->Finished = true;
      return 0;
    }
  }
  try {
    self->Execute();
  } catch (...) {
    // An error of the thread ends the thread only.
  }
  const bool freeSelf = self->FreeOnTerminate;
  const int result = self->ReturnValue;
  state->Finished = true;
  if (freeSelf) delete self;
  return static_cast<DWORD>(result);
}

HANDLE TThread::Handle() const {
  return FState->Handle.Get();
}
DWORD TThread::ThreadID() const {
  return FState->Id;
}
bool TThread::Finished() const {
  return FState->Finished.load();
}

bool TThread::Terminated() const {
  std::lock_guard<std::mutex> g(FState->Lock);
  return FState->Terminated;
}

void TThread::Resume() {
  std::shared_ptr<TState> state = FState;
  bool start = false;
  {
    std::lock_guard<std::mutex> g(state->Lock);
    if (state->SuspendCount > 0) --state->SuspendCount;
    if (state->SuspendCount == 0 && !state->Started) start = state->Started = true;
  }
  if (start)
    ResumeThread(state->Handle.Get());
  else
    state->Wake.notify_all();
}

void TThread::Suspend() {
  std::lock_guard<std::mutex> g(FState->Lock);
  ++FState->SuspendCount;
}

bool TThread::Suspended() const {
  std::lock_guard<std::mutex> g(FState->Lock);
  return FState->SuspendCount > 0;
}

void TThread::Terminate() {
  std::shared_ptr<TState> state = FState;
  {
    std::lock_guard<std::mutex> g(state->Lock);
    state->Terminated = true;
  }
  state->Wake.notify_all();
}

void TThread::Release() {
  // From here on only the local reference to the state is used: the thread may end, and a
  // FreeOnTerminate object delete itself, at any moment.
  std::shared_ptr<TState> state = FState;
  bool start = false;
  {
    std::lock_guard<std::mutex> g(state->Lock);
    state->Terminated = true;
    state->SuspendCount = 0;
    if (!state->Started) start = state->Started = true;
  }
  if (start)
    ResumeThread(state->Handle.Get());
  else
    state->Wake.notify_all();
}

int TThread::WaitFor() {
  std::shared_ptr<TState> state = FState;
  if (GetCurrentThreadId() == state->Id) throw std::logic_error("A thread cannot wait for itself");
  // Work the thread hands over with Synchronize arrives as sent messages; handling them here
  // keeps the two threads from waiting for each other.
  HANDLE handle = state->Handle.Get();
  for (;;) {
    DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  DWORD code = 0;
  GetExitCodeThread(state->Handle.Get(), &code);
  return static_cast<int>(code);
}

bool TThread::Synchronize(const std::function<void()>& method) {
  TSyncWindow& sync = SyncWindow();
  if (GetCurrentThreadId() == sync.ThreadId) {
    method();
    return true;
  }
  TSyncRequest request{&method, nullptr};
  // Waits for the user-interface thread; fails at once when that thread's window is gone.
  if (SendMessageA(sync.Wnd, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&request)) != 1)
    return false;
  if (request.Failed) std::rethrow_exception(request.Failed);
  return true;
}

bool TThread::Pause(unsigned ms) {
  std::unique_lock<std::mutex> g(FState->Lock);
  TState& s = *FState;
  s.Wake.wait_for(g, std::chrono::milliseconds(ms), [&s] { return s.Terminated; });
  s.Wake.wait(g, [&s] { return s.Terminated || s.SuspendCount == 0; });
  return !s.Terminated;
}
