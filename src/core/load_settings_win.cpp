#include "core/load_settings_win.h"

#include <windows.h>

#include <exception>
#include <string>

#include "core/load_settings.h"
#include "core/password_store.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr wchar_t kMissingSettings[] = L"システムファイルを確認して下さい。";

// The folder of the running program, with a trailing "\".
std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // truncated: a long path
  }
  return Narrow(path.substr(0, path.find_last_of(L'\\') + 1));
}

}  // namespace

void LoadSettings() {
  bool found = false;
  try {
    found = LoadSettingsFrom(ProgramFolder(), LoadPasswordData);
  } catch (const std::exception& e) {
    // An unreadable file or a damaged registry value: start-up cannot go on.
    FatalAppExitW(0, Widen(e.what()).c_str());
  }
  if (!found) FatalAppExitW(0, kMissingSettings);
}

}  // namespace tavisnap
