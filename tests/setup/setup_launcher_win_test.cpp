// TavisnapSetup.exe driven from outside under Wine, from a folder of its own with the
// logging Soundp.dll (or without it) and a stand-in installer: the window and its texts,
// the speech on focus and on Alt+R, the reader keystrokes, and the install steps against
// a window titled タビスナップ played by this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "setup/agreement_text.h"
#include "setup/launcher_win.h"
#include "support/driver_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

using Clock = std::chrono::steady_clock;

const std::wstring kCaption =
    L"ﾀﾋﾞｽﾅｯﾌﾟ ｾｯﾄｱｯﾌﾟ 使用許諾に同意してｲﾝｽﾄｰﾙする場合は Alt+I を選択して下さい "
    L"ｾｯﾄｱｯﾌﾟを終了するにはｷｬﾝｾﾙ Alt+C 使用許諾を聞く場合 Alt+R を選択して下さい";
const std::string kLicense = "使用許諾を聞く(&R)　";
const std::string kCancel = "キャンセル(&C)";
const std::string kInstall = "使用許諾に同意してインストール(&I)";

// Keys that reach the system, as a low-level hook sees them.
class KeyRecorder {
 public:
  KeyRecorder() {
    keys_ = &seen_;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, Hook, GetModuleHandleW(nullptr), 0);
  }
  ~KeyRecorder() {
    UnhookWindowsHookEx(hook_);
    keys_ = nullptr;
  }
  std::string Keys() const { return seen_; }
  void Clear() { seen_.clear(); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && keys_) {
      auto* key = reinterpret_cast<KBDLLHOOKSTRUCT*>(lp);
      const DWORD vk = key->vkCode;
      const bool ctrl = vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL;
      const bool alt = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
      const std::string name = ctrl ? "Ctrl" : alt ? "Alt" : std::string(1, static_cast<char>(vk));
      *keys_ += name + ((key->flags & LLKHF_UP) ? "↑ " : "↓ ");
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline std::string* keys_ = nullptr;
  std::string seen_;
  HHOOK hook_ = nullptr;
};

// A window of the reader's class, as FocusTalk keeps one.
class FocusTalkWindow {
 public:
  FocusTalkWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FocusTalkVoiceWnd";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            wc.hInstance, nullptr);
  }
  ~FocusTalkWindow() { DestroyWindow(hwnd_); }

 private:
  HWND hwnd_;
};

// Plays a running Tavisnap: a window titled タビスナップ on a thread of its own, whose
// message loop a WM_QUIT ends; the window itself goes the given time after that.
class FakeTavisnap {
 public:
  explicit FakeTavisnap(Millis lingerAfterQuit) {
    thread_ = std::thread([this, lingerAfterQuit] {
      HWND window = CreateWindowExW(0, L"STATIC", L"タビスナップ", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
      threadId_ = GetCurrentThreadId();
      ready_ = true;
      MSG msg;
      for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
          quitAt_ = Clock::now();
          quit_ = true;
          Sleep(static_cast<DWORD>(lingerAfterQuit.count()));
          break;
        }
        if (got < 0 || msg.message == WM_APP) break;
        DispatchMessageW(&msg);
      }
      DestroyWindow(window);
    });
    while (!ready_) Sleep(10);
  }
  ~FakeTavisnap() {
    PostThreadMessageW(threadId_, WM_APP, 0, 0);
    thread_.join();
  }
  bool Quit() const { return quit_; }
  Clock::time_point QuitAt() const { return quitAt_; }

 private:
  std::thread thread_;
  std::atomic<DWORD> threadId_ = 0;
  std::atomic<bool> ready_ = false, quit_ = false;
  Clock::time_point quitAt_;
};

RECT ClientRectOf(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};  // x, y, width, height
}

