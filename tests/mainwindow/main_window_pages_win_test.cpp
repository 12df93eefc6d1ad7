// The frame and its pages through the real window: one tab at a time, the execute
// button per page, emptied edits, the entries that open pages, hiding, the recipient
// set-up, what a screen reader meets on each page, and texts shown whole.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "core/define.h"
#include "core/settings_file.h"
#include "core/settings_list.h"
#include "main_window_fixture_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "support/accessibility_win.h"
#include "support/layout_audit_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

// A control of each page, to find the page by.
constexpr int kPageMarker[kMainPageCount] = {IDC_Main_ComboBox_dst_list,
                                             IDC_Edit_add_name,
                                             IDC_ComboBox_upd_maillist,
                                             IDC_ComboBox_del_maillist,
                                             IDC_StaticTextuserinfo_userid_dsp,
                                             IDC_Edit_idchg_userid,
                                             IDC_Edit_pwdchg,
                                             IDC_StaticText_pwd_renotify_guid,
                                             IDC_Edit_send_add_name};

std::wstring TabText(HWND tab, int index) {
  wchar_t text[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 127;
  SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

// The window's own visibility flag: the main window itself is hidden in most tests.
bool Shown(HWND hwnd) {
  return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

class PageFrame : public MainWindowTest {
 protected:
  HWND PageOf(MainPage page) const {
    return GetParent(Ctl(kPageMarker[static_cast<size_t>(page)]));
  }
  int VisiblePages() const {
    int visible = 0;
    for (int i = 0; i < kMainPageCount; ++i) {
      if (Shown(PageOf(static_cast<MainPage>(i)))) ++visible;
    }
    return visible;
  }
};

TEST_F(PageFrame, FrameAsDesignedAndHiddenAtCreation) {
  EXPECT_EQ(ClassOf(Main()), L"TFormMainTavisnap");
  EXPECT_EQ(TextOf(Main()), L"タビスナップ");
  EXPECT_FALSE(IsWindowVisible(Main()));
  RECT client;
  GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 608);
  EXPECT_EQ(client.bottom, 320);
  LONG style = GetWindowLongW(Main(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "the border is fixed";
  RECT window, work;
  GetWindowRect(Main(), &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_NE(SendMessageW(Main(), WM_GETICON, ICON_BIG, 0), 0);

  EXPECT_EQ(TextOf(Ctl(IDC_Button_exec)), L"登録");
  EXPECT_EQ(TextOf(Ctl(IDC_Main_Button_cancel)), L"キャンセル");
  EXPECT_EQ(ClassOf(Ctl(IDC_StatusBar_tavisnapmain)), L"msctls_statusbar32");
  for (int id : {IDC_Main_ComboBox_name, IDC_Main_ComboBox_mailadr}) {
    EXPECT_FALSE(GetWindowLongW(Ctl(id), GWL_STYLE) & (WS_VISIBLE | WS_TABSTOP)) << id;
  }
  HWND tab = Ctl(IDC_Main_PageControlData);
  EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(TabText(tab, 0), L"送信先設定");
  EXPECT_EQ(window_->CurrentTab(), MainPage::Dst);
  EXPECT_EQ(VisiblePages(), 1);
  EXPECT_TRUE(Shown(PageOf(MainPage::Dst)));

  // Every control speaks in the program's font.
  for (int id : {IDC_Button_exec, IDC_Edit_add_mailadr, IDC_StaticText_pwd_renotify_guid}) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Ctl(id), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック") << id;
  }
  EXPECT_EQ(TextOf(Ctl(IDC_StaticText_pwd_renotify_guid)),
            L"パスワードを忘れた方は下の\u201d再通知ボタン\u201dを押してください");
}

TEST_F(PageFrame, EachPageShowsAloneWithItsTabAndButton) {
  HWND tab = Ctl(IDC_Main_PageControlData);
  HWND exec = Ctl(IDC_Button_exec);
  for (const MainPageInfo& info : MainPages()) {
    SCOPED_TRACE(info.name);
    window_->ShowMainTab(info.page);
    EXPECT_EQ(window_->CurrentTab(), info.page);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(TabText(tab, 0), Widen(info.tabCaption));
    EXPECT_EQ(VisiblePages(), 1);
    EXPECT_TRUE(Shown(PageOf(info.page)));
    EXPECT_TRUE(IsWindowEnabled(PageOf(info.page)));
    if (info.execCaption) {
      EXPECT_TRUE(GetWindowLongW(exec, GWL_STYLE) & WS_VISIBLE);
      EXPECT_EQ(TextOf(exec), Widen(info.execCaption));
    } else {
      EXPECT_FALSE(GetWindowLongW(exec, GWL_STYLE) & WS_VISIBLE);
    }
  }
  window_->ShowMainTab(MainPage::AddressDel);
  EXPECT_TRUE(GetWindowLongW(exec, GWL_STYLE) & WS_VISIBLE) << "shown again after user info";
}

TEST_F(PageFrame, FormPagesEmptyTheirEditsEveryTimeTheyOpen) {
  struct Case {
    int menuId;
    int edits[2];
  } cases[] = {
      {IDM_MenuAddrListAdd, {IDC_Edit_add_name, IDC_Edit_add_mailadr}},
      {IDM_PMenuTraySetAddrListEdit, {IDC_Edit_upd_name, IDC_Edit_upd_mailadr}},
      {IDM_MenuSetPersonalUserIdEdit, {IDC_Edit_idchg_userid, IDC_Edit_idchg_confrm}},
      {IDM_PMenuTraySetPersonalUserPwdEdit, {IDC_Edit_pwdchg, IDC_Edit_pwdchg_confrm}},
  };
  for (const Case& c : cases) {
    for (int round = 0; round < 2; ++round) {
      for (int id : c.edits) SetText(Ctl(id), L"typed@example.jp");
      Command(c.menuId);
      for (int id : c.edits) EXPECT_EQ(TextOf(Ctl(id)), L"") << "edit " << id << " round " << round;
    }
  }
  // The recipient page keeps what it shows.
  SetText(Ctl(IDC_Edit_send_add_name), L"kept");
  window_->ShowMainTab(MainPage::DstSetting);
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_send_add_name)), L"kept");
}

TEST_F(PageFrame, OpeningEntriesShowTheWindowOnTheirPageWithTheFocusInIt) {
  SysInfo.MailId = "user@example.jp";
  SysInfo.DstName = "山田";
  SysInfo.DstMailAdr = "yamada@example.jp";
  struct Case {
    int mainId, trayId;
    MainPage page;
    int focus;
  } cases[] = {
      {IDM_MenuSetTo, IDM_PMenuTraySetTo, MainPage::Dst, IDC_Main_StaticText_dst_name_dsp},
      {IDM_MenuAddrListAdd, IDM_PMenuTraySetAddrListAdd, MainPage::AddressAdd, IDC_Edit_add_name},
      {IDM_MenuAddrListEdit, IDM_PMenuTraySetAddrListEdit, MainPage::AddressEdit,
       IDC_ComboBox_upd_maillist},
      {IDM_MenuAddrListDel, IDM_PMenuTraySetAddrListDel, MainPage::AddressDel,
       IDC_ComboBox_del_maillist},
      {IDM_MenuSetPersonalInfo, IDM_PMenuTraySetPersonalInfo, MainPage::UserInfo,
       IDC_StaticTextuserinfo_userid_dsp},
      {IDM_MenuSetPersonalUserIdEdit, IDM_PMenuTraySetPersonalUserIdEdit, MainPage::UserIdChg,
       IDC_Edit_idchg_userid},
      {IDM_MenuSetPersonalUserPwdEdit, IDM_PMenuTraySetPersonalUserPwdEdit, MainPage::PwdChg,
       IDC_Edit_pwdchg},
      {IDM_MenuSetOtherPwdNotif, IDM_PMenuTraySetOtherPwdNotif, MainPage::PwdNotify,
       IDC_StaticText_pwd_renotify_guid},
  };
  // Each main entry from a hidden window; each tray entry right after another page
  // (hiding is slow without a window manager).
  const size_t n = std::size(cases);
  for (size_t i = 0; i < n; ++i) {
    const Case& next = cases[(i + 1) % n];
    for (auto [id, c] : {std::pair{cases[i].mainId, cases[i]}, std::pair{next.trayId, next}}) {
      SCOPED_TRACE(PageInfo(c.page).name);
      if (id == cases[i].mainId) {
        Command(IDM_MenuClose);
        ASSERT_FALSE(IsWindowVisible(Main()));
      }
      Command(id);
      EXPECT_TRUE(IsWindowVisible(Main())) << id;
      EXPECT_EQ(window_->CurrentTab(), c.page) << id;
      EXPECT_EQ(GetFocus(), Ctl(c.focus)) << id;
    }
  }
  Command(IDM_PMenuTraySetPersonalInfo);
  EXPECT_EQ(TextOf(Ctl(IDC_StaticTextuserinfo_userid_dsp)), L"user@example.jp");
  Command(IDM_MenuSetTo);
  EXPECT_EQ(TextOf(Ctl(IDC_Main_StaticText_dst_name_dsp)), L"山田");
  EXPECT_EQ(TextOf(Ctl(IDC_StaticText_dst_meailadr_dsp)), L"yamada@example.jp");
}

TEST_F(PageFrame, CloseBoxMinimiseCancelAndCloseEntriesOnlyHide) {
  window_->AddTrayIcon();
  auto reopen = [&] {
    Command(IDM_MenuAddrListAdd);
    ASSERT_TRUE(IsWindowVisible(Main()));
  };
  reopen();
  PostClose(Main());
  Pump(150ms);
  EXPECT_FALSE(IsWindowVisible(Main())) << "close box";
  reopen();
  PostMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump(150ms);
  EXPECT_FALSE(IsWindowVisible(Main())) << "minimise";
  reopen();
  EXPECT_FALSE(IsIconic(Main())) << "opens restored after a minimise";
  Click(Ctl(IDC_Main_Button_cancel));
  Pump(150ms);
  EXPECT_FALSE(IsWindowVisible(Main())) << "Button_cancel";
  for (int id : {IDM_MenuClose, IDM_PMenuTrayClose}) {
    reopen();
    Command(id);
    EXPECT_FALSE(IsWindowVisible(Main())) << id;
  }
  EXPECT_TRUE(IsWindow(Main()));
  EXPECT_TRUE(TrayIconPresent(Main(), kTrayIconId)) << "the tray icon stays";
}

TEST_F(PageFrame, RecipientSetupOpensTheFirstRecipientPageForAnEmptyBook) {
  SetText(Ctl(IDC_Edit_send_add_name), L"old");
  SetText(Ctl(IDC_Edit_send_add_mail), L"old@example.jp");
  window_->ShowRecipientSetup();  // the settings hold no address
  Pump(100ms);
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_EQ(window_->CurrentTab(), MainPage::DstSetting);
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_send_add_name)), L"");
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_send_add_mail)), L"");
  EXPECT_EQ(GetFocus(), Ctl(IDC_Edit_send_add_name));
  SaveScreenshot("main-dst-setting", Main());
}

