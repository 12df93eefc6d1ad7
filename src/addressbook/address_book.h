// The address book: up to 300 recipients in the MAILLIST section of the settings, slot n
// holding MAIL<n> (the address) and NAME<n> (the name), and the current recipient in
// SYSTEM DST_NAME / DST_MAILADR. Slots are scanned from 1 to 300, a slot is in use while
// its MAIL value is not empty, the lowest free slot takes the next entry, and nothing is
// ever renumbered. Every change is written to system.ini at once.
//
// The window side creates one AddressBook over the program's Settings, SysInfo and
// IniPath (ProgramAddressBook), with its message boxes and a FatalExit that calls
// FatalAppExitW. Lists are handed in as ChoiceList objects over its combo boxes: a visible
// list of display texts and the hidden name and address lists, item for item.
#pragma once

#include <functional>
#include <string>

#include "addressbook/choice_list.h"
#include "core/define.h"
#include "core/prompter.h"
#include "core/settings_change.h"
#include "core/settings_list.h"

namespace tavisnap {

inline constexpr int kAddressSlots = 300;

// "MAILLIST.MAIL<n>" and "MAILLIST.NAME<n>" for n from 1 to kAddressSlots.
const std::string& MailKey(int n);
const std::string& NameKey(int n);

// "name(address)"; "(address)" for an entry without a name.
std::string AddressDisplayText(const std::string& name, const std::string& mailAdr);

// Slots whose MAIL value is not empty (a deleted slot's blank still counts).
int CountUsedSlots(const SettingsList& settings);

// Ends the program at once with the system's fatal-exit box; on Windows a function that
// calls FatalAppExitW(0, text) and does not return. Tests record the text.
using FatalExit = std::function<void(const std::string& text)>;

// What AddAddress did: a refusal (the address is there, the book is full) lets a caller
// go on with the next entry, a save that failed does not.
enum class AddResult { Added, Refused, NotSaved };

// Holds references only: the settings, SysInfo and the path (IniPath, set by LoadSettings)
// must outlive it. A change whose save fails is shown in a warning box with the save's
// message and is not taken: the settings, SysInfo and the result stay as the file is.
class AddressBook {
 public:
  AddressBook(SettingsList& settings, TTypSysInfo& sysInfo, const std::string& iniPath,
              Prompter& prompter, FatalExit fatalExit);

  // Refuses an address already in the book (exact comparison) and a full book with a
  // warning; otherwise fills the lowest free slot and saves. An empty name leaves NAME<n>
  // absent, and empty in the file, where a hand-edited slot may have held one. Neither
  // argument is checked here.
  AddResult AddAddress(const std::string& mailAdr, const std::string& name, bool announce);

  // Changes the lowest slot that holds item index of both hidden lists; when that
  // address is the current recipient's, the current recipient takes the new pair, in
  // the settings and in SysInfo. Saves and reports.
  bool UpdateAddress(const std::string& newMailAdr, const std::string& newName,
                     const ChoiceList& names, const ChoiceList& mailAdrs, int index);

  // Blanks the lowest slot that holds item index of both hidden lists (and the current
  // recipient with clearCurrent); the blanks become empty values in the file, and the
  // slot is free once FillAddressCombo has read the file again. Saves and reports.
  bool DeleteAddress(const ChoiceList& names, const ChoiceList& mailAdrs, int index,
                     bool clearCurrent);

  // Reads system.ini again into the settings (missing: the fatal exit), then fills the
  // three lists with the prompt item and the used slots, and selects item 0.
  bool FillAddressCombo(ChoiceList& display, ChoiceList& names, ChoiceList& mailAdrs);

  // The send panel's six lists, from the settings in memory: the four visible ones get
  // the display texts, and item 0 is selected in all.
  bool FillSendPanelLists(ChoiceList& dst, ChoiceList& to, ChoiceList& cc, ChoiceList& bcc,
                          ChoiceList& names, ChoiceList& mailAdrs);

  // Stores item index of the hidden lists as the current recipient and saves; the
  // prompt item (or no item) is refused with a warning. SysInfo is the caller's to set.
  bool SetCurrentRecipient(const ChoiceList& names, const ChoiceList& mailAdrs, int index,
                           bool announce);

  SettingsList& settings() { return settings_; }
  TTypSysInfo& sysInfo() { return sysInfo_; }

 private:
  int FindSlot(const std::string& mailAdr, const std::string& name) const;
  void FillLists(ChoiceList* const* visible, int visibleCount, ChoiceList& names,
                 ChoiceList& mailAdrs) const;
  bool Save(SettingsChange& change);

  SettingsList& settings_;
  TTypSysInfo& sysInfo_;
  const std::string& iniPath_;
  Prompter& prompter_;
  FatalExit fatalExit_;
};

// The book over the program's Settings, SysInfo and IniPath.
AddressBook ProgramAddressBook(Prompter& prompter, FatalExit fatalExit);

}  // namespace tavisnap
