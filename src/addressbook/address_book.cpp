#include "addressbook/address_book.h"

#include <array>
#include <string>
#include <utility>

#include "addressbook/address_texts.h"
#include "core/settings_change.h"
#include "core/settings_file.h"

namespace tavisnap {
namespace {

constexpr const char* kDstName = "SYSTEM.DST_NAME";
constexpr const char* kDstMailAdr = "SYSTEM.DST_MAILADR";

// Built once: every operation scans all 300 slots, some of them twice per entry.
struct SlotKeys {
  std::array<std::string, kAddressSlots + 1> mail;
  std::array<std::string, kAddressSlots + 1> name;
  SlotKeys() {
    for (int n = 1; n <= kAddressSlots; ++n) {
      mail[static_cast<size_t>(n)] = "MAILLIST.MAIL" + std::to_string(n);
      name[static_cast<size_t>(n)] = "MAILLIST.NAME" + std::to_string(n);
    }
  }
};

const SlotKeys& Keys() {
  static const SlotKeys keys;
  return keys;
}

// A value the file must receive as empty is stored as one blank: setting the empty text
// would only drop the entry from the list and leave the old value in the file.
std::string ClearableValue(const std::string& value) {
  return value.empty() ? " " : value;
}

bool IsEntryIndex(const ChoiceList& mailAdrs, int index) {
  return index >= 1 && index < mailAdrs.Count();
}

}  // namespace

const std::string& MailKey(int n) {
  return Keys().mail[static_cast<size_t>(n)];
}
const std::string& NameKey(int n) {
  return Keys().name[static_cast<size_t>(n)];
}

std::string AddressDisplayText(const std::string& name, const std::string& mailAdr) {
  return name + "(" + mailAdr + ")";
}

int CountUsedSlots(const SettingsList& settings) {
  int used = 0;
  for (int n = 1; n <= kAddressSlots; ++n) used += !settings.Get(MailKey(n)).empty();
  return used;
}

AddressBook::AddressBook(SettingsList& settings, TTypSysInfo& sysInfo, const std::string& iniPath,
                         Prompter& prompter, FatalExit fatalExit)
    : settings_(settings),
      sysInfo_(sysInfo),
      iniPath_(iniPath),
      prompter_(prompter),
      fatalExit_(std::move(fatalExit)) {}

bool AddressBook::Save(SettingsChange& change) {
  return change.Save(iniPath_, prompter_);
}

int AddressBook::FindSlot(const std::string& mailAdr, const std::string& name) const {
  // Only a used slot matches: an empty pair would otherwise find the first free one.
  if (mailAdr.empty()) return 0;
  for (int n = 1; n <= kAddressSlots; ++n) {
    if (settings_.Get(MailKey(n)) == mailAdr && settings_.Get(NameKey(n)) == name) return n;
  }
  return 0;
}

AddResult AddressBook::AddAddress(const std::string& mailAdr, const std::string& name,
                                  bool announce) {
  int freeSlot = 0;
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string used = settings_.Get(MailKey(n));
    if (used == mailAdr) {
      prompter_.Warning(kAddressExists);
      return AddResult::Refused;
    }
    if (used.empty() && freeSlot == 0) freeSlot = n;
  }
  if (freeSlot == 0) {
    prompter_.Warning(kAddressListFull);
    return AddResult::Refused;
  }
  SettingsChange change(settings_);
  change.Set(MailKey(freeSlot), mailAdr);
  // Emptied in the file too: a hand-edited file may name a slot that has no address.
  change.Set(NameKey(freeSlot), ClearableValue(name));
  if (!Save(change)) return AddResult::NotSaved;
  // The file's empty name reads back as no entry; so it is in the list, without the blank.
  if (name.empty()) settings_.Set(NameKey(freeSlot), "");
  if (announce) prompter_.Information(kAddressAdded);
  return AddResult::Added;
}