TEST_F(PageFrame, RecipientSetupOffersTheChoiceWhenTheBookHasEntries) {
  Settings.Set("MAILLIST.MAIL4", "suzuki@example.jp");
  SaveSettings(IniPath, Settings);
  SysInfo.DstName = "鈴木";
  window_->ShowRecipientSetup();
  EXPECT_EQ(window_->CurrentTab(), MainPage::Dst);
  EXPECT_EQ(TextOf(Ctl(IDC_Main_StaticText_dst_name_dsp)), L"鈴木");
  EXPECT_EQ(SendMessageW(Ctl(IDC_Main_ComboBox_dst_list), CB_GETCOUNT, 0, 0), 2);
}

TEST_F(PageFrame, ScreenReaderMeetsEveryPageInTabOrderWithNames) {
  struct Case {
    MainPage page;
    std::vector<std::wstring> names;
  } cases[] = {
      {MainPage::Dst,
       {L"送信先設定", L"現在の送信先名称", L"現在の送信先メールアドレス", L"送信先リスト",
        L"登録"}},
      {MainPage::AddressAdd,
       {L"アドレス帳（新規登録）", L"送信先名称", L"送信先メールアドレス", L"登録"}},
      {MainPage::AddressEdit,
       {L"アドレス帳（編集）", L"編集する送信先", L"送信先名称", L"送信先メールアドレス", L"登録"}},
      {MainPage::AddressDel, {L"アドレス帳（削除）", L"削除する送信先", L"実行"}},
      {MainPage::UserInfo, {L"ユーザー情報", L"登録メールアドレス"}},
      {MainPage::UserIdChg, {L"ユーザーID変更", L"ユーザーID", L"確認入力", L"登録"}},
      {MainPage::PwdChg, {L"パスワードの変更", L"パスワード", L"確認入力", L"登録"}},
      {MainPage::PwdNotify, {L"パスワードの再通知", L"パスワードの再通知", L"再通知"}},
      {MainPage::DstSetting, {L"送信先設定", L"送信先名称", L"送信先メールアドレス", L"登録"}},
  };
  for (Case& c : cases) {
    OpenPage(c.page);
    c.names.push_back(L"キャンセル");
    AccessibilityAudit audit = AuditTabOrder(Main(), c.names);
    EXPECT_TRUE(audit.ok) << PageInfo(c.page).name << "\n" << audit.report;
  }
}

