// Both menus of the real window: entries, captions and access keys in order, the tray
// menu's fixed positions and its enabled states, and the captions the settings decide.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "capture/outbox.h"
#include "core/define.h"
#include "main_window_fixture_win.h"
#include "mainwindow/mainwindow_resource.h"

namespace tavisnap::testing {
namespace {

// Captions as the settings leave them at creation: every toggle off, hotkey "PS".
const std::vector<std::wstring> kMainMenu = {
    L"タビスナップ(&C)>",
    L"  送信先設定(&S)",
    L"  -",
    L"  画像送信(&F)",
    L"  未送信の画像を再送信(&R)",
    L"  画像削除(&D)",
    L"  -",
    L"  viewer(&V)",
    L"  -",
    L"  閉じる(&C)",
    L"  -",
    L"  タビスナップ終了(&X)",
    L"アドレス帳(&A)>",
    L"  新規登録(&N)",
    L"  編集(&U)",
    L"  削除(&D)",
    L"  -",
    L"  インポート（CSVファイル）(&L)",
    L"  エクスポート（CSVファイル)(&E)",
    L"ユーザー情報(&U)>",
    L"  ユーザー情報(&U)",
    L"  ユーザーID変更(&I)",
    L"  パスワード変更(&P)",
    L"送信キー設定(&K)>",
    L"  Ctl+PrintScreen（設定中）(&K)",
    L"  Ctl+Alt+P(&P)",
    L"  Ctl+Alt+O(&O)",
    L"  Ctl+Alt+S(&S)",
    L"  Ctl+Alt+C(&C)",
    L"その他(&O)>",
    L"  BASIC認証を設定する(&B)",
    L"  パスワード再通知(&P)",
    L"  自動ログインを設定する(&A)",
    L"ヘルプ(&H)>",
    L"  ヘルプ(&H)\tF1",
    L"  -",
    L"  タビスナップについて(&R)",
    L"  バージョン情報(&A)",
};

const std::vector<std::wstring> kTrayMenu = {
    L"画面送信(&F)",
    L"未送信の画像を再送信(&R)",
    L"画像削除(&D)",
    L"-",
    L"設定(&S)>",
    L"  送信先設定(&S)",
    L"  -",
    L"  アドレス帳(&A)>",
    L"    新規登録(&N)",
    L"    編集(&U)",
    L"    削除(&D)",
    L"    -",
    L"    インポート（CSVファイル）(&L)",
    L"    エクスポート（CSVファイル)(&E)",
    L"  ユーザー情報(&U)>",
    L"    ユーザー情報(&U)",
    L"    ユーザーID変更(&I)",
    L"    パスワード変更(&P)",
    L"  送信キー設定(&K)>",
    L"    Ctl+PrintScreen（設定中）(&K)",
    L"    Ctl+Alt+P(&P)",
    L"    Ctl+Alt+O(&O)",
    L"    Ctl+Alt+S(&S)",
    L"    Ctl+Alt+C(&C)",
    L"  その他(&O)>",
    L"    BASIC認証を設定する(&B)",
    L"    パスワード再通知(&P)",
    L"    自動ログインを設定する(&A)",
    L"  -",
    L"  ヘルプ(&H)>",
    L"    ヘルプ(&H)\tF1",
    L"    -",
    L"    タビスナップについて(&R)",
    L"    バージョン情報(&A)",
    L"-",
    L"viewer(&V)",
    L"-",
    L"閉じる(&C)",
    L"-",
    L"タビスナップ終了(&X)",
};

void ExpectOutline(const std::vector<std::wstring>& got, const std::vector<std::wstring>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i;
}

// Within one menu a key may lead to one entry only.
void ExpectDistinctAccessKeys(HMENU menu, const std::wstring& where) {
  std::set<wchar_t> keys;
  for (const MenuEntry& entry : MenuEntries(menu)) {
    if (entry.separator) continue;
    size_t amp = entry.caption.find(L'&');
    ASSERT_NE(amp, std::wstring::npos)
        << "no access key: " << ::testing::PrintToString(entry.caption);
    EXPECT_TRUE(keys.insert(towupper(entry.caption[amp + 1])).second)
        << "access key used twice in " << ::testing::PrintToString(where);
    if (entry.submenu) ExpectDistinctAccessKeys(entry.submenu, entry.caption);
  }
}

std::map<int, bool> TrayEnabled(HMENU tray) {
  std::map<int, bool> states;
  auto entries = MenuEntries(tray);
  for (int pos : {0, 1, 2, 4, 6, 8, 10}) {
    states[pos] = entries[static_cast<size_t>(pos)].enabled;
  }
  return states;
}

using MainMenus = MainWindowTest;

TEST_F(MainMenus, MainMenuHoldsEveryEntryInOrderWithItsAccessKey) {
  ExpectOutline(MenuOutline(window_->MainMenu()), kMainMenu);
  ExpectDistinctAccessKeys(window_->MainMenu(), L"main menu");
}

TEST_F(MainMenus, TrayMenuHasItsFixedPositionsAndSubmenus) {
  ExpectOutline(MenuOutline(window_->TrayMenu()), kTrayMenu);
  ExpectDistinctAccessKeys(window_->TrayMenu(), L"tray menu");
  auto top = MenuEntries(window_->TrayMenu());
  ASSERT_EQ(top.size(), 11u);
  for (int pos : {3, 5, 7, 9}) EXPECT_TRUE(top[static_cast<size_t>(pos)].separator) << pos;
  EXPECT_NE(top[4].submenu, nullptr);
}

// Position 1, the resend entry, stays grey: nothing is kept.
TEST_F(MainMenus, TrayEntriesFollowTheSignInState) {
  HMENU tray = window_->TrayMenu();
  using S = std::map<int, bool>;
  EXPECT_EQ(TrayEnabled(tray),
            (S{{0, false}, {1, false}, {2, false}, {4, false}, {6, false}, {8, true}, {10, true}}))
      << "creation: Send, Delete, Set and Viewer unusable";
  window_->EnableViewerEntry();  // start-up without automatic sign-in, offline too
  EXPECT_EQ(TrayEnabled(tray),
            (S{{0, false}, {1, false}, {2, false}, {4, false}, {6, true}, {8, true}, {10, true}}));
  window_->EnableSignedInTrayItems();
  EXPECT_EQ(TrayEnabled(tray),
            (S{{0, true}, {1, false}, {2, true}, {4, true}, {6, true}, {8, true}, {10, true}}));
  SysInfo.SignedIn = false;
  window_->RefreshMenuStates();
  EXPECT_EQ(TrayEnabled(tray),
            (S{{0, false}, {1, false}, {2, false}, {4, false}, {6, false}, {8, true}, {10, true}}));
  SysInfo.SignedIn = true;
  window_->RefreshMenuStates();
  EXPECT_EQ(TrayEnabled(tray),
            (S{{0, false}, {1, false}, {2, false}, {4, true}, {6, true}, {8, true}, {10, true}}))
      << "a refresh after sign-in enables Set and Viewer only";
}

// Both resend entries follow what the outbox folder holds, from the start: a picture kept
// by an earlier run can be sent once signed in (the rule itself: ResendEnabled).
TEST_F(MainMenus, ResendEntriesFollowTheOutboxFolder) {
  AppDir = IniPath.substr(0, IniPath.size() - std::string("system.ini").size());
  WriteFileBytes(AppDir + "kept.jpg", "picture");
  TTypSendParam sent;
  sent.MailTo = "helper@example.jp";
  Outbox(DefaultOutboxDir()).Add(AppDir + "kept.jpg", sent);
  auto enabled = [&] {
    bool tray = MenuEntries(window_->TrayMenu())[1].enabled;
    UINT main = GetMenuState(window_->MainMenu(), IDM_MenuResend, MF_BYCOMMAND);
    return std::pair{tray, (main & (MF_GRAYED | MF_DISABLED)) == 0};
  };
  RunMode = kRunModeOnline;
  SysInfo.SignedIn = true;
  window_->RefreshMenuStates();
  EXPECT_EQ(enabled(), (std::pair{true, true}));
  Outbox(DefaultOutboxDir()).Remove("000001");
  window_->EnableSignedInTrayItems();
  EXPECT_EQ(enabled(), (std::pair{false, false})) << "nothing kept";
}

TEST_F(MainMenus, RefreshSetsTheToggleAndHotKeyCaptionsInBothMenus) {
  SysInfo.AutoLogin = true;
  SysInfo.BasicAuth = true;
  SysInfo.HotKey = "O";
  window_->RefreshMenuStates();
  for (HMENU menu : {window_->MainMenu(), window_->TrayMenu()}) {
    auto outline = MenuOutline(menu);
    auto has = [&](const std::wstring& caption) {
      for (auto& line : outline) {
        if (line.find(caption) != std::wstring::npos &&
            line.size() - line.find(caption) == caption.size()) {
          return true;
        }
      }
      return false;
    };
    EXPECT_TRUE(has(L"自動ログインを解除する(&A)"));
    EXPECT_TRUE(has(L"BASIC認証を解除する(&B)"));
    EXPECT_TRUE(has(L"Ctl+Alt+O（設定中）(&O)"));
    // The refresh touches only the current choice: the former one keeps its caption.
    EXPECT_TRUE(has(L"Ctl+PrintScreen（設定中）(&K)"));
  }
  SysInfo.AutoLogin = false;
  SysInfo.BasicAuth = false;
  SysInfo.HotKey = "Q";  // written by hand: no entry stands for it
  window_->RefreshMenuStates();
  auto outline = MenuOutline(window_->MainMenu());
  EXPECT_EQ(outline[32], L"  自動ログインを設定する(&A)");
  EXPECT_EQ(outline[30], L"  BASIC認証を設定する(&B)");
  EXPECT_EQ(outline[26], L"  Ctl+Alt+O（設定中）(&O)");
}

}  // namespace
}  // namespace tavisnap::testing