bool AddressBook::UpdateAddress(const std::string& newMailAdr, const std::string& newName,
                                const ChoiceList& names, const ChoiceList& mailAdrs, int index) {
  std::string oldMailAdr = mailAdrs.Item(index);
  std::string oldName = names.Item(index);
  SettingsChange change(settings_);
  if (int n = FindSlot(oldMailAdr, oldName)) {
    change.Set(MailKey(n), newMailAdr);
    change.Set(NameKey(n), ClearableValue(newName));
  }
  bool followed = !oldMailAdr.empty() && settings_.Get(kDstMailAdr) == oldMailAdr;
  if (followed) {
    change.Set(kDstMailAdr, newMailAdr);
    change.Set(kDstName, ClearableValue(newName));
  }
  if (!Save(change)) return false;
  prompter_.Information(kAddressUpdated);
  if (followed) {
    sysInfo_.DstMailAdr = newMailAdr;
    sysInfo_.DstName = newName;
  }
  return true;
}

bool AddressBook::DeleteAddress(const ChoiceList& names, const ChoiceList& mailAdrs, int index,
                                bool clearCurrent) {
  SettingsChange change(settings_);
  if (int n = FindSlot(mailAdrs.Item(index), names.Item(index))) {
    change.Set(MailKey(n), " ");
    change.Set(NameKey(n), " ");
  }
  if (clearCurrent) {
    change.Set(kDstMailAdr, " ");
    change.Set(kDstName, " ");
  }
  if (!Save(change)) return false;
  prompter_.Information(kAddressDeleted);
  if (clearCurrent) {
    sysInfo_.DstMailAdr.clear();
    sysInfo_.DstName.clear();
  }
  return true;
}

void AddressBook::FillLists(ChoiceList* const* visible, int visibleCount, ChoiceList& names,
                            ChoiceList& mailAdrs) const {
  auto all = [&](auto&& step) {
    for (int i = 0; i < visibleCount; ++i) step(*visible[i]);
    step(names);
    step(mailAdrs);
  };
  all([](ChoiceList& list) {
    list.Clear();
    list.Add(kListPrompt);
  });
  for (int n = 1; n <= kAddressSlots; ++n) {
    std::string mailAdr = settings_.Get(MailKey(n));
    if (mailAdr.empty()) continue;
    std::string name = settings_.Get(NameKey(n));
    std::string display = AddressDisplayText(name, mailAdr);
    for (int i = 0; i < visibleCount; ++i) visible[i]->Add(display);
    names.Add(name);
    mailAdrs.Add(mailAdr);
  }
  all([](ChoiceList& list) { list.Select(0); });
}

bool AddressBook::FillAddressCombo(ChoiceList& display, ChoiceList& names, ChoiceList& mailAdrs) {
  if (!ReadSettingsFile(iniPath_, settings_)) {
    fatalExit_(kCheckSystemFile);
    return false;
  }
  ChoiceList* visible[] = {&display};
  FillLists(visible, 1, names, mailAdrs);
  return true;
}

bool AddressBook::FillSendPanelLists(ChoiceList& dst, ChoiceList& to, ChoiceList& cc,
                                     ChoiceList& bcc, ChoiceList& names, ChoiceList& mailAdrs) {
  ChoiceList* visible[] = {&dst, &to, &cc, &bcc};
  FillLists(visible, 4, names, mailAdrs);
  return true;
}

bool AddressBook::SetCurrentRecipient(const ChoiceList& names, const ChoiceList& mailAdrs,
                                      int index, bool announce) {
  if (!IsEntryIndex(mailAdrs, index)) {
    prompter_.Warning(kChooseAddress);
    return false;
  }
  SettingsChange change(settings_);
  change.Set(kDstName, ClearableValue(names.Item(index)));
  change.Set(kDstMailAdr, mailAdrs.Item(index));
  if (!Save(change)) return false;
  if (announce) prompter_.Information(kRecipientSet);
  return true;
}

AddressBook ProgramAddressBook(Prompter& prompter, FatalExit fatalExit) {
  return AddressBook(Settings, SysInfo, IniPath, prompter, std::move(fatalExit));
}

}  // namespace tavisnap
