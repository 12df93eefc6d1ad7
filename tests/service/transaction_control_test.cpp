// The transaction as the upload worker drives it: send progress, abort from another
// thread, the cookie left alone after an abort; and the limits on what is read and sent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/app_error.h"
#include "service/http_transaction.h"
#include "service/post_form.h"
#include "service_test_base.h"

namespace tavisnap::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls until done() holds, for at most the time.
template <class F>
bool WaitFor(F done, std::chrono::milliseconds limit) {
  for (Clock::time_point end = Clock::now() + limit; Clock::now() < end;) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return done();
}

using TransactionControlTest = ServiceTest;

TEST_F(TransactionControlTest, AbortEndsATransferTheServerStoppedReading) {
  TempDir folder;
  std::string big = folder.Write("big.jpg", "");
  std::filesystem::resize_file(big, 64 << 20);  // sparse: costs no disk
  Service().SetBehaviour({{"read_stop_after", "100000"}});
  HttpTransaction transaction(Service().ActionUrl(), {File("fileCapUp[0]", big)});
  std::atomic<int64_t> sent{0};
  transaction.SetProgress([&](int64_t, int64_t now) { sent = now; });
  HttpResult result;
  std::thread worker([&] { result = transaction.Run(); });

  // Sending starts, then comes to a halt once the buffers are full.
  ASSERT_TRUE(WaitFor([&] { return sent > 0; }, 10s));
  for (int64_t before = -1; before != sent;) {
    before = sent;
    std::this_thread::sleep_for(1s);
  }
  SessionCookie.Set("KEEP=1");
  Clock::time_point asked = Clock::now();
  transaction.Abort();
  worker.join();
  // Far below the 60 s the read time-out would take.
  EXPECT_LT(Clock::now() - asked, 5s);
  EXPECT_LT(sent.load(), 64 << 20);
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(result.status, -1);
  EXPECT_FALSE(transaction.PublishCookie(result));
  EXPECT_EQ(SessionCookie.Get(), "KEEP=1");
}

TEST_F(TransactionControlTest, AbortBeforeRunSendsNothing) {
  HttpTransaction transaction(Service().ActionUrl(), {Text("SubmitDelete", "1")});
  transaction.Abort();
  HttpResult result = transaction.Run();
  EXPECT_TRUE(result.aborted);
  EXPECT_EQ(result.status, -1);
  EXPECT_TRUE(Service().RequestIds().empty());
}

TEST_F(TransactionControlTest, ProgressRunsFromStartToTheWholeBody) {
  TempDir folder;
  std::string file = folder.Write("capture.jpg", std::string(3 << 20, 'x'));
  HttpTransaction transaction(Service().ActionUrl(), {File("fileCapUp[0]", file)});
  std::vector<std::pair<int64_t, int64_t>> reports;
  transaction.SetProgress([&](int64_t total, int64_t now) { reports.emplace_back(total, now); });
  HttpResult result = transaction.Run();
  EXPECT_TRUE(result.ok);
  ASSERT_GE(reports.size(), 2u);

  std::string request = Service().LastRequest();
  size_t at = request.find("Content-Length: ");
  ASSERT_NE(at, std::string::npos);
  int64_t length = std::stoll(request.substr(at + 16));
  EXPECT_GT(length, 3 << 20);
  EXPECT_LT(reports.front().second, length);
  for (size_t i = 0; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i].first, length);
    if (i > 0) {
      EXPECT_GT(reports[i].second, reports[i - 1].second);
    }
  }
  EXPECT_EQ(reports.back().second, length);
}

TEST_F(TransactionControlTest, PublishCookieStoresTheAnswersCookie) {
  Service().SetBehaviour({{"answer", "1"}, {"set_cookie", "W=1"}});
  HttpTransaction transaction(Service().ActionUrl(), {Text("SubmitDelete", "1")});
  HttpResult result = transaction.Run();
  EXPECT_EQ(SessionCookie.Get(), "");  // Run alone leaves it
  EXPECT_TRUE(transaction.PublishCookie(result));
  EXPECT_EQ(SessionCookie.Get(), "W=1");
  transaction.Abort();
  EXPECT_FALSE(transaction.PublishCookie(result));
}

TEST_F(TransactionControlTest, AnswerIsCutAtItsLimit) {
  // The limit falls inside "あ"; the broken character goes, the rest stays.
  std::string answer = std::string(HttpTransaction::kMaxAnswerBytes - 1, 'a') + "あ" + "bbb";
  Service().SetBehaviour({{"answer", answer}});
  HttpResult result = PostForm(Service().ActionUrl(), {});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, std::string(HttpTransaction::kMaxAnswerBytes - 1, 'a'));

  Service().SetBehaviour({{"answer", "1"}, {"answer_repeat", "1000000"}});
  result = PostForm(Service().ActionUrl(), {});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body.size(), HttpTransaction::kMaxAnswerBytes);
}

TEST_F(TransactionControlTest, FileThatCannotBeOpenedIsAnErrorBeforeSending) {
  TempDir folder;
  SessionCookie.Set("KEEP=1");
  for (std::string path : {folder.str() + "/missing.jpg", folder.str()}) {
    try {
      PostForm(Service().ActionUrl(),
               {Text("txtEmailTo[0]", "a@b.jp"), File("fileCapUp[0]", path)});
      ADD_FAILURE() << "no error for " << path;
    } catch (const AppError& e) {
      EXPECT_EQ(std::string(e.what()), "送信するファイルを開けません: " + path);
    }
  }
  EXPECT_TRUE(Service().RequestIds().empty());
  EXPECT_EQ(SessionCookie.Get(), "KEEP=1");
}

}  // namespace
}  // namespace tavisnap::testing
