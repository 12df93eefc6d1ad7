// A copy of the installation laid out for the test run (tools/wine-run --install lays it
// out with scripts/layout-install.sh, as a user gets it) in a fresh folder of its own.
#pragma once

#include <memory>
#include <string>

#include "support/driver_win.h"

namespace tavisnap::testing {

class InstalledProgram {
 public:
  // Copies every file of TAVISNAP_INSTALL_DIR; throws when the test runs without one.
  InstalledProgram();

  const std::string& dir() const { return dir_; }
  std::string exe() const { return dir_ + "tavisnap.exe"; }
  std::string systemIni() const { return dir_ + "system.ini"; }
  std::unique_ptr<Process> Start(const std::wstring& args = L"") const;

  // Gives a SYSTEM key of the installed system.ini a value (UTF-8), as a user's earlier
  // session would have left it; the key's line must be there.
  void SetSystemValue(const std::string& key, const std::string& value) const;
  void RemoveSystemIni() const;

  // Whether system.ini soon holds the whole line (its bytes as stored, no line end): a running
  // program saves some steps after their result box, and opening the file can fail for a
  // moment while the program replaces it.
  bool SystemIniHas(const std::string& line) const;

 private:
  std::string dir_;
};

}  // namespace tavisnap::testing
