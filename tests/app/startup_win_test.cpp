// Start-up of the whole program: the splash window, the hidden main window and the
// message loop; the single-instance guard; the missing-settings exit.
#include <gtest/gtest.h>

#include "app/installed_program_win.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kMutexName[] = L"{544FA0D0-9452-4470-A0FA-C281863704F7}";

TEST(Startup, ShowsTheSplashAndLivesHiddenInItsMessageLoop) {
  InstalledProgram program;
  auto process = program.Start();

  HWND splash = WaitForTopWindow(L"TFormSplash", L"", process->pid, 10s, true);
  ASSERT_NE(splash, nullptr) << "no splash window";
  RECT r;
  GetClientRect(splash, &r);
  EXPECT_EQ(r.right, 310);
  EXPECT_EQ(r.bottom, 181);
  SaveScreenshot("startup-splash");

  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 20s);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(splash) || !IsWindow(splash); }, 10s))
      << "the splash window stays";
  EXPECT_FALSE(IsWindowVisible(main)) << "the main window must start hidden";
  SaveScreenshot("startup-running");

  // The loop is running: the window answers, and the process goes on.
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_FALSE(process->Wait(500ms).has_value());
}

// Plays the running instance itself: holds the mutex and owns a window of the main
// window's class, which records what the second start sends.
struct FakeFirstInstance {
  static inline std::string received;
  static inline ULONG_PTR dataId = 0;
  static inline int messages = 0;

  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  HWND window = nullptr;

  FakeFirstInstance() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_COPYDATA) {
        auto* cds = reinterpret_cast<COPYDATASTRUCT*>(l);
        ++messages;
        dataId = cds->dwData;
        received.assign(static_cast<const char*>(cds->lpData), cds->cbData);
        return TRUE;
      }
      return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TFormMainTavisnap";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"タビスナップ", WS_OVERLAPPED, 0, 0, 100, 100,
                             nullptr, nullptr, wc.hInstance, nullptr);
    received.clear();
    messages = 0;
  }
  ~FakeFirstInstance() {
    DestroyWindow(window);
    UnregisterClassW(L"TFormMainTavisnap", GetModuleHandleW(nullptr));
    CloseHandle(mutex);
  }
};

TEST(SingleInstance, ASecondStartHandsOverItsParametersAndEnds) {
  FakeFirstInstance first;
  InstalledProgram program;
  auto second = program.Start(L"a b c");

  auto box = WaitForMessageBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"既にタビスナップは起動されています");
  EXPECT_EQ(box->caption, L"タビスナップ（確認）");
  EXPECT_EQ(box->buttons.size(), 1u);
  AnswerMessageBox(*box, IDOK);

  auto code = second->Wait(10s);
  ASSERT_TRUE(code.has_value()) << "the second start did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(FakeFirstInstance::messages, 1);
  EXPECT_EQ(FakeFirstInstance::dataId, 1u);
  EXPECT_EQ(FakeFirstInstance::received, std::string("a|b|c\0", 6));
}

TEST(SingleInstance, ASecondStartWithoutParametersSendsNothing) {
  FakeFirstInstance first;
  InstalledProgram program;
  auto second = program.Start();
  ASSERT_TRUE(ExpectMessageBox(second->pid, IDOK).has_value());
  ASSERT_TRUE(second->Wait(10s).has_value());
  EXPECT_EQ(FakeFirstInstance::messages, 0);
}

TEST(Startup, EndsWithAMessageWhenTheSettingsFileIsMissing) {
  InstalledProgram program;
  program.RemoveSystemIni();
  auto process = program.Start();
  auto box = WaitForMessageBox(process->pid);
  ASSERT_TRUE(box.has_value()) << "no message before the exit";
  EXPECT_NE(box->text.find(L"システムファイルを確認して下さい。"), std::wstring::npos);
  AnswerMessageBox(*box, IDOK);
  ASSERT_TRUE(process->Wait(10s).has_value()) << "the process goes on without settings";
  EXPECT_EQ(FindTopWindow(L"TFormMainTavisnap", L"", process->pid), nullptr);
}

}  // namespace
}  // namespace tavisnap::testing
