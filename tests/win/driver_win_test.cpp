// The driver finds windows by class and Japanese title, reads message boxes and
// answers them; everything later Wine tests rely on.
#include <gtest/gtest.h>

#include <thread>

#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

TEST(Driver, RunsInAJapaneseWinePrefix) {
  EXPECT_EQ(GetACP(), 932u) << "system.ini and CSV files depend on the Japanese ANSI code page";
  EXPECT_FALSE(OutputDir().empty());
}

TEST(Driver, FindsAWindowByClassAndJapaneseTitle) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TDriverProbe";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"TDriverProbe", L"タビスナップ", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                           100, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(FindTopWindow(L"TDriverProbe", L"", GetCurrentProcessId()), w);
  EXPECT_EQ(FindTopWindow(L"", L"タビスナップ", GetCurrentProcessId()), w);
  EXPECT_EQ(FindTopWindow(L"TDriverProbe", L"別の題", GetCurrentProcessId()), nullptr);
  DestroyWindow(w);
}

TEST(Driver, ReadsAndAnswersAMessageBoxOfAnotherThread) {
  int result = 0;
  std::thread shower([&] {
    result = MessageBoxW(nullptr, L"終了します、よろしいですか？", L"タビスナップ（確認）",
                         MB_OKCANCEL | MB_DEFBUTTON2 | MB_TOPMOST);
  });
  auto box = WaitForMessageBox(GetCurrentProcessId());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"タビスナップ（確認）");
  EXPECT_EQ(box->text, L"終了します、よろしいですか？");
  EXPECT_EQ(box->buttons.size(), 2u);
  AnswerMessageBox(*box, IDOK);
  shower.join();
  EXPECT_EQ(result, IDOK);
}

TEST(Driver, TakesAScreenshot) {
  std::string path = SaveScreenshot("driver-probe");
  std::string bytes = ReadFileBytes(path);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
}

}  // namespace
}  // namespace tavisnap::testing
