// The capture hotkey pair: which combinations each HOTKEY setting means, the ten menu
// entries that choose one, registering the pair at start-up, changing it, and letting
// it go at exit. The window registers through HotKeyRegistrar and sets captions through
// HotKeyMenu; messages go through Prompter.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/prompter.h"

namespace tavisnap {

// RegisterHotKey's modifier flags and the PrintScreen key.
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModShift = 0x4;
inline constexpr uint32_t kVkSnapshot = 0x2C;

// The identifiers are the capture modes the keys start.
inline constexpr int kHotKeyDesktopId = 1;
inline constexpr int kHotKeyWindowId = 2;

struct HotKeyBinding {
  int id = 0;
  uint32_t modifiers = 0;
  uint32_t vk = 0;
  friend bool operator==(const HotKeyBinding&, const HotKeyBinding&) = default;
};
using HotKeyPair = std::array<HotKeyBinding, 2>;

// "PS": Ctrl+PrintScreen and Ctrl+Shift+PrintScreen. Any other code: Ctrl+Alt and
// Ctrl+Alt+Shift with the character code of its first character used unchanged as the
// virtual-key code ("O" is 0x4F; a hand-written "p" is 0x70, the key F1).
HotKeyPair HotKeyPairFor(std::string_view code);

// How a combination is named in messages, e.g. "Ctrl+Alt+Shift+O", "Ctrl+Alt+F1".
std::string HotKeyName(const HotKeyBinding& binding);

// One of the five choices the menus offer.
struct HotKeyMenuChoice {
  const char* code;            // the HOTKEY setting
  const char* plainCaption;    // the entry while another choice is current
  const char* currentCaption;  // the entry of the current choice
};
inline constexpr int kHotKeyMenuChoiceCount = 5;
const std::array<HotKeyMenuChoice, kHotKeyMenuChoiceCount>& HotKeyMenuChoices();

// The ten entries: MenuSetHotKey_<code> of the main menu and PMenuTraySetHotKey_<code>
// of the tray menu, for each choice.
struct HotKeyMenuEntry {
  const char* name;
  int choice;  // index into HotKeyMenuChoices()
  bool tray;
  friend bool operator==(const HotKeyMenuEntry&, const HotKeyMenuEntry&) = default;
};
const std::array<HotKeyMenuEntry, 2 * kHotKeyMenuChoiceCount>& HotKeyMenuEntries();

inline constexpr const char* kConfirmHotKeyChange = "送信キーを変更します、よろしいですか？";
inline constexpr const char* kHotKeyChanged = "送信キーを変更しました";

// RegisterHotKey and UnregisterHotKey on the main window.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  virtual bool Register(int id, uint32_t modifiers, uint32_t vk) = 0;
  virtual void Unregister(int id) = 0;
};

class HotKeyMenu {
 public:
  virtual ~HotKeyMenu() = default;
  virtual void SetCaption(const HotKeyMenuEntry& entry, const std::string& caption) = 0;
};

class HotKeys {
 public:
  HotKeys(HotKeyRegistrar& registrar, HotKeyMenu& menu, Prompter& prompter);

  // The main window's creation: registers the pair of SysInfo.HotKey, with a warning
  // that names each combination another program holds, and gives the current choice's
  // two entries their caption (a hand-written code has no entry).
  void Start();

  // A hotkey entry was chosen (either menu). Nothing for the current code or after
  // Cancel. Otherwise the new pair is registered before anything is stored; when a
  // combination cannot be registered, or system.ini cannot be written, the old pair,
  // setting and captions stay and a warning says why. True when the hotkey changed.
  bool Change(int choice);

  // Gives the two entries of SysInfo.HotKey their caption when current; the others keep
  // whatever caption they have.
  void MarkCurrentChoice();

  // The exit path.
  void Stop();

 private:
  std::vector<HotKeyBinding> RegisterPair(std::string_view code);
  void UnregisterPair();
  void SetCurrentCaptions(std::string_view code);

  HotKeyRegistrar& registrar_;
  HotKeyMenu& menu_;
  Prompter& prompter_;
};

}  // namespace tavisnap
