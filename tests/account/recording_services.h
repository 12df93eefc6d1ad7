// A main window that only counts what the account window asks of it.
#pragma once

#include <atomic>

#include "account/main_window_services.h"

namespace tavisnap::testing {

class RecordingServices : public MainWindowServices {
 public:
  void RefreshMenuStates() override { ++refreshes; }
  void EnableSignedInTrayItems() override { ++trayEnabled; }
  bool ExitProgram(bool ask) override {
    ++(ask ? exitsAsked : exitsUnasked);
    return true;
  }

  std::atomic<int> refreshes{0};
  std::atomic<int> trayEnabled{0};
  std::atomic<int> exitsAsked{0};
  std::atomic<int> exitsUnasked{0};
};

}  // namespace tavisnap::testing
