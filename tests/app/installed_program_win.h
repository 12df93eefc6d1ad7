// A copy of tavisnap.exe installed in a fresh folder with a system.ini of the test's
// choosing, as the installer would lay it out.
#pragma once

#include <memory>
#include <string>

#include "support/driver_win.h"

namespace tavisnap::testing {

class InstalledProgram {
 public:
  // systemIni is UTF-8 text; it is written in code page 932 with CR LF line ends.
  // An empty text installs no system.ini at all.
  explicit InstalledProgram(const std::string& systemIni);

  const std::string& dir() const { return dir_; }
  std::string exe() const { return dir_ + "tavisnap.exe"; }
  std::unique_ptr<Process> Start(const std::wstring& args = L"") const;

 private:
  std::string dir_;
};

// A system.ini with the installed defaults plus the given SYSTEM lines ("KEY=value\n").
std::string DefaultSystemIni(const std::string& extraSystemLines = "");

}  // namespace tavisnap::testing
