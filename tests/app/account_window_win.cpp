#include "app/account_window_win.h"

#include <gtest/gtest.h>

#include "account/form_init_res.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

HWND AccountWindow(DWORD pid) {
  for (HWND w : TopWindows(pid)) {
    if (IsWindowVisible(w) && ClassOf(w) == L"#32770" && GetDlgItem(w, 0xFFFF) == nullptr &&
        FindChildById(w, IDC_Button_already_reg_do)) {
      return w;
    }
  }
  return nullptr;
}

void RegisterThenSignIn(DWORD pid, HWND account, const std::string& mail, bool autoLogin) {
  SetText(FindChildById(account, IDC_Edit_new_mailadr1), Wide(mail));
  SetText(FindChildById(account, IDC_Edit_new_mailadr2), Wide(mail));
  Click(FindChildById(account, IDC_Button_new_reg_do));
  auto box = ExpectMessageBox(pid, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"新規登録します、よろしいですか？");
  box = ExpectMessageBox(pid, IDOK);
  ASSERT_TRUE(box.has_value());
  ASSERT_EQ(box->text,
            L"登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。");

  SignIn(pid, account, mail, autoLogin);
}

HWND RegisterOnFirstStart(DWORD pid, const std::string& mail, bool autoLogin) {
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", pid, 30s);
  HWND account = nullptr;
  WaitUntil([&] { return (account = AccountWindow(pid)) != nullptr; }, 30s);
  EXPECT_NE(main, nullptr) << "no main window";
  EXPECT_NE(account, nullptr) << "the account window did not open";
  if (!main || !account) return nullptr;
  RegisterThenSignIn(pid, account, mail, autoLogin);
  return ::testing::Test::HasFailure() ? nullptr : main;
}

bool OnRegistrationPage(HWND account) {
  return IsWindowVisible(FindChildById(account, IDC_Edit_new_mailadr1)) != FALSE;
}

void SignIn(DWORD pid, HWND account, const std::string& mail, bool autoLogin) {
  std::string password = ServiceRecordedPassword(mail);
  ASSERT_FALSE(password.empty()) << "the service recorded no password";
  HWND passwordEdit = FindChildById(account, IDC_Edit_already_password);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(passwordEdit) != FALSE; }));
  EXPECT_EQ(TextOf(FindChildById(account, IDC_Edit_already_mailadr)), Wide(mail));
  SetText(passwordEdit, Wide(password));
  SetChecked(FindChildById(account, IDC_CheckBox_AutoLogin), autoLogin);
  Click(FindChildById(account, IDC_Button_already_reg_do));
  auto box = ExpectMessageBox(pid, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"タビスナップ");
  ASSERT_EQ(box->text, L"ログインできました");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(account); })) << "the window stays";
}

}  // namespace tavisnap::testing
