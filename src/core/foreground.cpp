#include "core/foreground.h"

namespace tavisnap {
namespace {
void* g_mainWindow = nullptr;
}  // namespace

void SetMainWindowHandle(void* hwnd) {
  g_mainWindow = hwnd;
}
void* MainWindowHandle() {
  return g_mainWindow;
}

void BringToForeground(ForegroundPlatform& platform, void* window) {
  if (window == nullptr) return;
  const uint32_t foreground = platform.ForegroundThread();
  const uint32_t self = platform.CurrentThread();
  // A thread cannot be attached to itself; detaching would then undo nothing of ours.
  const bool attached =
      foreground != 0 && foreground != self && platform.AttachInput(foreground, self, true);
  uint32_t timeout = 0;
  // Without the old value it could not be restored, so leave it alone.
  const bool saved = platform.GetLockTimeout(timeout);
  if (saved) platform.SetLockTimeout(0);
  platform.SetForeground(window);
  if (saved) platform.SetLockTimeout(timeout);
  if (attached) platform.AttachInput(foreground, self, false);
}

}  // namespace tavisnap
