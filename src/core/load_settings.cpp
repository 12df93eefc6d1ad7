#include "core/load_settings.h"

#include "core/ascii_text.h"
#include "core/define.h"
#include "core/file_util.h"
#include "core/password_store.h"
#include "core/settings_file.h"
#include "core/settings_list.h"

namespace tavisnap {
namespace {

std::string System(const char* key) {
  return Settings.Get(std::string("SYSTEM.") + key);
}
bool SystemFlag(const char* key) {
  return System(key) == "1";
}
std::string SystemOr(const char* key, const char* fallback) {
  std::string value = System(key);
  return value.empty() ? fallback : value;
}

void SetPaths(const std::string& appDir) {
  AppDir = appDir;
  if (AppDir.empty() || AppDir.back() != kPathSeparator) AppDir += kPathSeparator;
  IniPath = AppDir + "system.ini";
  CaptureDir = AppDir + "capture";
  CaptureFile = CaptureDir;
  if (CaptureFile.back() != kPathSeparator) CaptureFile += kPathSeparator;
  CaptureFile += "capture.jpg";
}

void FillSysInfo(const PasswordLoader& loadPassword) {
  SysInfo.SignedIn = false;
  SysInfo.MailId = System("MAILID");
  std::string stored = loadPassword();
  SysInfo.Password = stored.empty() ? std::string() : DecodePasswordText(stored);
  SysInfo.AutoLogin = SystemFlag("AUTOLOGIN");
  SysInfo.Logo = SystemFlag("LOGO");
  SysInfo.Voice = SystemOr("VOICE", "0");
  SysInfo.HotKey = SystemOr("HOTKEY", "PS");
  SysInfo.BasicAuth = SystemFlag("BASIC_AUTH");
  SysInfo.HomeUrl = System("HOME_URL");
  SysInfo.DstName = System("DST_NAME");
  SysInfo.DstMailAdr = System("DST_MAILADR");
  SysInfo.UpdateUrl = System("UPDATE_URL");
  SysInfo.CapFileDel = SystemFlag("CAPFILEDEL");
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

bool LoadSettingsFrom(const std::string& appDir, const PasswordLoader& loadPassword) {
  SetPaths(appDir);
  Settings.Clear();
  if (!ReadSettingsFile(IniPath, Settings)) return false;
  FillSysInfo(loadPassword);
  HotKeyReady = "OFF";
  BaseUrl = ServiceUrlFrom(System("SERVICE_URL"));
  CaFile = CaFileFrom(System("CA_FILE"), AppDir);
  RunMode = kRunModeOffline;
  return true;
}

}  // namespace tavisnap
