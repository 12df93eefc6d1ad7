// The first days of a user, through the real tavisnap.exe and the local service: the
// first start opens the account window on the registration page, with only the viewer
// usable in the tray; registering and signing in with the mailed password stores the
// account and lives on in the tray; the next start signs in by itself with the stored
// account, without showing the window, and every tray entry is usable; the exit path
// removes the tray icon. A changed address and the automatic sign-in switch hold on the
// next starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "account/form_init_res.h"
#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "app/main_window_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "support/driver_win.h"
#include "support/menu_picture_win.h"
#include "support/sent_field.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr UINT kTrayCallback = WM_USER + 100;

std::string RegistryPassword() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\tavisV01\\2010", 0, KEY_READ, &key) != 0) {
    return {};
  }
  wchar_t buf[256] = {};
  DWORD size = sizeof buf;
  RegQueryValueExW(key, L"pdata", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(key);
  return Narrow(buf);
}

// The tray menu as the program draws it, opened from outside the way the keyboard opens
// it: per entry (Send, Resend, Delete, Set, viewer, Close, Exit) "dark" when it can be chosen,
// "grey" when not. Menus of another process cannot be read under Wine; their picture can.
std::string TrayMenuLines(HWND main, DWORD pid) {
  SetCursorPos(5, GetSystemMetrics(SM_CYSCREEN) - 5);  // off the menu: nothing highlighted
  PostMessageW(main, kTrayCallback, MAKEWPARAM(400, 300), MAKELPARAM(WM_CONTEXTMENU, 1));
  HWND popup = WaitForTopWindow(L"#32768", L"", pid, 5s, true);
  if (!popup) return "no menu";
  Pump(300ms);  // painted
  std::string lines = Describe(TextLinesOf(popup));
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return !IsWindowVisible(popup); }, 3s);
  return lines;
}

TEST(AccountFlow, RegisterSignInThenSignInAutomaticallyOnTheNextStart) {
  ASSERT_FALSE(Env("TAVISNAP_SERVICE_URL").empty()) << "runs with the local service";
  InstalledProgram program;
  const std::string mail = "first-user@example.jp";

  // First start: the account window on its registration page.
  auto first = program.Start();
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", first->pid, 30s);
  ASSERT_NE(main, nullptr);
  HWND account = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (account = AccountWindow(first->pid)) != nullptr; }, 30s))
      << "the account window did not open";
  HWND newMail1 = FindChildById(account, IDC_Edit_new_mailadr1);
  ASSERT_TRUE(IsWindowVisible(newMail1)) << "not on the registration page";
  EXPECT_FALSE(IsWindowVisible(FindChildById(account, IDC_Edit_already_password)));
  SaveScreenshot("program-first-start", account);

  // Without automatic sign-in start-up leaves only the viewer usable of the four entries
  // that follow the sign-in.
  EXPECT_EQ(TrayMenuLines(main, first->pid), "grey grey grey grey dark dark dark");
  ASSERT_TRUE(IsWindowVisible(account));

  // While the account window is open the tray double click does nothing.
  PostMessageW(main, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  Pump(700ms);
  EXPECT_FALSE(IsWindowVisible(main));

  RegisterThenSignIn(first->pid, account, mail, true);
  if (HasFatalFailure()) return;
  EXPECT_FALSE(RegistryPassword().empty()) << "no pdata in the registry";
  EXPECT_TRUE(program.SystemIniHas("MAILID=" + mail));
  EXPECT_TRUE(program.SystemIniHas("AUTOLOGIN=1"));
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main); }, 10s));

  // The tray opens the main window now.
  PostMessageW(main, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10s));
  SaveScreenshot("program-main-window", main);

  // The exit path: Cancel keeps it running, OK ends it and takes the icon along.
  PostCommand(main, IDM_PMenuTrayExit);
  auto box = ExpectMessageBox(first->pid, IDCANCEL);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"終了します、よろしいですか？");
  EXPECT_FALSE(first->Wait(700ms).has_value()) << "Cancel ended the program";
  PostCommand(main, IDM_PMenuTrayExit);
  ASSERT_TRUE(ExpectMessageBox(first->pid, IDOK).has_value());
  auto code = first->Wait(15s);
  ASSERT_TRUE(code.has_value()) << "OK did not end the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(TrayIconPresent(main));

  // Next start: the stored account signs in by itself, with the address of system.ini
  // and the password of the registry; the account window never shows.
  const size_t signInsBefore = ServiceSignInRequests().size();
  auto second = program.Start();
  HWND main2 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", second->pid, 30s);
  ASSERT_NE(main2, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main2); }, 30s)) << "no tray icon";
  std::vector<std::string> signIns;
  ASSERT_TRUE(WaitUntil([&] { return (signIns = ServiceSignInRequests()).size() > signInsBefore; }))
      << "the second start sent no sign-in";
  Pump(1500ms);
  signIns = ServiceSignInRequests();
  ASSERT_EQ(signIns.size(), signInsBefore + 1) << "one sign-in";
  EXPECT_EQ(signIns.back().substr(0, signIns.back().find("\r\n")), "POST /action.php HTTP/1.1");
  EXPECT_EQ(SentField(signIns.back(), "username"), mail);
  EXPECT_EQ(SentField(signIns.back(), "password"), ServiceRecordedPassword(mail));
  EXPECT_EQ(AccountWindow(second->pid), nullptr) << "the account window showed";
  EXPECT_FALSE(WaitForMessageBox(second->pid, 500ms).has_value()) << "a message appeared";
  EXPECT_EQ(TrayMenuLines(main2, second->pid), "dark grey dark dark dark dark dark")
      << "the sign-in did not enable the tray entries";
  PostMessageW(main2, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main2) != FALSE; }, 10s))
      << "not signed in: the tray still waits for the account window";
  PostMessageW(main2, WM_QUIT, 0, 0);
  ASSERT_TRUE(second->Wait(15s).has_value());
}

