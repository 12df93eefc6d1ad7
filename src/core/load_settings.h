// Start-up reading of the settings: the path globals, the settings list, SysInfo and the
// service address. The Windows entry point is LoadSettings() in load_settings_win.h.
//
// Two files take part. The installed system.ini in the program folder holds the
// machine's defaults and is never written; the keys the program never writes
// (kMachineKeys) are always taken from it, so that the administrator's deployment decides
// where the program connects and what it trusts. The user's own system.ini holds the
// rest; a user's first start makes it as a copy of the installed file, which carries an
// older installation's account and address book over unchanged.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tavisnap {

// Returns the saved password as stored (Base64), "" when there is none.
using PasswordLoader = std::function<std::string()>;

// SYSTEM keys whose values come from the installed file only; the user's file may hold
// them (its copy of the installed file does), but its values are not used.
inline constexpr std::array<std::string_view, 7> kMachineKeys = {
    "SERVICE_URL", "CA_FILE", "HOME_URL", "UPDATE_URL", "LOGO", "VOICE", "CAPFILEDEL"};

struct ProgramFolders {
  std::string program;  // the installation: tavisnap.exe, the installed system.ini
  std::string roaming;  // the user's settings, which follow the user to other machines
  std::string local;    // the user's pictures and downloads, on this machine only
};

// Sets the path globals: AppDir, MachineIniPath, UserDataDir, LocalDataDir (each folder
// with a trailing separator), IniPath, CaptureDir and CaptureFile. Then, when the
// installed system.ini exists: makes the user's system.ini as a byte-for-byte copy of it
// when there is none yet (creating its folder), fills Settings from the user's file and
// SysInfo from its SYSTEM section, with kMachineKeys from the installed file; takes the
// password from loadPassword; sets BaseUrl and CaFile from SERVICE_URL and CA_FILE,
// HotKeyReady "OFF" and RunMode offline. Returns false, with only the paths set, when the
// installed file is missing. Throws AppError when a file cannot be read, the user's file
// cannot be made, or loadPassword fails.
bool LoadSettingsFrom(const ProgramFolders& folders, const PasswordLoader& loadPassword);

// SERVICE_URL when it is an https URL ending in "/", otherwise kDefaultServiceUrl.
std::string ServiceUrlFrom(const std::string& configured);
// CA_FILE, relative to appDir unless it is rooted; "" stays "".
std::string CaFileFrom(const std::string& configured, const std::string& appDir);

}  // namespace tavisnap
