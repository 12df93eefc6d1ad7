// What the upload tests share: the caller's steps around RunTransfer, the window's tick
// without a window, and a clean transfer state before each test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "service/transfer.h"
#include "service_test_base.h"

namespace tavisnap::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

template <class F>
bool WaitFor(F done, std::chrono::milliseconds limit) {
  for (Clock::time_point end = Clock::now() + limit; Clock::now() < end;) {
    if (done()) return true;
    std::this_thread::sleep_for(2ms);
  }
  return done();
}

// The result channel as the send monitor sees it.
struct TransferOutcome {
  bool busy;
  bool success;
  std::string reply;
  bool operator==(const TransferOutcome&) const = default;
};

inline TransferOutcome Current() {
  return {ThrdInfo.Busy.load(), ThrdInfo.Success(), ThrdInfo.ReplyText()};
}

inline void PrintTo(const TransferOutcome& o, std::ostream* os) {
  *os << "{busy " << o.busy << ", success " << o.success << ", reply \"" << o.reply << "\"}";
}

class TransferTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    SetTransferThreadStarter({});
    if (TransferWorkerExists()) FinishTransfer();
    TransferState = kTransferIdle;
    ThrdInfo.SetResult(false, "");
    ThrdInfo.Busy = false;
  }
  void TearDown() override {
    if (TransferWorkerExists()) FinishTransfer();
    SetTransferThreadStarter({});
    // Every worker, abandoned ones too, has ended before the next test looks.
    EXPECT_TRUE(WaitFor([] { return LiveTransferWorkers() == 0; }, 10s));
    ServiceTest::TearDown();
  }

  // The send flow's steps: show the window, mark busy, start the worker.
  static bool StartUpload(const TTypFormDataArray& form, std::string url = {}) {
    TransferShown();
    ThrdInfo.Busy = true;
    return RunTransfer(url.empty() ? Service().ActionUrl() : url, form);
  }

  // The window's timer until it finishes the transfer; false when it did not within the
  // time. Returns what FinishTransfer said about closing the window in *closed.
  static bool TickUntilFinished(std::chrono::milliseconds limit, bool* closed = nullptr) {
    bool finished = WaitFor([] { return TransferTimerTick(); }, limit);
    if (!finished) return false;
    bool close = FinishTransfer();
    if (closed) *closed = close;
    return true;
  }

  static TTypFormDataArray UploadForm(const std::string& file) {
    return {Text("txtEmailTo[0]", "to@example.jp"), File("fileCapUp[0]", file),
            Text("SubmitCapUpComp", "1")};
  }
};

}  // namespace tavisnap::testing
