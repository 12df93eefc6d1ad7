// The accessibility audit of every window and page as a screen reader user meets them:
// the Tab key's stops in order, each named and announced with its kind's role, no shown
// text out of Tab's reach, and every menu entry with an access key of its own. The table
// of each window is printed. A window joins the audit with one row of kWindows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "account/form_init_res.h"
#include "account/form_init_win.h"
#include "account/recording_services.h"
#include "app/resource.h"
#include "capture/form_send_panel_win.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "service/form_http_win.h"
#include "setup/setup_main_win.h"
#include "setup/sound_library_win.h"
#include "support/accessibility_win.h"
#include "support/driver_win.h"
#include "support/fake_prompter.h"
#include "viewer/form_viewer_win.h"

namespace tavisnap::testing {
namespace {

using Names = std::vector<std::wstring>;

// Every window of the program, created once and hidden, as start-up leaves them.
struct Program {
  Program()
      : main(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVISNAP)), send),
        account(services),
        panel(main.hwnd(), prompter, main.SendPanelAddressBookFactory()),
        viewer(main.hwnd(), prompter, [](int) {}),
        setup(sound, nullptr) {}
  TFormHTTP transfer;
  RecordingServices services;
  SendCoordinator send;
  TFormMainTavisnap main;
  TFormInit account;
  FakePrompter prompter;
  TFormSendPanel panel;
  TFormViewer viewer;
  SoundLibrary sound;  // none beside the test: the launcher stays silent
  TSetup_Main setup;   // the window of TavisnapSetup.exe
};

HWND ShowOnly(HWND window) {
  ShowWindow(window, SW_SHOWNOACTIVATE);
  Pump(200ms);
  return window;
}

HWND AccountPage(Program& p, int page) {
  p.account.Show();
  SendMessageW(p.account.hwnd(), WM_COMMAND,
               page == kPageNewReg ? IDM_IniMenuNewReg : IDM_INiMenuLogin, 0);
  return ShowOnly(p.account.hwnd());
}

HWND MainPageOf(Program& p, MainPage page) {
  p.main.ShowMainTab(page);
  return ShowOnly(p.main.hwnd());
}

// As a capture of the window in front opens it: every button that can be pressed is on.
HWND PanelPageOf(Program& p, PanelPage page) {
  SendParam.CaptureMode = kCaptureActiveWindow;
  SendParam.CaptureWindow = p.main.hwnd();
  p.panel.logic().FormShow();
  p.panel.ShowPage(page);
  return ShowOnly(p.panel.hwnd());
}

struct AuditedWindow {
  const char* name;
  std::function<HWND(Program&)> show;
  Names tabStops;  // in the order of the window's table of controls
};

const Names kMainFrame = {L"キャンセル"};

const std::vector<AuditedWindow> kWindows = {
    {"transfer window", [](Program& p) { return ShowOnly(p.transfer.hwnd()); }, {L"キャンセル"}},
    {"account window: registration",
     [](Program& p) { return AccountPage(p, kPageNewReg); },
     {L"ユーザーID", L"確認のため再度メールアドレスを入力してください",
      L"上記メールアドレスへパスワードが届きます", L"登録", L"中止"}},
    {"account window: sign-in",
     [](Program& p) { return AccountPage(p, kPageAlreadyReg); },
     {L"ユーザーID（メールアドレス）を入力してください", L"パスワードを入力して下さい",
      L"次回から自動ログインする", L"ログイン実行", L"中止", L"パスワード　再通知"}},
    {"main window: recipient",
     [](Program& p) { return MainPageOf(p, MainPage::Dst); },
     {L"送信先設定", L"現在の送信先名称", L"現在の送信先メールアドレス", L"送信先リスト", L"登録",
      L"キャンセル"}},
    {"main window: new address",
     [](Program& p) { return MainPageOf(p, MainPage::AddressAdd); },
     {L"アドレス帳（新規登録）", L"送信先名称", L"送信先メールアドレス", L"登録", L"キャンセル"}},
    {"main window: address edit",
     [](Program& p) { return MainPageOf(p, MainPage::AddressEdit); },
     {L"アドレス帳（編集）", L"編集する送信先", L"送信先名称", L"送信先メールアドレス", L"登録",
      L"キャンセル"}},
    {"main window: address deletion",
     [](Program& p) { return MainPageOf(p, MainPage::AddressDel); },
     {L"アドレス帳（削除）", L"削除する送信先", L"実行", L"キャンセル"}},
    {"main window: user information",
     [](Program& p) { return MainPageOf(p, MainPage::UserInfo); },
     {L"ユーザー情報", L"登録メールアドレス", L"キャンセル"}},
    {"main window: address change",
     [](Program& p) { return MainPageOf(p, MainPage::UserIdChg); },
     {L"ユーザーID変更", L"ユーザーID", L"確認入力", L"登録", L"キャンセル"}},
    {"main window: password change",
     [](Program& p) { return MainPageOf(p, MainPage::PwdChg); },
     {L"パスワードの変更", L"パスワード", L"確認入力", L"登録", L"キャンセル"}},
    {"main window: password notice",
     [](Program& p) { return MainPageOf(p, MainPage::PwdNotify); },
     {L"パスワードの再通知", L"パスワードの再通知", L"再通知", L"キャンセル"}},
    {"main window: first recipient",
     [](Program& p) { return MainPageOf(p, MainPage::DstSetting); },
     {L"送信先設定", L"送信先名称", L"送信先メールアドレス", L"登録", L"キャンセル"}},
    {"send panel: simple",
     [](Program& p) { return PanelPageOf(p, PanelPage::Easy); },
     {L"簡易送信", L"送信先名", L"現在の送信先名称", L"メールアドレス",
      L"現在の送信先メールアドレス", L"送信先リスト", L"送信先変更", L"画像の種類", L"送信",
      L"キャンセル"}},
    {"send panel: detailed",
     [](Program& p) { return PanelPageOf(p, PanelPage::Detailed); },
     {L"詳細送信", L"メールアドレス", L"送信先リスト", L"送信先変更", L"送信先(CC)",
      L"送信先リスト", L"その他送信先追加", L"送信先(BCC)", L"送信先リスト", L"その他送信先追加",
      L"メール本文", L"読み上げ内容を本文に追加(Y)", L"送信", L"キャンセル", L"画像の種類"}},
    {"viewer", [](Program& p) { return ShowOnly(p.viewer.hwnd()); }, {}},
    {"setup launcher",
     [](Program& p) { return ShowOnly(p.setup.hwnd()); },
     {L"使用許諾を聞く(R)　", L"キャンセル(C)", L"使用許諾に同意してインストール(I)",
      L"使用許諾契約書"}},
};