TEST(SetupLauncher, ShowsTheAgreementAndItsButtons) {
  Launcher launcher;
  HWND window = launcher.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), kCaption);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 442);
  EXPECT_EQ(client.bottom, 391);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  RECT frame, work;
  GetWindowRect(window, &frame);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);

  // Tab order, captions and places.
  struct Expected {
    std::wstring cls;
    std::string text;
    RECT place;
  };
  const Expected expected[] = {
      {L"Button", kLicense, {8, 311, 304, 33}},
      {L"Button", kCancel, {328, 311, 105, 33}},
      {L"Button", kInstall, {8, 350, 425, 33}},
      {L"Edit", AgreementMemoText(), {8, 8, 425, 297}},
  };
  std::vector<HWND> children;
  for (HWND child : Children(window)) {
    if (IsWindowVisible(child)) children.push_back(child);  // not the memo's hidden name
  }
  ASSERT_EQ(children.size(), std::size(expected));
  for (size_t i = 0; i < children.size(); ++i) {
    EXPECT_EQ(ClassOf(children[i]), expected[i].cls) << i;
    EXPECT_EQ(Narrow(TextOf(children[i])), expected[i].text) << i;
    RECT place = ClientRectOf(children[i], window);
    EXPECT_EQ(place.left, expected[i].place.left) << i;
    EXPECT_EQ(place.top, expected[i].place.top) << i;
    EXPECT_EQ(place.right, expected[i].place.right) << i;
    EXPECT_EQ(place.bottom, expected[i].place.bottom) << i;
    EXPECT_TRUE(GetWindowLongW(children[i], GWL_STYLE) & WS_TABSTOP) << i;
  }
  HWND memo = children[3];
  EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_READONLY);
  DWORD selStart = 1, selEnd = 1;
  SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
               reinterpret_cast<LPARAM>(&selEnd));
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, 0u);
  EXPECT_EQ(launcher.Focus(), children[0]);
  SaveScreenshot("setup-launcher", window);
}

TEST(SetupLauncher, SpeaksEachButtonOnFocusAndTheAgreementOnAltR) {
  Launcher launcher;
  ASSERT_NE(launcher.window(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !launcher.Spoken().empty(); }, 5s));
  for (int i = 0; i < 4; ++i) launcher.PressTab();  // round the four tab stops
  const std::vector<std::string> onFocus = {"0\t" + kLicense, "0\t" + kCancel, "0\t" + kInstall,
                                            "0\t" + kLicense};
  EXPECT_EQ(launcher.Spoken(), onFocus);

  launcher.PressAlt(L'r');
  ASSERT_TRUE(WaitUntil([&] { return launcher.Spoken().size() > onFocus.size(); }, 5s));
  std::vector<std::string> spoken = launcher.Spoken();
  EXPECT_EQ(spoken.back(), "0\t" + SpokenText(AgreementLines()));
  EXPECT_EQ(spoken.size(), onFocus.size() + 1);
}

TEST(SetupLauncher, SendsTheReadersKeyForFocusTalkOrTheOthersAlsoWithoutSoundp) {
  for (bool withSoundp : {true, false}) {
    Launcher launcher(withSoundp);
    ASSERT_NE(launcher.window(), nullptr);
    KeyRecorder keys;
    launcher.PressAlt(L'r');
    EXPECT_TRUE(WaitUntil([&] { return keys.Keys().size() >= 6 * 4; }, 5s));
    EXPECT_EQ(keys.Keys(), "Ctrl↓ Alt↓ Z↓ Ctrl↑ Alt↑ Z↑ ") << "Soundp.dll " << withSoundp;
    keys.Clear();
    {
      FocusTalkWindow focusTalk;
      launcher.PressAlt(L'r');
      EXPECT_TRUE(WaitUntil([&] { return keys.Keys().size() >= 6 * 4; }, 5s));
    }
    EXPECT_EQ(keys.Keys(), "Ctrl↓ Alt↓ Q↓ Ctrl↑ Alt↑ Q↑ ") << "Soundp.dll " << withSoundp;
    EXPECT_EQ(launcher.Spoken().size(), withSoundp ? 3u : 0u);  // the focus, two readings
  }
}

// The question; Yes or No as given. Checks its texts, buttons and default.
void AnswerTheQuestion(Launcher& launcher, int answer) {
  launcher.PressAlt(L'i');
  auto box = WaitForMessageBox(launcher.process().pid);
  ASSERT_TRUE(box.has_value()) << "no question";
  EXPECT_EQ(box->text, L"タビスナップをインストールします、続行しますか？");
  EXPECT_EQ(box->caption, L"セットアップ確認");
  EXPECT_EQ(box->buttons.size(), 2u);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(box->hwnd, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON)
      << "No must be the default";
  EXPECT_EQ(GetWindow(box->hwnd, GW_OWNER), launcher.window());
  AnswerMessageBox(*box, answer);
}

