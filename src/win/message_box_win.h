// The program's message boxes: topmost, no icon, brought to the foreground so that a
// screen reader finds them even when another program is in front.
#pragma once

#include <windows.h>

#include <string>

namespace tavisnap {

// MessageBoxW with UTF-8 texts; adds MB_TASKMODAL (unless flags name a mode) so the
// program's other windows wait.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

// A box owned by `owner`, which it disables while it is open; flags are passed unchanged.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

}  // namespace tavisnap
