// A copy of the installation laid out for the test run (tools/wine-run --install lays it
// out with scripts/layout-install.sh, as a user gets it) in a fresh folder of its own, and
// the files the program keeps for the user in the user's profile.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "support/driver_win.h"

namespace tavisnap::testing {

// The program's folder in the user's profile, with a trailing "\": roaming
// (%APPDATA%\Tavisnap\: system.ini) or local (%LOCALAPPDATA%\Tavisnap\: the capture
// folder, the outbox, a downloaded updater).
std::string UserFolder(bool roaming);

class InstalledProgram {
 public:
  // Copies every file of TAVISNAP_INSTALL_DIR; throws when the test runs without one.
  // The user starts afresh: what an earlier case left in the profile's Tavisnap folders
  // is removed.
  InstalledProgram();

  const std::string& dir() const { return dir_; }
  std::string exe() const { return dir_ + "tavisnap.exe"; }
  // The installation's defaults, which the program only reads.
  std::string installedIni() const { return dir_ + "system.ini"; }
  // The user's settings: the file the program reads and writes.
  std::string systemIni() const { return UserFolder(true) + "system.ini"; }
  std::string captureFile() const { return UserFolder(false) + "capture\\capture.jpg"; }
  std::string outboxDir() const { return UserFolder(false) + "outbox\\"; }
  std::unique_ptr<Process> Start(const std::wstring& args = L"") const;

  // Gives a SYSTEM key of the user's system.ini a value (UTF-8), as a user's earlier
  // session would have left it; before the first start the file is made as the program
  // makes it, from the installed one. The key's line must be there.
  void SetSystemValue(const std::string& key, const std::string& value) const;
  void RemoveSystemIni() const;  // the installed one

  // Whether the user's system.ini soon holds the whole line (its bytes as stored, no line
  // end): a running program saves some steps after their result box, and opening the file
  // can fail for a moment while the program replaces it.
  bool SystemIniHas(const std::string& line) const;

  // Every file and folder under the program folder with a digest of its bytes (folders
  // 0), by path relative to it: what a day's use must leave as it found.
  std::map<std::wstring, uint64_t> Listing() const;

 private:
  std::string dir_;
};

}  // namespace tavisnap::testing
