// A ChoiceList held in memory: the lists nobody sees (the hidden name and address lists
// may live here instead of in hidden combo boxes) and the lists of the native tests.
#pragma once

#include <string>
#include <vector>

#include "addressbook/choice_list.h"

namespace tavisnap {

class ChoiceItems : public ChoiceList {
 public:
  void Clear() override {
    items_.clear();
    selected_ = -1;
  }
  void Add(const std::string& text) override { items_.push_back(text); }
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Item(int index) const override {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::string();
  }
  // An index outside the list selects nothing, as a combo box does.
  void Select(int index) override { selected_ = index >= 0 && index < Count() ? index : -1; }
  int Selected() const override { return selected_; }

  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

}  // namespace tavisnap
