// The pages of the main window and what showing each one does to the execute button
// and to its edit fields.
#pragma once

#include <array>

namespace tavisnap {

enum class MainPage {
  Dst,          // TabSheet_dst: choose the current recipient
  AddressAdd,   // TabSheet_address_Add
  AddressEdit,  // TabSheet_Address_edit
  AddressDel,   // TabSheet_Address_del
  UserInfo,     // TabSheet_user_info
  UserIdChg,    // TabSheet_userid_chg
  PwdChg,       // TabSheet_pwd_chg
  PwdNotify,    // TabSheet_pwd_notify
  DstSetting,   // TabSheet_dst_setting: enter the first recipient
};

inline constexpr int kMainPageCount = 9;

struct MainPageInfo {
  MainPage page;
  const char* name;
  const char* tabCaption;
  const char* execCaption;  // nullptr: Button_exec is hidden on this page
  bool clearsEdits;         // showing the page empties its two edit fields
};

// In the order of the page control.
const std::array<MainPageInfo, kMainPageCount>& MainPages();
const MainPageInfo& PageInfo(MainPage page);

}  // namespace tavisnap
