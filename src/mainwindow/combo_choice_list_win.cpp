#include "mainwindow/combo_choice_list_win.h"

#include "win/text_win.h"

namespace tavisnap {

void ComboChoiceList::Clear() {
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
}

void ComboChoiceList::Add(const std::string& text) {
  std::wstring wide = Widen(text);
  SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int ComboChoiceList::Count() const {
  LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboChoiceList::Item(int index) const {
  if (index < 0 || index >= Count()) return {};
  LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(combo_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text.data()));
  if (got == CB_ERR) return {};
  text.resize(static_cast<size_t>(got));
  return Narrow(text);
}

void ComboChoiceList::Select(int index) {
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboChoiceList::Selected() const {
  LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

}  // namespace tavisnap
