#include <windows.h>

#include "core/foreground.h"

namespace tavisnap {
namespace {

// The lock time-out is system-wide: whatever happens after it is lowered, it goes back.
class ForegroundLockTimeoutZeroed {
 public:
  ForegroundLockTimeoutZeroed() {
    saved_ = SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout_, 0) != FALSE;
    // Without the old value it could not be restored, so leave it alone.
    if (saved_) SetTimeout(0);
  }
  ~ForegroundLockTimeoutZeroed() {
    if (saved_) SetTimeout(timeout_);
  }
  ForegroundLockTimeoutZeroed(const ForegroundLockTimeoutZeroed&) = delete;
  ForegroundLockTimeoutZeroed& operator=(const ForegroundLockTimeoutZeroed&) = delete;

 private:
  // The value travels in the pointer argument itself; 0: not written to the user profile.
  static void SetTimeout(DWORD value) {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<ULONG_PTR>(value)), 0);
  }
  DWORD timeout_ = 0;
  bool saved_ = false;
};

// Shares the foreground thread's input state with ours, which lets SetForegroundWindow
// through; undone on scope exit.
class InputAttached {
 public:
  InputAttached() {
    DWORD self = GetCurrentThreadId();
    foreground_ = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    // A thread cannot be attached to itself; detaching would then undo nothing of ours.
    attached_ = foreground_ != 0 && foreground_ != self &&
                AttachThreadInput(foreground_, self, TRUE) != FALSE;
  }
  ~InputAttached() {
    if (attached_) AttachThreadInput(foreground_, GetCurrentThreadId(), FALSE);
  }
  InputAttached(const InputAttached&) = delete;
  InputAttached& operator=(const InputAttached&) = delete;

 private:
  DWORD foreground_ = 0;
  bool attached_ = false;
};

}  // namespace

void ForceForeground() {
  HWND main = static_cast<HWND>(MainWindowHandle());
  if (main == nullptr) return;
  InputAttached attached;
  ForegroundLockTimeoutZeroed unlocked;
  SetForegroundWindow(main);
}

}  // namespace tavisnap
