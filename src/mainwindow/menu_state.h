// What the two menus show, decided from the settings: the captions of the toggles and
// of the hotkey entries, and which tray entries may be used in the current state.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavisnap {

// One choice of the capture hotkey pair, as the menus offer it.
struct HotKeyChoice {
  const char* code;            // the HOTKEY setting
  const char* plainCaption;    // the entry while another choice is current
  const char* currentCaption;  // the entry of the current choice
};

inline constexpr int kHotKeyChoiceCount = 5;
const std::array<HotKeyChoice, kHotKeyChoiceCount>& HotKeyChoices();
// The entry of exactly this code; none for a code written by hand ("Q", "p").
std::optional<int> HotKeyChoiceIndex(std::string_view code);

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
