#include "core/settings_list.h"

namespace tavisnap {

std::string SettingsList::Get(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? std::string() : entries_[it->second].value;
}

void SettingsList::Set(std::string_view name, std::string_view value) {
  auto it = index_.find(name);
  if (!value.empty()) {
    if (it != index_.end()) {
      entries_[it->second].value = value;
    } else {
      index_.emplace(std::string(name), entries_.size());
      entries_.push_back({std::string(name), std::string(value)});
    }
    return;
  }
  if (it == index_.end()) return;
  size_t removed = it->second;
  index_.erase(it);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(removed));
  for (auto& [entryName, pos] : index_) {
    if (pos > removed) --pos;
  }
}

void SettingsList::Clear() {
  entries_.clear();
  index_.clear();
}

}  // namespace tavisnap
