#include "core/load_settings.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/app_error.h"
#include "core/ascii_text.h"
#include "core/define.h"
#include "core/file_util.h"
#include "core/password_store.h"
#include "core/settings_file.h"
#include "core/settings_list.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;

// The SYSTEM key of the list: the user's file for the user's keys, the installed file for
// the machine's.
class SystemKeys {
 public:
  SystemKeys(const SettingsList& user, const SettingsList& machine)
      : user_(user), machine_(machine) {}

  std::string Get(std::string_view key) const {
    std::string name = "SYSTEM." + std::string(key);
    for (std::string_view machineKey : kMachineKeys) {
      if (EqualsIgnoringCase(key, machineKey)) return machine_.Get(name);
    }
    return user_.Get(name);
  }
  bool Flag(std::string_view key) const { return Get(key) == "1"; }
  std::string GetOr(std::string_view key, const char* fallback) const {
    std::string value = Get(key);
    return value.empty() ? fallback : value;
  }

 private:
  const SettingsList& user_;
  const SettingsList& machine_;
};

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

void SetPaths(const ProgramFolders& folders) {
  AppDir = WithSeparator(folders.program);
  MachineIniPath = AppDir + "system.ini";
  UserDataDir = WithSeparator(folders.roaming);
  LocalDataDir = WithSeparator(folders.local);
  IniPath = UserDataDir + "system.ini";
  CaptureDir = LocalDataDir + "capture";
  CaptureFile = CaptureDir + kPathSeparator + "capture.jpg";
}

// A user's first start: the user's file begins as the installed file's bytes, so an
// installation whose shared file held the account and the address book hands them over
// as they were.
void MakeUserFile() {
  std::error_code ec;
  if (fs::exists(U8Path(IniPath), ec) || ec) return;  // a file that cannot be seen fails its read
  std::optional<std::string> bytes = ReadWholeFile(MachineIniPath);
  if (!bytes) throw AppError(kIniReadError);
  fs::create_directories(U8Path(UserDataDir), ec);
  if (!AtomicWriteFile(IniPath, *bytes)) throw AppError(kIniWriteError);
}

void FillSysInfo(const SystemKeys& system, const PasswordLoader& loadPassword) {
  SysInfo.SignedIn = false;
  SysInfo.MailId = system.Get("MAILID");
  std::string stored = loadPassword();
  SysInfo.Password = stored.empty() ? std::string() : DecodePasswordText(stored);
  SysInfo.AutoLogin = system.Flag("AUTOLOGIN");
  SysInfo.Logo = system.Flag("LOGO");
  SysInfo.Voice = system.GetOr("VOICE", "0");
  SysInfo.HotKey = system.GetOr("HOTKEY", "PS");
  SysInfo.BasicAuth = system.Flag("BASIC_AUTH");
  SysInfo.HomeUrl = system.Get("HOME_URL");
  SysInfo.DstName = system.Get("DST_NAME");
  SysInfo.DstMailAdr = system.Get("DST_MAILADR");
  SysInfo.UpdateUrl = system.Get("UPDATE_URL");
  SysInfo.CapFileDel = system.Flag("CAPFILEDEL");
}

}  // namespace

std::string ServiceUrlFrom(const std::string& configured) {
  constexpr std::string_view kScheme = "https://";
  std::string_view url = configured;
  bool ok = url.size() > kScheme.size() + 1 &&
            EqualsIgnoringCase(url.substr(0, kScheme.size()), kScheme) &&
            url[kScheme.size()] != '/' && url.back() == '/';
  for (char c : url) ok = ok && static_cast<unsigned char>(c) > 0x20;
  return ok ? configured : kDefaultServiceUrl;
}

std::string CaFileFrom(const std::string& configured, const std::string& appDir) {
  if (configured.empty()) return {};
  std::filesystem::path p = U8Path(configured);
  if (p.has_root_name() || p.has_root_directory()) return configured;
  return appDir + configured;
}

bool LoadSettingsFrom(const ProgramFolders& folders, const PasswordLoader& loadPassword) {
  SetPaths(folders);
  Settings.Clear();
  SettingsList machine;
  if (!ReadSettingsFile(MachineIniPath, machine)) return false;
  MakeUserFile();
  if (!ReadSettingsFile(IniPath, Settings)) return false;
  SystemKeys system(Settings, machine);
  FillSysInfo(system, loadPassword);
  HotKeyReady = "OFF";
  BaseUrl = ServiceUrlFrom(system.Get("SERVICE_URL"));
  CaFile = CaFileFrom(system.Get("CA_FILE"), AppDir);
  RunMode = kRunModeOffline;
  return true;
}

}  // namespace tavisnap
