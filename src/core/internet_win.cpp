#include "core/internet_win.h"

#include <windows.h>
#include <wininet.h>

#include "core/startup.h"
#include "win/window_win.h"

namespace tavisnap {

bool WaitForInternet() {
  InternetWait wait;
  wait.isConnected = [] {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
  };
  wait.processMessages = ProcessPendingMessages;
  wait.sleep = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
  return WaitForInternet(wait);
}

}  // namespace tavisnap
