// TavisnapSetup.exe started from a fresh folder, as a user starts it from the download:
// beside it Soundp.dll (when wanted), logging what it hears, and an installer.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/driver_win.h"

namespace tavisnap::testing {

class Launcher {
 public:
  // installer: a program of the test build's folder, copied in as the silent installer;
  // empty for none.
  explicit Launcher(bool withSoundp = true,
                    const std::string& installer = "setup_standin_installer.exe");
  ~Launcher();

  HWND window() const { return window_; }
  Process& process() { return *process_; }
  // What Soundp.dll received, one "integer<TAB>text" per call.
  std::vector<std::string> Spoken() const;
  // What the stand-in installer recorded, one "file name|parameters" per start.
  std::vector<std::string> InstallerCalls() const;
  HWND Focus() const;
  void PressTab() const;
  // An access key as the keyboard gives it: the character with Alt held.
  void PressAlt(wchar_t letter) const;

 private:
  bool Copy(const std::string& from, const std::string& to) const;

  std::string dir_;
  std::unique_ptr<Process> process_;
  HWND window_ = nullptr;
};

}  // namespace tavisnap::testing
