// The in-memory settings: one entry per setting, named "SECTION.KEY". Names compare
// without regard to ASCII case; an absent entry reads as empty and the list never holds
// an empty value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/ascii_text.h"

namespace tavisnap {

class SettingsList {
 public:
  struct Entry {
    std::string name;  // as first set, e.g. "SYSTEM.MAILID"
    std::string value;
  };
  using const_iterator = std::vector<Entry>::const_iterator;

  // The value, or "" when no entry has that name.
  std::string Get(std::string_view name) const;
  // A non-empty value replaces the entry's value (its name keeps its first spelling)
  // or appends a new entry at the end; the empty value removes the entry.
  void Set(std::string_view name, std::string_view value);
  void Clear();

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t, FoldedHash, FoldedEqual> index_;  // name -> position
};

// The program's one settings list, filled by LoadSettings and written with SaveSettings.
inline SettingsList Settings;

}  // namespace tavisnap
