#include "core/internet_win.h"

#include <windows.h>
#include <wininet.h>

#include "core/startup.h"

namespace tavisnap {

bool WaitForInternet(const std::function<void()>& processMessages) {
  InternetWait wait;
  wait.isConnected = [] {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
  };
  wait.processMessages = processMessages;
  wait.sleep = [](int ms) { Sleep(static_cast<DWORD>(ms)); };
  return WaitForInternet(wait);
}

}  // namespace tavisnap
