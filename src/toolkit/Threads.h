// TThread: a background thread with a terminate request, a cooperative pause, and
// Synchronize, which runs a piece of work on the user-interface thread and waits for it.
//
// Threads are created, resumed, suspended and terminated from the user-interface thread (the
// thread that created the first TThread). The thread itself pauses only at its own waiting
// points (Pause), so it is never stopped while it holds a lock.
#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class TThread {
public:
  // A thread created suspended starts when Resume (or Start) is called.
  explicit TThread(bool createSuspended);
  // Asks the thread to end and waits for it; sent messages (Synchronize) are handled meanwhile.
  // A thread that never started ends without running Execute. Derived classes whose Execute
  // uses their own members call Release() and WaitFor() in their own destructor. Not for a
  // started FreeOnTerminate thread, which deletes itself.
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start() { Resume(); }
  // Undoes one Suspend (or starts a thread created suspended).
  void Resume();
  // The thread pauses at its next waiting point until resumed.
  void Suspend();
  bool Suspended() const;
  // Asks the thread to end; a waiting thread wakes at once.
  void Terminate();
  // Asks the thread to end and lets it run to its end in one step: every suspension is undone
  // and a thread that never started starts. A FreeOnTerminate thread may be gone as soon as
  // this returns (this call itself touches nothing of the object after the thread can end).
  void Release();
  bool Terminated() const;
  bool Finished() const;
  // Waits until Execute has returned; returns ReturnValue. Handles sent messages while waiting.
  int WaitFor();

  // The object deletes itself when Execute returns.
  bool FreeOnTerminate = false;
  int ReturnValue = 0;
  HANDLE Handle() const;
  DWORD ThreadID() const;

  // The thread Synchronize hands its work to.
  static DWORD MainThreadID();

  struct TState;

protected:
  virtual void Execute() = 0;
  // Runs method on the user-interface thread and returns when it has run there (an exception
  // it raises is raised again here). Called on the user-interface thread, it simply runs the
  // method. Returns false when the work could not be handed over (that thread's window is gone).
  bool Synchronize(const std::function<void()>& method);
  // Waits ms milliseconds, or less when the thread is asked to end, and then as long as the
  // thread is suspended. Returns !Terminated().
  bool Pause(unsigned ms);

private:
  static DWORD WINAPI ThreadProc(void* param);
  std::shared_ptr<TState> FState; // shared with the running thread, so it outlives the object
};
