// A real system.ini in a temporary folder, the settings read from it, and recording
// stand-ins for the message boxes, the lists and the hourglass.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "addressbook/address_book.h"
#include "addressbook/choice_items.h"
#include "addressbook/csv_window.h"
#include "core/codepage.h"
#include "core/ini_file.h"
#include "core/prompter.h"
#include "core/settings_file.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

namespace tavisnap::testing {

using Box = ShownBox;

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << static_cast<int>(box.kind) << ":" << box.text;
}

inline Box Info(const std::string& text) {
  return {BoxKind::Information, text};
}
inline Box Warn(const std::string& text) {
  return {BoxKind::Warning, text};
}
inline Box Ask(const std::string& text) {
  return {BoxKind::Confirmation, text};
}

using RecordingPrompter = FakePrompter;

class CountingHourglass : public Hourglass {
 public:
  void Show() override {
    ++shown;
    ++depth;
  }
  void Restore() override { --depth; }
  int shown = 0;
  int depth = 0;  // 0 once every Show has been restored
};

// "MAIL<n>=address" and "NAME<n>=name" lines for system.ini.
inline std::string SlotLines(int n, const std::string& mailAdr, const std::string& name) {
  std::string lines = "MAIL" + std::to_string(n) + "=" + mailAdr + "\r\n";
  if (!name.empty()) lines += "NAME" + std::to_string(n) + "=" + name + "\r\n";
  return lines;
}

class AddressBookTest : public ::testing::Test {
 protected:
  // Writes system.ini with the SYSTEM lines and the MAILLIST lines (UTF-8 here, code page
  // 932 on disk) and reads it, as the program's start does.
  void WriteIni(const std::string& maillist, const std::string& system = "") {
    WriteBytes(iniPath, Utf8ToCp932("[SYSTEM]\r\nMAILID=me@example.jp\r\n" + system +
                                    "\r\n[MAILLIST]\r\n" + maillist));
    settings.Clear();
    ASSERT_TRUE(ReadSettingsFile(iniPath, settings));
    sysInfo.DstName = settings.Get("SYSTEM.DST_NAME");
    sysInfo.DstMailAdr = settings.Get("SYSTEM.DST_MAILADR");
  }

  // Slots 1 to count, "friend<n>@example.jp" named "友人<n>".
  static std::string Slots(int count) {
    std::string lines;
    for (int n = 1; n <= count; ++n) {
      lines +=
          SlotLines(n, "friend" + std::to_string(n) + "@example.jp", "友人" + std::to_string(n));
    }
    return lines;
  }

  IniFile File() const { return IniFile::Parse(ReadBytes(iniPath)); }

  // The value in system.ini; nullopt when the key is not in the file.
  std::optional<std::string> FileValue(const std::string& section, const std::string& key) const {
    IniFile file = File();
    const std::string* value = file.Find(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
  }

  // The used slots of system.ini as slot -> "name(address)".
  std::map<int, std::string> FileSlots() const {
    IniFile file = File();
    std::map<int, std::string> slots;
    for (int n = 1; n <= kAddressSlots; ++n) {
      const std::string* mail = file.Find("MAILLIST", "MAIL" + std::to_string(n));
      const std::string* name = file.Find("MAILLIST", "NAME" + std::to_string(n));
      if (mail && !mail->empty()) slots[n] = AddressDisplayText(name ? *name : "", *mail);
    }
    return slots;
  }

  bool Fill() { return book.FillAddressCombo(display, names, mailAdrs); }

  TempDir dir;
  std::string iniPath = dir / "system.ini";
  SettingsList settings;
  TTypSysInfo sysInfo;
  RecordingPrompter prompter;
  std::vector<std::string> fatalTexts;
  AddressBook book{settings, sysInfo, iniPath, prompter,
                   [this](const std::string& text) { fatalTexts.push_back(text); }};
  ChoiceItems display, names, mailAdrs;
};

}  // namespace tavisnap::testing
