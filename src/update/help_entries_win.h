// The three entries of every Help menu: the help page, the readme and the version box.
#pragma once

#include <windows.h>

namespace tavisnap {

// Hand the document to the shell's default handler, owned by the window whose menu was
// used; the shell's answer is not looked at.
void OpenHelpPage(HWND owner);
void OpenReadme(HWND owner);

// The version box; a version block without a translation table throws AppError first.
void ShowVersionBox();

}  // namespace tavisnap
