#include "mainwindow/main_pages.h"

#include <cstddef>

namespace tavisnap {

const std::array<MainPageInfo, kMainPageCount>& MainPages() {
  static const std::array<MainPageInfo, kMainPageCount> pages{{
      {MainPage::Dst, "TabSheet_dst", "送信先設定", "登録", false},
      {MainPage::AddressAdd, "TabSheet_address_Add", "アドレス帳（新規登録）", "登録", true},
      {MainPage::AddressEdit, "TabSheet_Address_edit", "アドレス帳（編集）", "登録", true},
      {MainPage::AddressDel, "TabSheet_Address_del", "アドレス帳（削除）", "実行", false},
      {MainPage::UserInfo, "TabSheet_user_info", "ユーザー情報", nullptr, false},
      {MainPage::UserIdChg, "TabSheet_userid_chg", "ユーザーID変更", "登録", true},
      {MainPage::PwdChg, "TabSheet_pwd_chg", "パスワードの変更", "登録", true},
      {MainPage::PwdNotify, "TabSheet_pwd_notify", "パスワードの再通知", "再通知", false},
      {MainPage::DstSetting, "TabSheet_dst_setting", "送信先設定", "登録", false},
  }};
  return pages;
}

const MainPageInfo& PageInfo(MainPage page) {
  return MainPages()[static_cast<size_t>(page)];
}

}  // namespace tavisnap