struct AuditedMenu {
  const char* name;
  std::function<HMENU(Program&)> menu;
};

const std::vector<AuditedMenu> kMenus = {
    {"account window menu", [](Program& p) { return GetMenu(p.account.hwnd()); }},
    {"main menu", [](Program& p) { return p.main.MainMenu(); }},
    {"tray menu", [](Program& p) { return p.main.TrayMenu(); }},
    {"viewer menu", [](Program& p) { return GetMenu(p.viewer.hwnd()); }},
};

TEST(AccessibilityAudit, EveryWindowPageAndMenu) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  Program program;
  for (const AuditedWindow& w : kWindows) {
    HWND window = w.show(program);
    AccessibilityAudit audit = AuditWindow(window, w.tabStops);
    std::cout << w.name << "\n" << audit.report << "\n";
    EXPECT_TRUE(audit.ok) << w.name << "\n" << audit.report;
    ShowWindow(window, SW_HIDE);
  }
  for (const AuditedMenu& m : kMenus) {
    AccessibilityAudit audit = AuditMenu(m.menu(program));
    std::cout << m.name << "\n" << audit.report << "\n";
    EXPECT_TRUE(audit.ok) << m.name << "\n" << audit.report;
  }
}

// A window built to fail: an edit box without a label, a text Tab never reaches, and a
// menu with a missing and a doubled access key. The audit must find each.
TEST(AccessibilityAudit, FindsAPlantedUnnamedControlUnreachableTextAndBadMenuKeys) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  HWND dialog = CreateWindowExW(0, L"#32770", L"planted", WS_POPUP | WS_CAPTION, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int y) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 22, dialog,
                           nullptr, nullptr, nullptr);
  };
  child(L"Edit", L"", WS_TABSTOP | WS_BORDER, 10);
  child(L"Button", L"OK", WS_TABSTOP | BS_PUSHBUTTON, 40);
  child(L"Static", L"この注意書きは読まれません", SS_LEFT, 70);
  child(L"msctls_trackbar32", L"", WS_TABSTOP, 100);
  ShowWindow(dialog, SW_SHOWNOACTIVATE);
  Pump(200ms);
  AccessibilityAudit audit = AuditWindow(dialog, {});
  std::cout << "planted window\n" << audit.report << "\n";
  EXPECT_FALSE(audit.ok);
  EXPECT_NE(audit.report.find("tab stop 0 (Edit) has no accessible name"), std::string::npos)
      << audit.report;
  EXPECT_NE(audit.report.find("この注意書きは読まれません\" is read by no tab stop"),
            std::string::npos)
      << audit.report;
  EXPECT_NE(audit.report.find("tab stop 2 \"\" is of a kind a screen reader has no role for"),
            std::string::npos)
      << audit.report;
  EXPECT_FALSE(AuditWindow(dialog, {L"", L"OK", L"", L"more"}).ok) << "order and count";
  DestroyWindow(dialog);

  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 1, L"開く(&O)");
  AppendMenuW(menu, MF_STRING, 2, L"その他(&O)");
  AppendMenuW(menu, MF_STRING, 3, L"キーなし");
  AccessibilityAudit menuAudit = AuditMenu(menu);
  std::cout << "planted menu\n" << menuAudit.report << "\n";
  EXPECT_FALSE(menuAudit.ok);
  EXPECT_NE(menuAudit.report.find("key O already leads"), std::string::npos) << menuAudit.report;
  EXPECT_NE(menuAudit.report.find("\"キーなし\" has no access key"), std::string::npos)
      << menuAudit.report;
  DestroyMenu(menu);
}

}  // namespace
}  // namespace tavisnap::testing
