// The update offer at start-up of the installed program, against the local service.
#include <gtest/gtest.h>

#include <set>

#include "app/installed_program_win.h"
#include "update_wine_support.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kQuestion[] =
    L"現在のタビスナップが最新バージョンではありません\r\n自動アップデートを行いますか？";
constexpr wchar_t kFailed[] =
    L"正常に自動アップデートが出来ませんでした\r\nタビスナップを起動します";

std::set<std::wstring> FilesIn(const std::string& dir) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(dir + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

class UpdateStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    Control("_control/reset", {});
    Control("_control/update", {{kFormText, "version", "2.0.10"}});
    // The published updater is the stand-in, copied into the service's update folder.
    CopyStandIn(Env("TAVISNAP_SERVICE_STATE") + "\\update\\AutoUpdate.exe");
  }
  void TearDown() override { Control("_control/reset", {}); }

  // The question box of the offer, checked.
  static MessageBoxInfo ExpectOffer(DWORD pid) {
    auto box = WaitForMessageBox(pid, 30s);
    EXPECT_TRUE(box.has_value()) << "no update offered";
    if (!box) return {};
    EXPECT_EQ(box->caption, L"自動アップデート確認");
    EXPECT_EQ(box->text, kQuestion);
    EXPECT_EQ(box->buttons.size(), 2u);
    return *box;
  }

  InstalledProgram program_;
};

TEST_F(UpdateStartup, AcceptedStartsThePublishedUpdaterAndEnds) {
  auto process = program_.Start();
  MessageBoxInfo box = ExpectOffer(process->pid);
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(FindTopWindow(L"TFormMainTavisnap", L"", process->pid), nullptr)
      << "the windows come after the offer";
  AnswerMessageBox(box, IDOK);
  auto code = process->Wait(30s);
  ASSERT_TRUE(code.has_value()) << "the program goes on after starting the updater";
  EXPECT_EQ(*code, 0u);
  std::string updater = UserFolder(false) + "AutoUpdate.exe";
  EXPECT_EQ(ReadFileBytes(updater), ReadFileBytes(StandInProgram()));
  std::string runs = WaitForRuns(updater);
  EXPECT_NE(runs.find("AutoUpdate.exe"), std::string::npos) << "the updater did not run";
}

TEST_F(UpdateStartup, DeclinedStartsNormally) {
  auto process = program_.Start();
  MessageBoxInfo box = ExpectOffer(process->pid);
  ASSERT_NE(box.hwnd, nullptr);
  AnswerMessageBox(box, IDCANCEL);
  EXPECT_NE(WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 20s), nullptr);
  EXPECT_FALSE(FileExists(UserFolder(false) + "AutoUpdate.exe"));
}

TEST_F(UpdateStartup, AFailedDownloadIsReportedLeavesNothingAndStartsNormally) {
  // A signed-up user, and an updater left by an earlier start.
  program_.SetSystemValue("MAILID", "user@example.jp");
  const std::string folder = UserFolder(false);
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  WriteFileBytes(folder + "AutoUpdate.exe", "earlier");
  std::set<std::wstring> before = FilesIn(folder);
  before.erase(L"AutoUpdate.exe");
  // The updater's answer breaks off after its first bytes; the version file is smaller.
  Control("_control/behaviour", {{kFormText, "stall_after", "4096"}, {kFormText, "stall_ms", "0"}});

  auto process = program_.Start();
  MessageBoxInfo offer = ExpectOffer(process->pid);
  ASSERT_NE(offer.hwnd, nullptr);
  AnswerMessageBox(offer, IDOK);
  auto failed = WaitForMessageBox(process->pid, 30s);
  ASSERT_TRUE(failed.has_value()) << "no message about the failed download";
  EXPECT_EQ(failed->caption, L"確認");
  EXPECT_EQ(failed->text, kFailed);
  EXPECT_EQ(failed->buttons.size(), 1u);
  AnswerMessageBox(*failed, IDOK);

  EXPECT_NE(WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 20s), nullptr);
  EXPECT_EQ(FilesIn(folder), before) << "a partial or earlier updater stays";
  EXPECT_FALSE(FileExists(folder + "AutoUpdate.exe.ran"));
}

TEST_F(UpdateStartup, AnUpdaterThatDoesNotStartIsReportedAndTheProgramStartsNormally) {
  WriteFileBytes(Env("TAVISNAP_SERVICE_STATE") + "\\update\\AutoUpdate.exe", "no program");
  auto process = program_.Start();
  MessageBoxInfo offer = ExpectOffer(process->pid);
  ASSERT_NE(offer.hwnd, nullptr);
  AnswerMessageBox(offer, IDOK);
  auto failed = WaitForMessageBox(process->pid, 30s);
  ASSERT_TRUE(failed.has_value()) << "the failed start is not reported";
  EXPECT_EQ(failed->caption, L"確認");
  EXPECT_EQ(failed->text, kFailed);
  AnswerMessageBox(*failed, IDOK);
  EXPECT_NE(WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 20s), nullptr);
}

TEST_F(UpdateStartup, AServerThatNeverAnswersDelaysTheStartOnlyBrieflyAndTheSplashPaints) {
  Control("_control/behaviour", {{kFormText, "delay_ms", "60000"}});
  auto process = program_.Start();
  HWND splash = WaitForTopWindow(L"TFormSplash", L"", process->pid, 10s, true);
  ASSERT_NE(splash, nullptr);
  // While the fetch waits, the splash window still handles its messages.
  Pump(2500ms);
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutW(splash, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
      << "the splash window does not answer during the fetch";
  EXPECT_NE(WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 20s), nullptr)
      << "the program does not start while the version file does not come";
  EXPECT_EQ(FindTopWindow(L"#32770", L"自動アップデート確認", process->pid), nullptr);
}

}  // namespace
}  // namespace tavisnap::testing
