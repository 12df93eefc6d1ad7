// A fresh main window for each test, with the program's globals reset, and helpers for
// what a test cannot do on its own thread: answering a modal box, running the loop.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "mainwindow/form_main_tavisnap_win.h"
#include "support/driver_win.h"

namespace tavisnap::testing {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Main() const { return window_->hwnd(); }
  HWND Ctl(int id) const { return FindChildById(Main(), id); }
  // Through the window's queue, as a menu sends it.
  void Command(int id);
  // Shows the page and the window, as an opening menu entry does.
  void OpenPage(MainPage page);

  SendCoordinator send_;
  std::unique_ptr<TFormMainTavisnap> window_;
};

// Answers the next message box of this process from a second thread: the box is modal
// on the test's own thread, which stays inside it until the answer.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int answer, Millis timeout = 10s);
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  // Waits for the thread; the box it answered, if any.
  std::optional<MessageBoxInfo> Box();
  // Read before answering: the default push button, and the control with the focus.
  int DefaultButton();
  int FocusedButton();

 private:
  std::thread thread_;
  std::optional<MessageBoxInfo> box_;
  int defaultButton_ = 0;
  int focusedButton_ = 0;
};

// Runs the program's message loop until WM_QUIT; after the time-out a WM_QUIT with the
// code 99 ends it instead.
int RunLoopFor(Millis timeout);

struct MenuEntry {
  std::wstring caption;  // empty for a separator
  bool separator = false;
  bool enabled = true;
  UINT id = 0;
  HMENU submenu = nullptr;
};
std::vector<MenuEntry> MenuEntries(HMENU menu);
// "caption" for entries, "-" for separators, "caption>" for submenus, depth-first, with
// the submenu entries indented by two blanks per level.
std::vector<std::wstring> MenuOutline(HMENU menu, int depth = 0);

// Drops a WM_QUIT a test left in the queue.
void DrainQuit();

}  // namespace tavisnap::testing
