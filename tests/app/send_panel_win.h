// The capture-send road of a running tavisnap.exe, driven from outside: the send panel
// a hotkey opens, its two pages, and the transfer window and result box that follow
// Send.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "support/driver_win.h"

namespace tavisnap::testing {

// The visible send panel of the process, or nullptr.
HWND SendPanelWindow(DWORD pid);
// Presses the keys (PressKeys) and waits for the panel they open; nullptr when none opens.
HWND PressHotKeyForPanel(DWORD pid, std::initializer_list<WORD> keys, Millis timeout = 20s);

enum class PanelText { Mode, DetailMode, DstName, DstMailAdr, MailTo, Cc, Bcc, Message };
std::wstring TextOf(HWND panel, PanelText text);
HWND ControlOf(HWND panel, PanelText text);

// Whether the simple page's preview shows a picture (more than a few colours).
bool PreviewShown(HWND panel);
// Changes the page as a click on its tab does.
void ShowPanelPage(HWND panel, bool detailed);
// Chooses entry `index` (1 is the book's first) of the Cc or Bcc list and presses the
// button that appends it.
void AddCopyFromList(HWND panel, bool bcc, int index);
void TypeMessage(HWND panel, const std::wstring& text);
void PressPanelButton(HWND panel, bool cancel, bool detailed);

struct SendOutcome {
  bool transferWindowSeen = false;
  std::optional<MessageBoxInfo> result;  // the box after the upload, answered with OK
};
// Presses the page's Send button and follows the upload to its result box; with
// screenshots (when named) of the transfer window when it is first seen and of the box.
SendOutcome SendAndWaitForResult(DWORD pid, HWND panel, bool detailed, Millis timeout = 30s,
                                 const char* transferShot = nullptr,
                                 const char* resultShot = nullptr);

}  // namespace tavisnap::testing
