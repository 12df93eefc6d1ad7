// Start-up reading of the settings: the path globals, the settings list, SysInfo and the
// service address. The Windows entry point is LoadSettings() in load_settings_win.h.
#pragma once

#include <functional>
#include <string>

namespace tavisnap {

// Returns the saved password as stored (Base64), "" when there is none.
using PasswordLoader = std::function<std::string()>;

// Sets AppDir (appDir with a trailing separator), IniPath, CaptureDir and CaptureFile,
// fills Settings from AppDir's system.ini and SysInfo from its SYSTEM section, takes the
// password from loadPassword (only when the file exists), sets BaseUrl and CaFile from
// the deployment keys SERVICE_URL and CA_FILE, HotKeyReady "OFF" and RunMode offline.
// Returns false, with only the paths set, when system.ini is missing. Throws AppError
// when the file cannot be read or loadPassword fails.
bool LoadSettingsFrom(const std::string& appDir, const PasswordLoader& loadPassword);

// SERVICE_URL when it is an https URL ending in "/", otherwise kDefaultServiceUrl.
std::string ServiceUrlFrom(const std::string& configured);
// CA_FILE, relative to appDir unless it is rooted; "" stays "".
std::string CaFileFrom(const std::string& configured, const std::string& appDir);

}  // namespace tavisnap
