#include <windows.h>

#include "core/foreground.h"

namespace tavisnap {
namespace {

class Win32ForegroundPlatform final : public ForegroundPlatform {
 public:
  uint32_t ForegroundThread() override {
    return GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  }
  uint32_t CurrentThread() override { return GetCurrentThreadId(); }
  bool AttachInput(uint32_t from, uint32_t to, bool attach) override {
    return AttachThreadInput(from, to, attach ? TRUE : FALSE) != FALSE;
  }
  bool GetLockTimeout(uint32_t& milliseconds) override {
    DWORD value = 0;
    if (!SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &value, 0)) return false;
    milliseconds = value;
    return true;
  }
  // The value travels in the pointer argument itself; 0: not written to the user profile.
  void SetLockTimeout(uint32_t milliseconds) override {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                          reinterpret_cast<void*>(static_cast<ULONG_PTR>(milliseconds)), 0);
  }
  void SetForeground(void* window) override { SetForegroundWindow(static_cast<HWND>(window)); }
};

}  // namespace

void ForceForeground() {
  Win32ForegroundPlatform platform;
  BringToForeground(platform, MainWindowHandle());
}

}  // namespace tavisnap
