// The page table, the recipient set-up decision and the menu command table.
#include "mainwindow/main_pages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mainwindow/mainwindow_resource.h"
#include "mainwindow/menu_commands.h"

namespace tavisnap {
namespace {

TEST(MainPages, UserInfoAloneHidesTheExecuteButton) {
  for (const MainPageInfo& info : MainPages()) {
    if (info.page == MainPage::UserInfo) {
      EXPECT_EQ(info.execCaption, nullptr);
    } else {
      ASSERT_NE(info.execCaption, nullptr) << info.name;
    }
  }
  EXPECT_STREQ(PageInfo(MainPage::AddressDel).execCaption, "実行");
  EXPECT_STREQ(PageInfo(MainPage::PwdNotify).execCaption, "再通知");
  EXPECT_STREQ(PageInfo(MainPage::Dst).execCaption, "登録");
  EXPECT_STREQ(PageInfo(MainPage::DstSetting).execCaption, "登録");
}

TEST(MainPages, ExactlyTheFourFormPagesEmptyTheirEdits) {
  std::set<MainPage> clearing;
  for (const MainPageInfo& info : MainPages()) {
    if (info.clearsEdits) clearing.insert(info.page);
  }
  EXPECT_EQ(clearing, (std::set<MainPage>{MainPage::AddressAdd, MainPage::AddressEdit,
                                          MainPage::UserIdChg, MainPage::PwdChg}));
}

TEST(MainPages, LookUpFindsEachPageInControlOrder) {
  int i = 0;
  for (const MainPageInfo& info : MainPages()) {
    EXPECT_EQ(static_cast<int>(info.page), i++);
    EXPECT_EQ(&PageInfo(info.page), &info);
  }
  EXPECT_STREQ(PageInfo(MainPage::AddressEdit).tabCaption, "アドレス帳（編集）");
  EXPECT_STREQ(PageInfo(MainPage::PwdChg).tabCaption, "パスワードの変更");
}

TEST(MenuCommands, MainEntryAndTrayTwinRunTheSameActionAndAreToldApart) {
  for (int action = 0; action <= static_cast<int>(MenuAction::Version); ++action) {
    auto a = static_cast<MenuAction>(action);
    int choices = a == MenuAction::HotKey ? 5 : 1;
    for (int c = 0; c < choices; ++c) {
      int choice = a == MenuAction::HotKey ? c : -1;
      MenuIdPair ids = MenuIdsOf(a, choice);
      auto main = MenuCommandFor(ids.mainId);
      auto tray = MenuCommandFor(ids.trayId);
      ASSERT_TRUE(main && tray) << "action " << action << " choice " << choice;
      EXPECT_EQ(main->action, a);
      EXPECT_EQ(tray->action, a);
      EXPECT_FALSE(main->fromTray);
      EXPECT_TRUE(tray->fromTray);
      EXPECT_EQ(main->hotKeyChoice, choice);
      EXPECT_EQ(tray->hotKeyChoice, choice);
    }
  }
}

TEST(MenuCommands, ControlsAndUnknownIdsAreNoMenuCommands) {
  for (int id : {0, 1, 2, IDC_Button_exec, IDC_Main_Button_cancel, IDM_MenuSetTo - 1, 7999}) {
    EXPECT_FALSE(MenuCommandFor(id).has_value()) << id;
  }
  EXPECT_EQ(MenuIdsOf(MenuAction::HotKey, 5).mainId, 0);
}

}  // namespace
}  // namespace tavisnap
