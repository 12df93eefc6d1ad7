#include "core/load_settings_win.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <exception>
#include <optional>
#include <string>

#include "core/load_settings.h"
#include "core/password_store.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr wchar_t kMissingSettings[] = L"システムファイルを確認して下さい。";
constexpr wchar_t kNoProfile[] = L"ユーザーのフォルダーが見つかりません。";
constexpr char kProgramFolderName[] = "Tavisnap";

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

// The program's folder inside one of the user's profile folders; the folder itself is
// made when something is first written there.
std::optional<std::string> ProfileFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path);
  std::optional<std::string> folder;
  if (SUCCEEDED(result) && path) folder = Narrow(path) + "\\" + kProgramFolderName + "\\";
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

void LoadSettings() {
  std::optional<std::string> roaming = ProfileFolder(FOLDERID_RoamingAppData);
  std::optional<std::string> local = ProfileFolder(FOLDERID_LocalAppData);
  if (!roaming || !local) FatalAppExitW(0, kNoProfile);
  bool found = false;
  try {
    found = LoadSettingsFrom({ProgramFolder(), *roaming, *local}, LoadPasswordData);
  } catch (const std::exception& e) {
    // An unreadable file, a profile that cannot be written or a damaged registry value:
    // start-up cannot go on.
    FatalAppExitW(0, Widen(e.what()).c_str());
  }
  if (!found) FatalAppExitW(0, kMissingSettings);
}

}  // namespace tavisnap
