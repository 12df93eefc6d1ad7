// A ChoiceList over a real drop-down list, so that the address book fills and reads the
// window's combo boxes itself.
#pragma once

#include <windows.h>

#include "addressbook/choice_list.h"

namespace tavisnap {

class ComboChoiceList final : public ChoiceList {
 public:
  explicit ComboChoiceList(HWND combo = nullptr) : combo_(combo) {}

  void Clear() override;
  void Add(const std::string& text) override;
  int Count() const override;
  std::string Item(int index) const override;
  void Select(int index) override;
  int Selected() const override;

 private:
  HWND combo_;
};

}  // namespace tavisnap