// Runs a toggle entry and answers its question and its result, returning the result.
std::wstring Toggle(HWND main, DWORD pid, int id) {
  PostCommand(main, id);
  if (!ExpectMessageBox(pid, IDOK)) return L"no question";
  auto result = ExpectMessageBox(pid, IDOK);
  return result ? result->text : L"no result";
}

// A changed address and the automatic sign-in switch outlive the program: the next start
// signs in with the new address, then waits for the user, then signs in by itself again.
TEST(AccountFlow, ChangedAddressAndTheSignInSwitchHoldOnTheNextStarts) {
  ASSERT_FALSE(Env("TAVISNAP_SERVICE_URL").empty()) << "runs with the local service";
  InstalledProgram program;
  const std::string mail = "hachiro@example.jp";
  const std::string newMail = "kuro@example.jp";

  auto first = program.Start();
  HWND main = RegisterOnFirstStart(first->pid, mail, true);
  if (HasFatalFailure()) return;

  PostCommand(main, IDM_MenuSetPersonalUserIdEdit);
  HWND address = FindChildById(main, IDC_Edit_idchg_userid);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(address) != FALSE; }));
  SetText(address, Widen(newMail));
  SetText(FindChildById(main, IDC_Edit_idchg_confrm), Widen(newMail));
  Click(FindChildById(main, IDC_Button_exec));
  auto done = ExpectMessageBox(first->pid, IDOK);
  ASSERT_TRUE(done.has_value());
  ASSERT_EQ(done->text, L"ユーザーID変更完了");
  ExitThroughTheTray(main, *first);
  if (HasFatalFailure()) return;
  EXPECT_NE(ReadFileBytes(program.systemIni()).find("MAILID=" + newMail), std::string::npos);

  // Automatic sign-in with the new address, then switched off.
  const size_t signInsBefore = ServiceSignInRequests().size();
  auto second = program.Start();
  HWND main2 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", second->pid, 30s);
  ASSERT_NE(main2, nullptr);
  std::vector<std::string> signIns;
  ASSERT_TRUE(
      WaitUntil([&] { return (signIns = ServiceSignInRequests()).size() > signInsBefore; }, 30s));
  EXPECT_EQ(SentField(signIns.back(), "username"), newMail);
  EXPECT_EQ(SentField(signIns.back(), "password"), ServiceRecordedPassword(newMail));
  EXPECT_EQ(Toggle(main2, second->pid, IDM_MenuSetOtherAutologin), L"自動ログインを解除しました");
  ExitThroughTheTray(main2, *second);
  if (HasFatalFailure()) return;
  EXPECT_NE(ReadFileBytes(program.systemIni()).find("AUTOLOGIN=2"), std::string::npos);

  // Switched off, the next start waits on the sign-in page with the new address; signed
  // in, the tray switches it on again.
  const size_t signInsThird = ServiceSignInRequests().size();
  auto third = program.Start();
  HWND main3 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", third->pid, 30s);
  ASSERT_NE(main3, nullptr);
  HWND account = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (account = AccountWindow(third->pid)) != nullptr; }, 30s))
      << "the account window did not open";
  SignIn(third->pid, account, newMail, false);
  if (HasFatalFailure()) return;
  EXPECT_EQ(ServiceSignInRequests().size(), signInsThird + 1)
      << "signed in by itself before the user";
  EXPECT_EQ(Toggle(main3, third->pid, IDM_PMenuTraySetOtherAutologin),
            L"自動ログインを設定しました");
  ExitThroughTheTray(main3, *third);
  if (HasFatalFailure()) return;

  auto fourth = program.Start();
  HWND main4 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", fourth->pid, 30s);
  ASSERT_NE(main4, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main4); }, 30s));
  const size_t signInsFourth = signInsThird + 1;
  EXPECT_TRUE(WaitUntil([&] { return ServiceSignInRequests().size() > signInsFourth; }, 30s))
      << "switched on again, the start did not sign in by itself";
  EXPECT_EQ(AccountWindow(fourth->pid), nullptr) << "the account window showed";
  PostMessageW(main4, WM_QUIT, 0, 0);
  ASSERT_TRUE(fourth->Wait(15s).has_value());
}

}  // namespace
}  // namespace tavisnap::testing
