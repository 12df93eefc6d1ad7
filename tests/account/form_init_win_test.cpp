// The account window under Wine: its pages and controls, and the way from registration
// to a signed-in account against the local service, driven through its controls and
// answering the real message boxes.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <sstream>

#include "account/form_init_res.h"
#include "account/form_init_thread_win.h"
#include "core/base64.h"
#include "core/define.h"
#include "core/password_store.h"
#include "core/settings_list.h"
#include "service/session_cookie.h"
#include "support/accessibility_win.h"
#include "support/driver_win.h"
#include "support/globals.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kCaption[] = L"タビスナップ";

DWORD Pid() {
  return GetCurrentProcessId();
}

struct ChildInfo {
  std::wstring cls;
  std::wstring text;
  bool operator==(const ChildInfo&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ChildInfo& c) {
  return out << Narrow(c.cls + L" \"" + c.text + L"\"");
}

// The visible, enabled controls of the window in Z order (the order of the template).
std::vector<ChildInfo> ShownControls(HWND window) {
  std::vector<ChildInfo> out;
  for (HWND child : Children(window)) {
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
    out.push_back({ClassOf(child), TextOf(child)});
  }
  return out;
}

std::vector<HWND> TabStops(HWND dialog) {
  std::vector<HWND> out;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND h = first; h; h = GetNextDlgTabItem(dialog, h, FALSE)) {
    if (!out.empty() && h == first) break;
    out.push_back(h);
  }
  return out;
}

std::wstring TabCaption(HWND tabs) {
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  TabCtrl_GetItem(tabs, 0, &item);
  return text;
}

std::wstring MenuText(HMENU menu, UINT pos) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, pos, text, 128, MF_BYPOSITION);
  return text;
}

// A message box of this process. The driver's own search would take the account window
// for one: it is a dialog too.
std::optional<MessageBoxInfo> WaitForBox(HWND form, Millis timeout = 15s) {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        for (HWND top : TopWindows(Pid())) {
          if (top == form || !IsWindowVisible(top) || ClassOf(top) != L"#32770") continue;
          MessageBoxInfo info;
          info.hwnd = top;
          info.caption = TextOf(top);
          for (HWND child : Children(top)) {
            if (ClassOf(child) == L"Static" && GetDlgCtrlID(child) == 0xFFFF) {
              info.text = TextOf(child);
            }
            if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
              info.buttons.push_back(TextOf(child));
            }
          }
          found = info;
          return true;
        }
        return false;
      },
      timeout);
  return found;
}

std::optional<MessageBoxInfo> AnswerBox(HWND form, int answer) {
  auto box = WaitForBox(form);
  if (box) AnswerMessageBox(*box, answer);
  return box;
}

bool MenuEnabled(HWND window, int id) {
  return !(GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

class FormInitWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    dir_ = MakeTempDir("form-init");
    ResetServiceGlobals();
    IniPath = dir_ + "system.ini";
    BaseUrl = Env("TAVISNAP_SERVICE_URL");
    CaFile = Env("TAVISNAP_CA_FILE");
  }
  void TearDown() override { ResetServiceGlobals(); }

  std::string dir_;
};

// The frame's tab strip, the shown page with its controls right after it, then the status bar.
const std::vector<ChildInfo> kNewRegPage = {
    {WC_TABCONTROLW, L""},
    {L"#32770", L""},
    {L"Button", L"ユーザーID"},
    {L"Static", L"ユーザーID"},
    {L"Edit", L""},
    {L"Static", L"ご自身のメールアドレスを登録してください" + std::wstring(50, L' ') +
                    L"携帯メールアドレスはおやめ下さい"},
    {L"Button", L"確認用"},
    {L"Static", L"確認のため再度メールアドレスを入力してください"},
    {L"Edit", L""},
    {L"Static", L"上記メールアドレスへパスワードが届きます"},
    {L"Edit", L"上記メールアドレスへパスワードが届きます"},
    {L"Button", L"登録"},
    {L"Button", L"中止"},
    {STATUSCLASSNAMEW, L""},
};

const std::vector<ChildInfo> kAlreadyRegPage = {
    {WC_TABCONTROLW, L""},
    {L"#32770", L""},
    {L"Button", L"ユーザーID"},
    {L"Static", L"ユーザーID（メールアドレス）を入力してください"},
    {L"Edit", L"someone@example.jp"},
    {L"Button", L"パスワード"},
    {L"Static", L"パスワードを入力して下さい"},
    {L"Edit", L""},
    {L"Button", L"次回から自動ログインする"},
    {L"Button", L"ログイン実行"},
    {L"Button", L"中止"},
    {L"Button", L"パスワード　再通知"},
    {STATUSCLASSNAMEW, L""},
};

