// The driver finds windows by class and Japanese title, reads message boxes and
// answers them, audits layouts and reads popup menus from their picture; everything later
// Wine tests rely on.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "support/driver_win.h"
#include "support/layout_audit_win.h"
#include "support/menu_picture_win.h"

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

// A shown top-level window of 300 x 200 client pixels for the audits below.
class ProbeWindow {
 public:
  ProbeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"TLayoutProbe";
    RegisterClassW(&wc);
    RECT r{0, 0, 300, 200};
    AdjustWindowRect(&r, WS_OVERLAPPED | WS_CAPTION, FALSE);
    hwnd_ = CreateWindowExW(0, L"TLayoutProbe", L"probe", WS_OVERLAPPED | WS_CAPTION, 100, 100,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                            nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    Pump(100ms);
  }
  ~ProbeWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  void Clear() {
    for (HWND child : Children(hwnd_)) DestroyWindow(child);
  }
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }

 private:
  HWND hwnd_ = nullptr;
};

TEST(Driver, LayoutAuditFindsClippedTextsStrayControlsAndOverlaps) {
  struct Case {
    const char* what;
    std::function<void(ProbeWindow&)> build;
    const char* fault;  // a part of the report, nullptr when the layout is sound
  } cases[] = {
      {"sound",
       [](ProbeWindow& w) {
         w.Add(L"Static", L"送信先名称", SS_LEFT, 10, 10, 200, 20);
         w.Add(L"Button", L"登録", BS_PUSHBUTTON, 10, 40, 100, 28);
         w.Add(L"Button", L"自動ログイン", BS_AUTOCHECKBOX, 10, 80, 200, 20);
         w.Add(L"Edit", L"user@example.jp", ES_READONLY | WS_BORDER, 10, 110, 200, 22);
         w.Add(L"Button", L"枠", BS_GROUPBOX, 5, 5, 290, 190);
       },
       nullptr},
      {"narrow label",
       [](ProbeWindow& w) {
         w.Add(L"Static", L"現在の送信先メールアドレス", SS_LEFT, 10, 10, 30, 14);
       },
       "Static"},
      {"narrow button",
       [](ProbeWindow& w) { w.Add(L"Button", L"キャンセル", BS_PUSHBUTTON, 10, 10, 20, 28); },
       "its text needs"},
      {"long informative text",
       [](ProbeWindow& w) {
         w.Add(L"Edit", L"パスワードを忘れた方は再通知ボタンを押してください", ES_READONLY, 10, 10,
               80, 22);
       },
       "its text needs"},
      {"out of the client area",
       [](ProbeWindow& w) { w.Add(L"Button", L"登録", BS_PUSHBUTTON, 250, 180, 100, 28); },
       "reaches out"},
      {"overlap",
       [](ProbeWindow& w) {
         w.Add(L"Button", L"登録", BS_PUSHBUTTON, 10, 10, 100, 28);
         w.Add(L"Button", L"実行", BS_PUSHBUTTON, 60, 20, 100, 28);
       },
       "on top of each other"},
  };
  ProbeWindow window;  // one for all: destroying the foreground window stalls under Wine
  for (const Case& c : cases) {
    window.Clear();
    c.build(window);
    LayoutAudit audit = AuditLayout(window.hwnd());
    if (c.fault) {
      EXPECT_FALSE(audit.ok) << c.what;
      EXPECT_NE(audit.report.find(c.fault), std::string::npos) << c.what << "\n" << audit.report;
    } else {
      EXPECT_TRUE(audit.ok) << c.what << "\n" << audit.report;
    }
  }
}

TEST(Driver, PopupMenuPictureTellsEnabledFromGreyedEntries) {
  ProbeWindow window;
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"画面送信(&F)");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 2, L"画像削除(&D)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 3, L"送信先設定(&S)");
  AppendMenuW(menu, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(sub), L"設定(&S)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, 4, L"viewer(&V)");
  SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);  // nothing highlighted

  std::string seen;
  std::thread looker([&] {
    HWND popup = WaitForTopWindow(L"#32768", L"", GetCurrentProcessId(), 5s, true);
    if (!popup) return;
    Sleep(300);  // painted
    seen = Describe(TextLinesOf(popup));
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  TrackPopupMenuEx(menu, TPM_LEFTALIGN, 400, 300, window.hwnd(), nullptr);
  looker.join();
  DestroyMenu(menu);
  EXPECT_EQ(seen, "dark grey grey dark");
}

}  // namespace
}  // namespace tavisnap::testing
