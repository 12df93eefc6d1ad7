#include "core/single_instance_win.h"

#include <shellapi.h>

#include "core/codepage.h"
#include "core/prompter.h"
#include "core/startup.h"
#include "win/message_box_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr wchar_t kMutexName[] = L"{544FA0D0-9452-4470-A0FA-C281863704F7}";
constexpr wchar_t kMainWindowClass[] = L"TFormMainTavisnap";
constexpr const char* kAlreadyRunning = "既にタビスナップは起動されています";

}  // namespace

SingleInstanceGuard::SingleInstanceGuard() {
  // Creating and testing for ERROR_ALREADY_EXISTS in one call leaves no gap in which two
  // starts could both believe they are first.
  mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
  first_ = mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  if (!first_ && mutex_) {
    CloseHandle(mutex_);
    mutex_ = nullptr;
  }
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (mutex_) CloseHandle(mutex_);
}

void NotifyRunningInstance(const std::vector<std::string>& params) {
  std::string joined = Utf8ToCp932(JoinInstanceParameters(params));
  HWND running = FindWindowW(kMainWindowClass, nullptr);
  if (!joined.empty() && running) {
    COPYDATASTRUCT data{};
    data.dwData = 1;
    data.cbData = static_cast<DWORD>(joined.size() + 1);  // with the terminating zero
    data.lpData = joined.data();
    SendMessageW(running, WM_COPYDATA, reinterpret_cast<WPARAM>(running),
                 reinterpret_cast<LPARAM>(&data));
  }
  ShowMessageBox(kAlreadyRunning, kCaptionConfirmation, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

std::vector<std::string> CommandLineParameters() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> params;
  for (int i = 1; argv && i < argc; ++i) params.push_back(Narrow(argv[i]));
  if (argv) LocalFree(argv);
  return params;
}

}  // namespace tavisnap
