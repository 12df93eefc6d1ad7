// One change of the settings, taken by the program only once system.ini has it. The
// entries are set on a copy of the list, the copy is saved, and only then does the list
// take it: a save that fails leaves the list as the file is, so that no later save of
// something else writes a change the user was told had failed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/prompter.h"
#include "core/settings_list.h"

namespace tavisnap {

class SettingsChange {
 public:
  explicit SettingsChange(SettingsList& list) : list_(list), draft_(list) {}

  void Set(std::string_view name, std::string_view value) { draft_.Set(name, value); }

  // SaveSettings of the changed list. Saved: the list takes the change and the result is
  // empty. Otherwise the list stays as it was and the result is the save's message.
  std::optional<std::string> TrySave(const std::string& path);
  // The same, with a failure shown in a warning box; true when saved.
  bool Save(const std::string& path, Prompter& prompter);

 private:
  SettingsList& list_;
  SettingsList draft_;
};

}  // namespace tavisnap
