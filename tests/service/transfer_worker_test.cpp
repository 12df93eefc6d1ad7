// The upload worker against the local service: what reaches ThrdInfo, SessionCookie and
// the progress, and that the transfer always ends in the finished state.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "service/commands.h"
#include "service/post_form.h"
#include "transfer_test_support.h"

namespace tavisnap::testing {
namespace {

using TransferWorkerTest = TransferTest;

TEST_F(TransferWorkerTest, AnAcceptedUploadReportsSuccessAndTheAnswerAndTakesTheCookie) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", std::string(50000, 'j'));
  Service().SetBehaviour({{"answer", "1"}, {"set_cookie", "TAVISSESSID=up; path=/"}});
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  bool closed = false;
  ASSERT_TRUE(TickUntilFinished(10s, &closed));
  EXPECT_TRUE(closed);
  EXPECT_EQ(Current(), (TransferOutcome{false, true, "1"}));
  EXPECT_EQ(SessionCookie.Get(), "TAVISSESSID=up; path=/");
  EXPECT_FALSE(TransferWorkerExists());
}

TEST_F(TransferWorkerTest, AnAnswerNotBeginningWithOneIsNoSuccessAndLeavesTheReplyEmpty) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "jpeg");
  for (const char* answer : {"2", "", "0 1"}) {
    Service().SetBehaviour({{"answer", answer}});
    ASSERT_TRUE(StartUpload(UploadForm(picture)));
    ASSERT_TRUE(TickUntilFinished(10s)) << answer;
    EXPECT_EQ(Current(), (TransferOutcome{false, false, ""})) << "answer \"" << answer << "\"";
  }
  Service().SetBehaviour({{"answer", "1 accepted"}});
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  ASSERT_TRUE(TickUntilFinished(10s));
  EXPECT_EQ(Current(), (TransferOutcome{false, true, "1 accepted"}));
}

TEST_F(TransferWorkerTest, AStatusOtherThan200IsNoSuccessEvenWithAnswerOne) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "jpeg");
  Service().SetBehaviour({{"status", "500"}, {"answer", "1"}});
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  ASSERT_TRUE(TickUntilFinished(10s));
  EXPECT_EQ(Current(), (TransferOutcome{false, false, ""}));
}

TEST_F(TransferWorkerTest, NoConnectionEndsTheTransferWithoutSuccessAndEmptiesTheCookie) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "jpeg");
  SessionCookie.Set("OLD=1");
  // Nobody listens on port 1 of the loopback.
  ASSERT_TRUE(StartUpload(UploadForm(picture), "https://127.0.0.1:1/action.php"));
  bool closed = false;
  ASSERT_TRUE(TickUntilFinished(20s, &closed));
  EXPECT_TRUE(closed);
  EXPECT_EQ(Current(), (TransferOutcome{false, false, ""}));
  EXPECT_EQ(SessionCookie.Get(), "");
  EXPECT_EQ(TransferState.load(), kTransferFinished);
}

TEST_F(TransferWorkerTest, AFileThatCannotBeOpenedFailsTheUploadInsteadOfEscapingTheThread) {
  SessionCookie.Set("KEEP=1");
  ASSERT_TRUE(StartUpload(UploadForm("/nonexistent/folder/capture.jpg")));
  ASSERT_TRUE(TickUntilFinished(10s));
  EXPECT_EQ(Current(), (TransferOutcome{false, false, ""}));
  EXPECT_EQ(SessionCookie.Get(), "KEEP=1") << "nothing was sent, so nothing was answered";
  EXPECT_TRUE(Service().RequestIds().empty());
}

TEST_F(TransferWorkerTest, ASignedInUploadIsStoredByTheServiceAndMailedOn) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", std::string(200000, 'p'));
  Service().AddAccount("user@example.jp", "PASSWORD1");
  HttpResult login = PostForm(Service().ActionUrl(), LoginDoForm("user@example.jp", "PASSWORD1"));
  ASSERT_EQ(EvaluateAnswer(ServiceCommand::SubmitLoginDo, login, Column::Relogin).outcome,
            Outcome::Code1);
  ASSERT_TRUE(StartUpload(CapUpCompForm("friend@example.jp;", picture)));
  ASSERT_TRUE(TickUntilFinished(10s));
  EXPECT_EQ(Current(), (TransferOutcome{false, true, "1"}));
  ControlReply uploads = Service().Get("_control/uploads?user=user@example.jp");
  EXPECT_FALSE(uploads.body.empty()) << "the service keeps no upload";
}

TEST_F(TransferWorkerTest, ProgressClimbsToTheWholeBodyWhileASlowServiceReads) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", std::string(6000000, 'x'));
  Service().SetBehaviour({{"read_bps", "6000000"}, {"answer", "1"}});
  ASSERT_TRUE(StartUpload(UploadForm(picture)));
  std::vector<TransferProgress> seen;
  bool finished = WaitFor(
      [&] {
        seen.push_back(CurrentTransferProgress());
        return TransferTimerTick();
      },
      20s);
  ASSERT_TRUE(finished);
  TransferProgress last = CurrentTransferProgress();
  FinishTransfer();
  ASSERT_GT(last.ProgressMax, 6000000);
  EXPECT_EQ(last.Position, last.ProgressMax) << "the end of sending fills the bar";
  int64_t previous = 0;
  int between = 0;
  for (const TransferProgress& p : seen) {
    if (p.ProgressMax < 0) continue;
    EXPECT_EQ(p.ProgressMax, last.ProgressMax);
    EXPECT_GE(p.Position, previous);
    previous = p.Position;
    if (p.Position > 0 && p.Position < p.ProgressMax) ++between;
  }
  EXPECT_GT(between, 3) << "the bar must move in steps, not jump to the end";
}

}  // namespace
}  // namespace tavisnap::testing
