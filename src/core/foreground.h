// Bringing the (usually hidden) main window in front before a message, so that the box
// opens where the user is, not behind another program's window.
#pragma once

#include <cstdint>

namespace tavisnap {

// The main window that ForceForeground brings in front: its HWND, registered when it is
// created (nullptr to unregister). Kept as void* so that portable code can pass it on.
void SetMainWindowHandle(void* hwnd);
void* MainWindowHandle();

// The system calls ForceForeground makes, so that their order can be checked.
class ForegroundPlatform {
 public:
  virtual ~ForegroundPlatform() = default;
  // The thread of the foreground window (0: none) and the calling thread.
  virtual uint32_t ForegroundThread() = 0;
  virtual uint32_t CurrentThread() = 0;
  virtual bool AttachInput(uint32_t from, uint32_t to, bool attach) = 0;
  virtual bool GetLockTimeout(uint32_t& milliseconds) = 0;
  virtual void SetLockTimeout(uint32_t milliseconds) = 0;
  virtual void SetForeground(void* window) = 0;
};

// Makes window the foreground window despite the system's foreground lock: input
// attached to the foreground thread, lock time-out 0 for the one call, both undone
// before it returns. Results are not examined beyond what undoing needs.
void BringToForeground(ForegroundPlatform& platform, void* window);

// The same for the registered main window with the system's calls. Does nothing when
// no main window is registered, and does nothing off Windows.
void ForceForeground();

}  // namespace tavisnap
