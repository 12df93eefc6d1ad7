#include "update/help_entries_win.h"

#include <shellapi.h>

#include <string>

#include "core/define.h"
#include "update/about.h"
#include "update/version_info.h"
#include "win/message_box_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

void OpenWithShell(HWND owner, const std::string& target) {
  std::wstring wide = Widen(target);
  ShellExecuteW(owner, nullptr, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void OpenHelpPage(HWND owner) {
  OpenWithShell(owner, HelpPageAddress(SysInfo.HomeUrl));
}

void OpenReadme(HWND owner) {
  OpenWithShell(owner, ReadmePath(AppDir));
}

void ShowVersionBox() {
  VersionStrings strings{ReadVersionInfo("ProductName"), ReadVersionInfo("ProductVersion"),
                         ReadVersionInfo("LegalCopyright")};
  ShowMessageBox(VersionBoxText(strings), kVersionBoxCaption,
                 MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace tavisnap