TEST_F(FormInitWindow, IsAFixedWindowOfTheGivenSizeWithItsMenu) {
  FormInitThread form;
  HWND w = form.hwnd();
  EXPECT_EQ(TextOf(w), kCaption);
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 511);
  EXPECT_EQ(client.bottom, 351);
  LONG style = GetWindowLongW(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_FALSE(IsWindowVisible(w)) << "created hidden";

  HMENU bar = GetMenu(w);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), L"メニュー(&M)");
  EXPECT_EQ(MenuText(bar, 1), L"ヘルプ(&H)");
  HMENU menu = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(MenuText(menu, 0), L"新規登録(&N)");
  EXPECT_EQ(MenuText(menu, 1), L"ログイン(&L)");
  EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(MenuText(menu, 3), L"終了(&X)");
  HMENU help = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(help), 3);
  EXPECT_EQ(MenuText(help, 0), L"ヘルプ(&H)\tF1");
  EXPECT_EQ(MenuText(help, 1), L"タビスナップについて(&R)");
  EXPECT_EQ(MenuText(help, 2), L"バージョン情報(&A)");

  // The menu's end entry takes the exit path that asks its own question.
  PostCommand(w, IDM_IniMenuEnd);
  EXPECT_TRUE(WaitUntil([&] { return form.services.exitsAsked == 1; }));
}

