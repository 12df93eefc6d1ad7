// The published version and the updater's download, against the local service.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/file_util.h"
#include "service/http_client_init.h"
#include "service/local_service_fixture.h"
#include "support/temp_dir.h"
#include "update/latest_version.h"
#include "update/updater.h"
#include "update/worker_call.h"

namespace tavisnap::testing {
namespace {

class UpdateServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitHttpClient();
    service_ = std::make_unique<LocalService>();
  }
  static void TearDownTestSuite() { service_.reset(); }
  void SetUp() override { service_->Reset(); }

  static LocalService& Service() { return *service_; }
  static std::string UpdateUrl() { return service_->Url() + "update/"; }
  static std::string Ca() { return *ReadWholeFile(service_->CaFile()); }
  static void PublishXml(const std::string& xml) {
    ASSERT_EQ(Service().Post("_control/update", {{"xml", xml}}).status, 200);
  }

 private:
  static inline std::unique_ptr<LocalService> service_;
};

TEST_F(UpdateServerTest, ReadsTheLastVersionGrandchildOfTheDocumentElement) {
  struct Case {
    const char* name;
    const char* xml;
    const char* version;
  } cases[] = {
      {"two grandchildren", "<a><b><version>2.0.2</version></b><c><version>2.0.3</version></c></a>",
       "2.0.3"},
      {"the later one wins even empty", "<a><b><version>2.0.2</version><version/></b></a>", ""},
      {"directly under the document element", "<a><version>2.0.2</version></a>", ""},
      {"three levels deep", "<a><b><c><version>2.0.2</version></c></b></a>", ""},
      {"name compared with case", "<a><b><Version>2.0.2</Version></b></a>", ""},
      {"blanks around the text", "<a>\n <b>\n  <version>\n   2.0.4\n  </version>\n </b>\n</a>\n",
       "2.0.4"},
      {"malformed", "<a><b><version>2.0.2</version></b>", ""},
      {"not XML", "version=2.0.2", ""},
  };
  for (const Case& c : cases) {
    PublishXml(c.xml);
    EXPECT_EQ(FetchLatestVersion(UpdateUrl(), Ca()), c.version) << c.name;
  }
}

TEST_F(UpdateServerTest, FollowsRedirectsAndAnyFailureGivesTheEmptyVersion) {
  ASSERT_EQ(Service().Post("_control/update", {{"version", "2.0.9"}}).status, 200);
  Service().SetBehaviour({{"redirect", "/update/version.xml"}});
  ASSERT_EQ(FetchLatestVersion(Service().Url() + "moved/", Ca()), "2.0.9");
  Service().ClearBehaviour();
  EXPECT_EQ(FetchLatestVersion(Service().Url() + "missing/", Ca()), "") << "not found";
  EXPECT_EQ(FetchLatestVersion(Service().PlainUrl() + "update/", Ca()), "") << "plain http";
  EXPECT_EQ(FetchLatestVersion(UpdateUrl(), ""), "") << "untrusted server";
  EXPECT_EQ(FetchLatestVersion("", Ca()), "") << "no update url";

  // A big document is refused as a whole, not read in part.
  PublishXml("<a><b><version>2.0.9</version></b><c>" + std::string(kMaxVersionFileBytes, 'x') +
             "</c></a>");
  EXPECT_EQ(FetchLatestVersion(UpdateUrl(), Ca()), "") << "huge file";
}

TEST_F(UpdateServerTest, AStalledServerEndsTheFetchWithinItsTimeOut) {
  Service().SetBehaviour({{"delay_ms", "30000"}});
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchLatestVersion(UpdateUrl(), Ca()), "");
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(kVersionFetchMillis + 3000));
  Service().ClearBehaviour();
}

TEST_F(UpdateServerTest, TheUpdaterTakesItsNameOnlyWhenComplete) {
  TempDir dir;
  // The user's local folder of the program need not exist yet.
  std::string folder = dir.str() + "/Tavisnap/";
  std::string updater = folder + kUpdaterFileName;
  std::string payload(100000, 'u');
  ASSERT_EQ(Service().Post("_control/update", {{"updater", payload}}).status, 200);

  ASSERT_TRUE(DownloadUpdater(UpdateUrl(), folder, Ca()));
  EXPECT_EQ(ReadWholeFile(updater), payload);

  struct Case {
    const char* name;
    ControlParams behaviour;
    std::string url;
  } failures[] = {
      {"cut short", {{"stall_after", "5000"}, {"stall_ms", "0"}}, UpdateUrl()},
      {"not found", {{"status", "404"}}, UpdateUrl()},
      {"plain http", {}, Service().PlainUrl() + "update/"},
  };
  for (const Case& c : failures) {
    AtomicWriteFile(updater, "earlier");
    Service().SetBehaviour(c.behaviour);
    EXPECT_FALSE(DownloadUpdater(c.url, folder, Ca())) << c.name;
    EXPECT_EQ(ReadWholeFile(updater), "earlier") << c.name;
    auto files = std::distance(std::filesystem::directory_iterator(U8Path(folder)), {});
    EXPECT_EQ(files, 1) << c.name << ": a partial file was left";
  }
  Service().ClearBehaviour();
}

TEST(RemoveLeftoverUpdater, DeletesOnlyWhenSignedUp) {
  TempDir dir;
  dir.Write(kUpdaterFileName, "x");
  RemoveLeftoverUpdater(dir.str() + "/", "");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / kUpdaterFileName));
  RemoveLeftoverUpdater(dir.str() + "/", "user@example.jp");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / kUpdaterFileName));
}

TEST(CallOnWorker, KeepsTheCallingThreadWaitingAndExceptionsOnTheWorker) {
  int waits = 0;
  auto wait = [&] {
    ++waits;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  };
  auto slow = [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 7;
  };
  EXPECT_EQ(CallOnWorker<int>(slow, wait), 7);
  EXPECT_GT(waits, 3);
  EXPECT_EQ(CallOnWorker<int>([]() -> int { throw std::runtime_error("x"); }, wait), 0);
}

}  // namespace
}  // namespace tavisnap::testing
