#include "setup/launcher_win.h"

#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

std::vector<std::string> LinesOf(const std::string& path) {
  std::vector<std::string> lines;
  if (!FileExists(path)) return lines;
  std::string text = ReadFileBytes(path);
  size_t begin = 0;
  for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
    lines.push_back(text.substr(begin, end - begin));
  }
  return lines;
}

}  // namespace

Launcher::Launcher(bool withSoundp, const std::string& installer)
    : dir_(MakeTempDir("tavisnap-setup")) {
  if (!Copy("TavisnapSetup.exe", "TavisnapSetup.exe") ||
      (withSoundp && !Copy("Soundp.dll", "Soundp.dll")) ||
      (!installer.empty() && !Copy(installer, "tavisnap_setup_silent.exe"))) {
    return;
  }
  SetEnvironmentVariableW(L"TAVISNAP_SOUNDP_LOG", Widen(dir_ + "speech.txt").c_str());
  process_ = Launch(Widen(dir_ + "TavisnapSetup.exe"), L"", Widen(dir_));
  window_ = WaitForTopWindow(L"TSetup_Main", L"", process_->pid, 20s, true);
}

Launcher::~Launcher() {
  if (process_) process_->Kill();
}

std::vector<std::string> Launcher::Spoken() const {
  return LinesOf(dir_ + "speech.txt");
}

std::vector<std::string> Launcher::InstallerCalls() const {
  return LinesOf(dir_ + "installer-calls.txt");
}

HWND Launcher::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
  return info.hwndFocus;
}

void Launcher::PressTab() const {
  HWND focus = Focus();
  PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
  PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC00F0001);
  Pump(300ms);
}

void Launcher::PressAlt(wchar_t letter) const {
  PostMessageW(Focus(), WM_SYSCHAR, letter, 1 << 29);
  Pump(300ms);
}

bool Launcher::Copy(const std::string& from, const std::string& to) const {
  return CopyFileW(Widen(ExeDir() + from).c_str(), Widen(dir_ + to).c_str(), FALSE) != FALSE;
}

}  // namespace tavisnap::testing
