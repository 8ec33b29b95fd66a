// TThread: starting suspended, the cooperative pause, terminating a waiting thread, handing
// work to the user-interface thread, and threads that free themselves.
#include "Threads.h"
#include "TrayTestUtil.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace traytest;

namespace {

class TCounter : public TThread {
public:
  explicit TCounter(bool suspended, unsigned step = 5) : TThread(suspended), Step(step) {}
  ~TCounter() override {
    Release();
    WaitFor();
  }
  std::atomic<int> Ticks{0};
  std::atomic<bool> Ran{false};
  unsigned Step;

protected:
  void Execute() override {
    Ran = true;
    while (Pause(Step))
      ++Ticks;
    ReturnValue = 42;
  }
};

TEST(Thread, ACreatedSuspendedThreadStartsOnResume) {
  TCounter t(true);
  Sleep(60);
  EXPECT_FALSE(t.Ran);
  EXPECT_TRUE(t.Suspended());
  t.Resume();
  EXPECT_FALSE(t.Suspended());
  EXPECT_TRUE(PumpUntil([&] { return t.Ticks > 3; }, 3000));
  t.Terminate();
  EXPECT_EQ(t.WaitFor(), 42);
  EXPECT_TRUE(t.Finished());
}

TEST(Thread, TerminateWakesAWaitingThreadAtOnce) {
  TCounter t(false, 60000);
  ASSERT_TRUE(PumpUntil([&] { return t.Ran.load(); }, 3000));
  DWORD start = GetTickCount();
  t.Terminate();
  t.WaitFor();
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(t.Ticks, 0);
}

TEST(Thread, SuspendPausesAtTheNextWaitingPoint) {
  TCounter t(false, 2);
  ASSERT_TRUE(PumpUntil([&] { return t.Ticks > 2; }, 3000));
  t.Suspend();
  t.Suspend();
  Sleep(50); // the thread reaches its waiting point
  const int held = t.Ticks;
  Sleep(100);
  EXPECT_EQ(t.Ticks, held);
  t.Resume();
  Sleep(60);
  EXPECT_EQ(t.Ticks, held); // still suspended once
  t.Resume();
  EXPECT_TRUE(PumpUntil([&] { return t.Ticks > held + 2; }, 3000));
}

TEST(Thread, ANeverStartedThreadEndsWithoutRunning) {
  std::atomic<bool> ran{false};
  class TNever : public TThread {
  public:
    explicit TNever(std::atomic<bool>& ran) : TThread(true), FRan(ran) {}

  protected:
    void Execute() override { FRan = true; }

  private:
    std::atomic<bool>& FRan;
  };
  delete new TNever(ran);
  EXPECT_FALSE(ran);
}

class TSyncer : public TThread {
public:
  TSyncer() : TThread(true) {}
  ~TSyncer() override {
    Release();
    WaitFor();
  }
  DWORD RanOn = 0;
  bool Rethrown = false;

protected:
  void Execute() override {
    Synchronize([this] { RanOn = GetCurrentThreadId(); });
    try {
      Synchronize([] { throw std::runtime_error("in the main thread"); });
    } catch (const std::runtime_error&) {
      Rethrown = true;
    }
  }
};

TEST(Thread, SynchronizeRunsOnTheUserInterfaceThread) {
  TSyncer t;
  t.Resume();
  t.WaitFor(); // handles the work sent meanwhile
  EXPECT_EQ(t.RanOn, GetCurrentThreadId());
  EXPECT_EQ(TThread::MainThreadID(), GetCurrentThreadId());
  EXPECT_TRUE(t.Rethrown);
}

TEST(Thread, AFreeOnTerminateThreadDeletesItself) {
  static std::atomic<int> gone{0};
  class TOnce : public TThread {
  public:
    TOnce() : TThread(true) { FreeOnTerminate = true; }
    ~TOnce() override { ++gone; }

  protected:
    void Execute() override {}
  };
  (new TOnce)->Resume();
  EXPECT_TRUE(PumpUntil([] { return gone == 1; }, 3000));

  // Released while suspended and waiting: it wakes, ends and goes.
  class TWaiter : public TThread {
  public:
    TWaiter() : TThread(false) { FreeOnTerminate = true; }
    ~TWaiter() override { ++gone; }

  protected:
    void Execute() override {
      while (Pause(60000)) {
      }
    }
  };
  auto* waiter = new TWaiter;
  waiter->Suspend();
  waiter->Release();
  EXPECT_TRUE(PumpUntil([] { return gone == 2; }, 3000));
}

} // namespace
