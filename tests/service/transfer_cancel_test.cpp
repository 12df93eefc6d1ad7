// Cancelling an upload: the result is "CANCEL" at the next tick, the upload itself stops,
// and nothing the abandoned worker still gets reaches ThrdInfo or SessionCookie.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>

#include "transfer_test_support.h"

namespace tavisnap::testing {
namespace {

using TransferCancelTest = TransferTest;

const TransferOutcome kCancelled{false, false, "CANCEL"};

TEST_F(TransferCancelTest, CancelDuringTheUploadStopsItAndNothingOfItArrivesLater) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "");
  std::filesystem::resize_file(picture, 8 << 20);
  // The service takes the first bytes, then stops reading.
  Service().SetBehaviour(
      {{"read_stop_after", "200000"}, {"answer", "1"}, {"set_cookie", "LATE=1"}});
  SessionCookie.Set("BEFORE=1");
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  ASSERT_TRUE(WaitFor([] { return CurrentTransferProgress().Position > 0; }, 10s));
  EXPECT_FALSE(TransferTimerTick()) << "still running";

  TransferCancelClicked();
  ASSERT_TRUE(TransferTimerTick()) << "the next tick carries the cancel out";
  EXPECT_TRUE(FinishTransfer()) << "a worker existed, so the window closes";
  EXPECT_EQ(Current(), kCancelled);

  // The upload stops instead of going on in the background.
  EXPECT_TRUE(WaitFor([] { return LiveTransferWorkers() == 0; }, 5s));
  // Now the service reads on and answers with a cookie; nobody is there to take it.
  Service().SetBehaviour({{"answer", "1"}, {"set_cookie", "LATE=1"}});
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(Current(), kCancelled);
  EXPECT_EQ(SessionCookie.Get(), "BEFORE=1");
  std::string request = Service().LastRequest();
  EXPECT_LT(request.size(), size_t{8 << 20}) << "the whole picture went out after the cancel";
}

TEST_F(TransferCancelTest, CancelInTheInstantAfterTheWorkerFinishedStillCancels) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "jpeg");
  Service().SetBehaviour({{"answer", "1"}});
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  // The worker has published its success; the window's tick has not come yet.
  ASSERT_TRUE(WaitFor([] { return TransferState.load() == kTransferFinished; }, 10s));
  ASSERT_TRUE(ThrdInfo.Success());
  TransferCancelClicked();
  ASSERT_TRUE(TransferTimerTick());
  EXPECT_TRUE(FinishTransfer());
  EXPECT_EQ(Current(), kCancelled);
}

TEST_F(TransferCancelTest, AWorkerThatCouldNotStartLeavesTheWindowOpenUntilCancel) {
  SetTransferThreadStarter([](std::function<void()>, std::thread&) { return false; });
  ASSERT_FALSE(StartUpload(UploadForm("/any/capture.jpg")));
  EXPECT_FALSE(TransferWorkerExists());
  for (int tick = 0; tick < 5; ++tick) EXPECT_FALSE(TransferTimerTick());
  EXPECT_EQ(TransferState.load(), kTransferRunning);
  EXPECT_EQ(Current(), (TransferOutcome{true, true, ""}));

  TransferCancelClicked();
  ASSERT_TRUE(TransferTimerTick());
  EXPECT_FALSE(FinishTransfer()) << "no worker: the window stays until the user closes it";
  EXPECT_EQ(Current(), kCancelled);
  EXPECT_EQ(LiveTransferWorkers(), 0);
}

TEST_F(TransferCancelTest, AnAbandonedJobNeverPublishesAndAPublishedOneIsNotAbandoned) {
  HttpResult late;
  late.ok = true;
  late.status = 200;
  late.body = "1";
  late.cookie = "LATE=1";

  TransferJob abandoned(Service().ActionUrl(), {});
  EXPECT_TRUE(abandoned.Abandon());
  ThrdInfo.SetResult(false, "CANCEL");
  SessionCookie.Set("BEFORE=1");
  TransferState = kTransferFinished;
  EXPECT_FALSE(abandoned.Publish(late));
  EXPECT_EQ(Current(), kCancelled);
  EXPECT_EQ(SessionCookie.Get(), "BEFORE=1");

  TransferJob done(Service().ActionUrl(), {});
  TransferState = kTransferRunning;
  EXPECT_TRUE(done.Publish(late));
  EXPECT_FALSE(done.Abandon()) << "its result is out already";
  EXPECT_EQ(TransferState.load(), kTransferFinished);
  EXPECT_EQ(SessionCookie.Get(), "LATE=1");
}

TEST_F(TransferCancelTest, APendingCancelIsNotOverwrittenByTheWorkersFinish) {
  TransferJob job(Service().ActionUrl(), {});
  TransferState = kTransferCancel;
  HttpResult answer;
  answer.ok = true;
  answer.status = 200;
  answer.body = "1";
  job.Publish(answer);
  EXPECT_EQ(TransferState.load(), kTransferCancel);
}

// Cancel and the worker's end meet at random moments. Whatever the order, a cancel gives
// "CANCEL", an upload left alone gives its answer, and once the user has cancelled no
// write of the worker changes ThrdInfo or SessionCookie, not even after it has ended.
TEST_F(TransferCancelTest, CancelAndTheWorkersEndRaceWithoutEverLosingTheCancel) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", std::string(20000, 'r'));
  std::mt19937 random(20260);
  int cancelled_before_answer = 0, cancelled_after_answer = 0, left_alone = 0;
  const int kIterations = 200;
  for (int i = 0; i < kIterations; ++i) {
    std::string cookie = "AFTER=" + std::to_string(i);
    int delay = std::uniform_int_distribution<int>(0, 8)(random);
    Service().SetBehaviour(
        {{"answer", "1"}, {"set_cookie", cookie}, {"delay_ms", std::to_string(delay)}});
    SessionCookie.Set("BEFORE");
    ASSERT_TRUE(StartUpload(UploadForm(picture)));
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 25000)(random)));
    bool cancel = random() % 4 != 0;
    if (!cancel) {
      ASSERT_TRUE(TickUntilFinished(10s)) << "iteration " << i;
      EXPECT_EQ(Current(), (TransferOutcome{false, true, "1"})) << "iteration " << i;
      EXPECT_EQ(SessionCookie.Get(), cookie) << "iteration " << i;
      ++left_alone;
      continue;
    }
    TransferCancelClicked();
    std::string at_cancel = SessionCookie.Get();
    ASSERT_TRUE(TransferTimerTick()) << "iteration " << i;
    EXPECT_TRUE(FinishTransfer()) << "iteration " << i;
    EXPECT_EQ(Current(), kCancelled) << "iteration " << i;
    ASSERT_TRUE(WaitFor([] { return LiveTransferWorkers() == 0; }, 10s)) << "iteration " << i;
    EXPECT_EQ(Current(), kCancelled) << "iteration " << i;
    EXPECT_EQ(SessionCookie.Get(), at_cancel) << "iteration " << i;
    (at_cancel == cookie ? cancelled_after_answer : cancelled_before_answer)++;
  }
  std::cout << "cancelled before the answer " << cancelled_before_answer << ", after it "
            << cancelled_after_answer << ", left alone " << left_alone << "\n";
}

}  // namespace
}  // namespace tavisnap::testing
