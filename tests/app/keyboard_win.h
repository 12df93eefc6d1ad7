// A keyboard user at a running tavisnap.exe: keys go through the system's input queue to
// the window in front, and the focus is read back from the program's thread, so a step
// that works here works for a person with a screen reader.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/driver_win.h"

namespace tavisnap::testing {

// The control that holds the keyboard focus in the thread that owns window.
HWND FocusOf(HWND window);
// Puts window in front, as the task switcher does, and waits until it is there.
bool BringToFront(HWND window);
// Types text as the key presses of its characters.
void TypeText(const std::wstring& text);
// Presses Tab until control holds the focus; false when it is not reached within `most`
// presses (the tab order skips it).
bool TabTo(HWND control, int most = 40);
// Waits for the process's next message box and answers it with Enter, the key a user
// presses on its default button, after `backTabs` Shift+Tab presses (1 reaches OK of a box
// whose default is Cancel).
std::optional<MessageBoxInfo> EnterOnBox(DWORD pid, int backTabs = 0);

// Opens the tray icon's menu as the keyboard does (Shift+F10 on the icon) and presses the
// access keys in order; false when the menu does not open.
bool TrayMenuKeys(HWND main, std::initializer_list<WORD> accessKeys);
// Puts window in front and walks its menu bar with Alt and the access keys.
bool MenuBarKeys(HWND window, std::initializer_list<WORD> accessKeys);
// Waits until the thread of window has done what the keys pressed a moment ago started:
// the viewer drops the keys that come in while it zooms or turns, so the next keys must
// wait for it.
bool WaitUntilIdle(HWND window);

}  // namespace tavisnap::testing
