#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "core/foreground.h"
#include "capture/test_window_win.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

DWORD LockTimeout() {
  DWORD value = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0);
  return value;
}

void SetLockTimeout(DWORD value) {
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<ULONG_PTR>(value)), 0);
}

// Another program's window in front: a window of a second thread with its own queue.
class OtherThreadWindow {
 public:
  OtherThreadWindow() {
    thread_ = std::thread([this] {
      BlockWindow other(900, 500);
      other.Show(1);
      hwnd_ = other.hwnd();
      while (!stop_) Pump(20ms);
    });
    WaitUntil([this] { return hwnd_.load() != nullptr; });
  }
  ~OtherThreadWindow() {
    stop_ = true;
    thread_.join();
  }
  HWND hwnd() const { return hwnd_; }

 private:
  std::atomic<HWND> hwnd_{nullptr};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Windows live for the whole suite: under Wine without a window manager, hiding or
// destroying the foreground window stalls for two seconds.
class ForceForegroundTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    main_ = new BlockWindow(100, 100);
    other_ = new OtherThreadWindow;
  }
  static void TearDownTestSuite() {
    delete other_;
    delete main_;
  }
  void SetUp() override {
    saved_ = LockTimeout();
    ASSERT_TRUE(main_->Show(0));
    SetMainWindowHandle(main_->hwnd());
  }
  void TearDown() override {
    SetMainWindowHandle(nullptr);
    SetLockTimeout(saved_);
  }
  // Puts the other thread's window in front, as another program's would be.
  static bool OtherInFront() {
    SetForegroundWindow(other_->hwnd());
    return WaitUntil([] { return GetForegroundWindow() == other_->hwnd(); });
  }

  static inline BlockWindow* main_ = nullptr;
  static inline OtherThreadWindow* other_ = nullptr;
  DWORD saved_ = 0;
};

TEST_F(ForceForegroundTest, BringsTheMainWindowInFrontOfAnotherThreadsWindow) {
  SetLockTimeout(123456);
  ASSERT_EQ(LockTimeout(), 123456u) << "the system keeps no lock time-out";
  ASSERT_TRUE(OtherInFront());
  ASSERT_NE(GetWindowThreadProcessId(other_->hwnd(), nullptr), GetCurrentThreadId());
  ForceForeground();
  EXPECT_EQ(GetForegroundWindow(), main_->hwnd());
  EXPECT_EQ(LockTimeout(), 123456u) << "the lock time-out is as it was";
}

TEST_F(ForceForegroundTest, LeavesAnAlreadyForegroundMainWindowAndTheTimeOutAsTheyWere) {
  SetLockTimeout(200000);
  ASSERT_EQ(GetForegroundWindow(), main_->hwnd());
  ForceForeground();
  EXPECT_EQ(GetForegroundWindow(), main_->hwnd());
  EXPECT_EQ(LockTimeout(), 200000u);
}

TEST_F(ForceForegroundTest, DoesNothingWithoutAMainWindow) {
  SetLockTimeout(7000);
  ASSERT_TRUE(OtherInFront());
  SetMainWindowHandle(nullptr);
  ForceForeground();
  EXPECT_EQ(GetForegroundWindow(), other_->hwnd());
  EXPECT_EQ(LockTimeout(), 7000u);
}

}  // namespace
}  // namespace tavisnap::testing