TEST(SetupLauncher, InstallQuitsTavisnapWaitsWhileItsWindowStaysThenStartsTheInstaller) {
  struct Case {
    const char* name;
    bool running;
    Millis linger;  // how long the window stays after the quit message
    int answer;
  };
  const Case cases[] = {
      {"No changes nothing", true, 0ms, IDNO},
      {"without Tavisnap no waiting", false, 0ms, IDYES},
      // Still there at the checks of 0 s and 1 s, gone at the one of 2 s.
      {"gone at the third check", true, 1500ms, IDYES},
  };
  const std::vector<std::string> started = {"tavisnap_setup_silent.exe|/SILENT"};
  for (const Case& c : cases) {
    std::optional<FakeTavisnap> tavisnap;
    if (c.running) tavisnap.emplace(c.linger);
    Launcher launcher;
    ASSERT_NE(launcher.window(), nullptr);
    AnswerTheQuestion(launcher, c.answer);
    const auto answered = Clock::now();
    if (c.answer == IDNO) {
      EXPECT_FALSE(launcher.process().Wait(1500ms).has_value()) << c.name;
      EXPECT_TRUE(IsWindowVisible(launcher.window())) << c.name;
      EXPECT_FALSE(tavisnap->Quit()) << c.name;
      EXPECT_TRUE(launcher.InstallerCalls().empty()) << c.name;
      continue;
    }
    if (tavisnap) {
      ASSERT_TRUE(WaitUntil([&] { return tavisnap->Quit(); }, 5s)) << c.name << ": no WM_QUIT";
      // Meanwhile the launcher answers: it waits on a timer, not in a blocked loop.
      for (int i = 0; i < 4; ++i) {
        DWORD_PTR result;
        EXPECT_TRUE(
            SendMessageTimeoutW(launcher.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 300, &result))
            << c.name << ": not answering while waiting";
        Pump(200ms);
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return !launcher.InstallerCalls().empty(); }, 15s)) << c.name;
    if (tavisnap) {
      const auto waited = Clock::now() - tavisnap->QuitAt();
      EXPECT_GE(waited, 1500ms) << c.name << ": started before the window had gone";
      EXPECT_LT(waited, 6s) << c.name << ": went on waiting after the window had gone";
    } else {
      // Wine needs about 2 s to give the focus back after the question box closes; one
      // wait of the launcher's would come on top of that.
      EXPECT_LT(Clock::now() - answered, 2800ms) << c.name;
    }
    EXPECT_EQ(launcher.InstallerCalls(), started) << c.name;
    auto code = launcher.process().Wait(10s);
    ASSERT_TRUE(code.has_value()) << c.name << ": the launcher did not end";
    EXPECT_EQ(*code, 0u) << c.name;
  }
}

TEST(SetupLauncher, AMissingInstallerIsNamedInAWarningAndTheLauncherStays) {
  Launcher launcher(true, "");
  ASSERT_NE(launcher.window(), nullptr);
  AnswerTheQuestion(launcher, IDYES);
  auto box = WaitForMessageBox(launcher.process().pid);
  ASSERT_TRUE(box.has_value()) << "the failed start is not reported";
  EXPECT_EQ(box->caption, L"セットアップ警告");
  EXPECT_TRUE(box->text.starts_with(L"インストーラーを起動できませんでした。\r\n"));
  EXPECT_TRUE(box->text.ends_with(
      L"\\tavisnap_setup_silent.exe\r\nタビスナップはインストールされていません。"))
      << Narrow(box->text);
  EXPECT_EQ(GetWindow(box->hwnd, GW_OWNER), launcher.window());
  AnswerMessageBox(*box, IDOK);
  EXPECT_FALSE(launcher.process().Wait(1500ms).has_value()) << "the launcher ended";
  EXPECT_TRUE(IsWindowVisible(launcher.window()));
}

TEST(SetupLauncher, CancelAndTheCloseBoxEndItWithoutInstalling) {
  for (bool closeBox : {false, true}) {
    Launcher launcher;
    ASSERT_NE(launcher.window(), nullptr);
    if (closeBox) {
      PostClose(launcher.window());
    } else {
      launcher.PressAlt(L'c');
    }
    auto code = launcher.process().Wait(10s);
    ASSERT_TRUE(code.has_value()) << (closeBox ? "close box" : "cancel");
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(launcher.InstallerCalls().empty());
  }
}

}  // namespace
}  // namespace tavisnap::testing
