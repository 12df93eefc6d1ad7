// A window of the test's own with the controls whose accessibility a helper most needs
// to hear about: a labelled edit with a value, a password edit, a checked box, a button
// without a name and a list with a selected item. The name edit holds the focus.
#pragma once

#include <windows.h>

namespace tavisnap::testing {

class ReaderWindow {
 public:
  static constexpr wchar_t kTitle[] = L"読み上げの確認";
  static constexpr wchar_t kPassword[] = L"himitsu123";

  ReaderWindow(int x, int y);
  ~ReaderWindow();
  ReaderWindow(const ReaderWindow&) = delete;
  ReaderWindow& operator=(const ReaderWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND nameEdit() const { return nameEdit_; }
  // Brings it to the foreground with the focus in the name edit.
  bool Activate();

 private:
  HWND hwnd_ = nullptr;
  HWND nameEdit_ = nullptr;
};

}  // namespace tavisnap::testing
