// What the two menus show, decided from the settings: the captions of the toggles and
// which tray entries may be used in the current state (the hotkey entries are
// capture/hotkeys.h's).
#pragma once

#include <string>

namespace tavisnap {

std::string AutoLoginCaption(bool autoLogin);
std::string BasicAuthCaption(bool basicAuth);

// The four tray entries that follow the sign-in state. The defaults are the states
// the menu is built with; the window's creation refreshes them at once.
struct TrayItemStates {
  bool send = false;
  bool del = false;
  bool set = false;
  bool viewer = true;

  // Before any sign-in all four are off; after one, Set and Viewer are on (Send and
  // Delete are the sign-in's own business).
  void Refresh(bool signedIn);
  void EnableSignedInItems();
  void EnableViewer();
  bool operator==(const TrayItemStates&) const = default;
};

// Start-up enables the viewer entry itself whenever it does not sign in automatically:
// offline, or online without automatic sign-in.
bool StartupEnablesViewer(int runMode, bool autoLogin);

// The resend entries: something kept, and a service to send it to (online, signed in).
bool ResendEnabled(int runMode, bool signedIn, bool outboxHasEntries);

enum class TrayDoubleClick { OfflineWarning, Ignore, OpenRecipientPage };
TrayDoubleClick DecideTrayDoubleClick(int runMode, bool accountWindowVisible);

}  // namespace tavisnap