// A key pressed at the focused control, through the program's own message loop.
void PressKey(UINT vk) {
  HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, vk, 1);
  PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
  PostQuitMessage(0);  // comes after the keys
  RunLoopFor(5s);
}

TEST_F(PageFrame, TabKeyWalksThePageAndTheButtonsAndEscapeHides) {
  Command(IDM_MenuAddrListAdd);
  ASSERT_EQ(GetFocus(), Ctl(IDC_Edit_add_name));
  for (int id : {IDC_Edit_add_mailadr, IDC_Button_exec, IDC_Main_Button_cancel,
                 IDC_Main_PageControlData, IDC_Edit_add_name}) {
    PressKey(VK_TAB);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), id);
  }
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(Main()));
}

TEST_F(PageFrame, EveryPageShowsItsTextsWholeWithoutOverlaps) {
  // The longest texts the pages show: a full recipient and a long address.
  SysInfo.DstName = "山田 太郎（営業部 第一課）";
  SysInfo.DstMailAdr = "yamada.taro.eigyou@example.jp";
  SysInfo.MailId = "yamada.taro.eigyou@example.jp";
  for (const MainPageInfo& info : MainPages()) {
    SCOPED_TRACE(info.name);
    OpenPage(info.page);
    SetText(Ctl(IDC_Main_StaticText_dst_name_dsp), Widen(SysInfo.DstName));
    SetText(Ctl(IDC_StaticText_dst_meailadr_dsp), Widen(SysInfo.DstMailAdr));
    SetText(Ctl(IDC_StaticTextuserinfo_userid_dsp), Widen(SysInfo.MailId));
    Pump(50ms);
    LayoutAudit audit = AuditLayout(Main());
    EXPECT_TRUE(audit.ok) << audit.report;
    SaveScreenshot(std::string("main-") + info.name, Main());
  }
}

}  // namespace
}  // namespace tavisnap::testing