TEST_F(FormInitWindow, ShowsOnlyOnePageWithItsControlsInTabOrder) {
  FormInitThread form;
  HWND w = form.hwnd();
  form.Run([](TFormInit& f) { f.Show(); });
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(w) != FALSE; }));
  EXPECT_EQ(ShownControls(w), kNewRegPage);
  EXPECT_EQ(TabCtrl_GetItemCount(form.Item(IDC_Init_PageControlData)), 1);
  EXPECT_EQ(TabCaption(form.Item(IDC_Init_PageControlData)), L"新規登録");
  std::vector<HWND> expectedStops = {
      form.Item(IDC_Edit_new_mailadr1), form.Item(IDC_Edit_new_mailadr2),
      form.Item(IDC_StaticText_guid), form.Item(IDC_Button_new_reg_do),
      form.Item(IDC_Button_new_reg_cancel)};
  EXPECT_EQ(TabStops(w), expectedStops);
  EXPECT_TRUE(GetWindowLongW(form.Item(IDC_StaticText_guid), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(WaitUntil([&] {
    DWORD tid = GetWindowThreadProcessId(w, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(tid, &gui) && gui.hwndFocus == form.Item(IDC_Edit_new_mailadr1);
  })) << "the first field has the focus when the window opens";
  Pump(300ms);
  SaveScreenshot("form_init_page0_new_reg", w);

  form.Run([](TFormInit& f) { f.SetItemText(IDC_Edit_already_mailadr, "someone@example.jp"); });
  PostCommand(w, IDM_INiMenuLogin);
  form.Run([](TFormInit&) {});  // after the command: posted messages keep their order
  EXPECT_EQ(ShownControls(w), kAlreadyRegPage);
  EXPECT_EQ(TabCaption(form.Item(IDC_Init_PageControlData)), L"ログイン");
  expectedStops = {
      form.Item(IDC_Edit_already_mailadr),      form.Item(IDC_Edit_already_password),
      form.Item(IDC_CheckBox_AutoLogin),        form.Item(IDC_Button_already_reg_do),
      form.Item(IDC_Button_already_reg_cancel), form.Item(IDC_Button_already_reg_Password)};
  EXPECT_EQ(TabStops(w), expectedStops);
  SetText(form.Item(IDC_Edit_already_password), L"secret");
  Pump(300ms);  // lets the window paint
  SaveScreenshot("form_init_page1_already_reg", w);

  PostCommand(w, IDM_IniMenuNewReg);
  form.Run([](TFormInit&) {});
  EXPECT_EQ(ShownControls(w), kNewRegPage);
}

TEST_F(FormInitWindow, StoredAddressOpensTheSignInPageWithThePageEntriesOff) {
  SysInfo.MailId = "someone@example.jp";
  FormInitThread form;
  HWND w = form.hwnd();
  form.Run([](TFormInit& f) { f.Show(); });
  EXPECT_EQ(ShownControls(w), kAlreadyRegPage);
  EXPECT_FALSE(MenuEnabled(w, IDM_IniMenuNewReg));
  EXPECT_FALSE(MenuEnabled(w, IDM_INiMenuLogin));
  EXPECT_TRUE(MenuEnabled(w, IDM_IniMenuEnd));
  EXPECT_EQ(form.services.refreshes, 1);
}

// What a screen reader says on each Tab stop, page by page. The first field of the
// registration page is named by its group: its own label stands after it.
TEST_F(FormInitWindow, ScreenReaderNamesEveryTabStopInOrder) {
  FormInitThread form;
  HWND w = form.hwnd();
  form.Run([](TFormInit& f) { f.Show(); });
  AccessibilityAudit page0 =
      AuditTabOrder(w, {L"ユーザーID", L"確認のため再度メールアドレスを入力してください",
                        L"上記メールアドレスへパスワードが届きます", L"登録", L"中止"});
  EXPECT_TRUE(page0.ok) << page0.report;

  PostCommand(w, IDM_INiMenuLogin);
  form.Run([](TFormInit&) {});
  AccessibilityAudit page1 = AuditTabOrder(
      w, {L"ユーザーID（メールアドレス）を入力してください", L"パスワードを入力して下さい",
          L"次回から自動ログインする", L"ログイン実行", L"中止", L"パスワード　再通知"});
  EXPECT_TRUE(page1.ok) << page1.report;
}

TEST_F(FormInitWindow, FieldsTakeNoInputMethodAndThePasswordIsMasked) {
  FormInitThread form;
  for (int id : {IDC_Edit_new_mailadr1, IDC_Edit_new_mailadr2, IDC_Edit_already_mailadr,
                 IDC_Edit_already_password}) {
    bool noContext = false;
    form.Run([&](TFormInit& f) {
      HIMC context = ImmGetContext(f.Item(id));
      noContext = context == nullptr;
      if (context) ImmReleaseContext(f.Item(id), context);
    });
    EXPECT_TRUE(noContext) << "control " << id;
  }
  HWND password = form.Item(IDC_Edit_already_password);
  EXPECT_TRUE(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');
}

TEST_F(FormInitWindow, ClosingBeforeSignInAsksAndCancelKeepsItOpen) {
  FormInitThread form;
  HWND w = form.hwnd();
  form.Run([](TFormInit& f) { f.Show(); });
  PostClose(w);
  auto box = WaitForBox(w);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"タビスナップ（確認）");
  EXPECT_EQ(box->text, L"終了します、よろしいですか？");
  AnswerMessageBox(*box, IDCANCEL);
  Pump(300ms);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(form.services.exitsUnasked + form.services.exitsAsked, 0);

  PostClose(w);
  box = AnswerBox(w, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(WaitUntil([&] { return form.services.exitsUnasked == 1; }))
      << "OK takes the exit path without a second question";
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST_F(FormInitWindow, RegistersThenSignsInWithTheMailedPassword) {
  ASSERT_FALSE(BaseUrl.empty()) << "runs with the local service";
  FormInitThread form;
  HWND w = form.hwnd();
  form.Run([](TFormInit& f) { f.Show(); });
  const std::string mail = "wine-user@example.jp";

  SetText(form.Item(IDC_Edit_new_mailadr1), L"wine-user@example.jp");
  SetText(form.Item(IDC_Edit_new_mailadr2), L"wine-user@example.jp");
  Click(form.Item(IDC_Button_new_reg_do));
  auto box = AnswerBox(w, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"新規登録します、よろしいですか？");
  box = AnswerBox(w, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"タビスナップ");
  EXPECT_EQ(box->text,
            L"登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form.Item(IDC_Edit_already_password)); }));
  EXPECT_EQ(TextOf(form.Item(IDC_Edit_already_mailadr)), L"wine-user@example.jp");
  EXPECT_NE(ReadFileBytes(IniPath).find("MAILID=wine-user@example.jp"), std::string::npos);

  std::string password = ServiceRecordedPassword(mail);
  ASSERT_FALSE(password.empty());
  SetText(form.Item(IDC_Edit_already_password), Widen(Lower(password)));
  SetChecked(form.Item(IDC_CheckBox_AutoLogin), true);
  Click(form.Item(IDC_Button_already_reg_do));
  box = AnswerBox(w, IDOK);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"タビスナップ");
  EXPECT_EQ(box->text, L"ログインできました");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); })) << "closes after the sign-in";
  EXPECT_EQ(form.services.trayEnabled, 1);
  EXPECT_EQ(LoadPasswordData(), EncodeBase64String(password));
  std::string ini = ReadFileBytes(IniPath);
  EXPECT_NE(ini.find("MAILID=wine-user@example.jp"), std::string::npos) << ini;
  EXPECT_NE(ini.find("AUTOLOGIN=1"), std::string::npos) << ini;
  EXPECT_EQ(HotKeyReady, "ON");

  PostClose(w);  // after a sign-in the window closes without asking
  Pump(300ms);
  EXPECT_FALSE(WaitForBox(w, 500ms).has_value());
}

}  // namespace
}  // namespace tavisnap::testing
