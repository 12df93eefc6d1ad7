// One drop-down list as the address book sees it: items by index, one selected. The
// window side implements it over a real combo box (CB_RESETCONTENT, CB_ADDSTRING,
// CB_GETCOUNT, CB_GETLBTEXT, CB_SETCURSEL, CB_GETCURSEL) and hands one object per list
// to the address book, which fills the lists and reads the chosen entry from them.
#pragma once

#include <string>

namespace tavisnap {

class ChoiceList {
 public:
  virtual ~ChoiceList() = default;

  virtual void Clear() = 0;
  virtual void Add(const std::string& text) = 0;
  virtual int Count() const = 0;
  // The text of item index; "" when there is no such item.
  virtual std::string Item(int index) const = 0;
  virtual void Select(int index) = 0;
  // The selected index; -1 when nothing is selected.
  virtual int Selected() const = 0;
};

}  // namespace tavisnap
