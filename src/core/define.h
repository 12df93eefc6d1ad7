// Process-wide records and globals shared by every subsystem. Everything here is
// touched only on the user-interface thread; what the upload worker shares lives in
// the service subsystem and is guarded there.
#pragma once

#include <string>

namespace tavisnap {

// The SYSTEM settings parsed for quick use. Strings are UTF-8.
struct TTypSysInfo {
  bool SignedIn = false;  // an account signed in during this run
  std::string MailId;
  std::string Password;  // plain text, from the registry, never from the file
  bool AutoLogin = false;
  bool Logo = false;
  bool BasicAuth = false;
  std::string Voice = "0";
  std::string HotKey = "PS";
  std::string HomeUrl;
  std::string DstName;
  std::string DstMailAdr;
  std::string UpdateUrl;
  bool CapFileDel = false;
};

enum : int { kRunModeOnline = 1, kRunModeOffline = 2 };

inline TTypSysInfo SysInfo;

// The program folder is the administrator's: the program reads it and never writes it.
// What a user owns lives in that user's profile, where the profile's own rights keep
// other users out.
inline std::string AppDir;          // program folder, with a trailing separator
inline std::string MachineIniPath;  // AppDir + "system.ini": the installation's defaults
inline std::string UserDataDir;     // the user's roaming folder of the program, trailing separator
inline std::string LocalDataDir;    // the user's folder on this machine, trailing separator
inline std::string IniPath;         // UserDataDir + "system.ini": read, re-read and written
inline std::string CaptureDir;      // LocalDataDir + "capture", no trailing separator
inline std::string CaptureFile;     // CaptureDir + separator + "capture.jpg"
inline std::string BaseUrl;         // service base URL, https, ending in "/"
inline std::string CaFile;          // extra trusted authorities (PEM), may be empty
inline std::string HotKeyReady = "OFF";
inline int RunMode = kRunModeOffline;
inline std::string CurrentVersion;
inline std::string LatestVersion;

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The service this build talks to when system.ini names none.
inline constexpr const char* kDefaultServiceUrl = "https://www.tavisnap.jp/";

}  // namespace tavisnap
