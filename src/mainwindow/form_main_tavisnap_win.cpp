#include "mainwindow/form_main_tavisnap_win.h"

#include <commctrl.h>
#include <imm.h>

#include <vector>

#include "addressbook/address_book.h"
#include "core/app_error.h"
#include "core/define.h"
#include "core/settings_list.h"
#include "mainwindow/mainwindow_resource.h"
#include "win/labelled_accessible_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr LayoutFont kFont{L"ＭＳ Ｐゴシック", 12};

constexpr Placement kFramePlacements[] = {
    {IDC_Main_PageControlData, 8, 8, 592, 246},
    {IDC_Button_exec, 392, 262, 100, 28},
    {IDC_Main_Button_cancel, 500, 262, 100, 28},
};
constexpr DialogLayout kFrameLayout{608, 320, kFont, kFramePlacements};

// The pages, in page order; each fills the tab control's display area.
constexpr Placement kDstPlacements[] = {
    {IDC_GroupBox_dst_1, 9, 6, 552, 48},
    {IDC_Label_dst_2, 21, 27, 186, 15},
    {IDC_Main_StaticText_dst_name_dsp, 213, 24, 336, 22},
    {IDC_GroupBox_dst_3, 9, 63, 552, 48},
    {IDC_Label_dst_4, 21, 84, 186, 15},
    {IDC_StaticText_dst_meailadr_dsp, 213, 81, 336, 22},
    {IDC_Label_dst_5, 21, 132, 186, 15},
    {IDC_Main_ComboBox_dst_list, 213, 129, 336, 240},
};
constexpr Placement kAddressAddPlacements[] = {
    {IDC_Label_address_Add_1, 21, 27, 186, 15},
    {IDC_Edit_add_name, 213, 24, 336, 22},
    {IDC_Label_address_Add_2, 21, 63, 186, 15},
    {IDC_Edit_add_mailadr, 213, 60, 336, 22},
};
constexpr Placement kAddressEditPlacements[] = {
    {IDC_Label_Address_edit_1, 21, 27, 186, 15},  {IDC_ComboBox_upd_maillist, 213, 24, 336, 240},
    {IDC_Label_Address_edit_2, 21, 69, 186, 15},  {IDC_Edit_upd_name, 213, 66, 336, 22},
    {IDC_Label_Address_edit_3, 21, 105, 186, 15}, {IDC_Edit_upd_mailadr, 213, 102, 336, 22},
};
constexpr Placement kAddressDelPlacements[] = {
    {IDC_Label_Address_del_1, 21, 27, 186, 15},
    {IDC_ComboBox_del_maillist, 213, 24, 336, 240},
};
constexpr Placement kUserInfoPlacements[] = {
    {IDC_GroupBox_user_info_1, 9, 6, 552, 48},
    {IDC_Label_user_info_2, 21, 27, 186, 15},
    {IDC_StaticTextuserinfo_userid_dsp, 213, 24, 336, 22},
};
constexpr Placement kUseridChgPlacements[] = {
    {IDC_GroupBox_idchg, 9, 6, 552, 48},
    {IDC_StaticText_idchg_userif, 21, 27, 186, 15},
    {IDC_Edit_idchg_userid, 213, 24, 336, 22},
    {IDC_GroupBox_idchg_confirm, 9, 63, 552, 48},
    {IDC_StaticText_idchg_confirm, 21, 84, 186, 15},
    {IDC_Edit_idchg_confrm, 213, 81, 336, 22},
};
constexpr Placement kPwdChgPlacements[] = {
    {IDC_GroupBox_pwdchg, 9, 6, 552, 48},
    {IDC_StaticText_pwdchg, 21, 27, 186, 15},
    {IDC_Edit_pwdchg, 213, 24, 336, 22},
    {IDC_GroupBox3, 9, 63, 552, 48},
    {IDC_StaticText_pwdchg_confirm, 21, 84, 186, 15},
    {IDC_Edit_pwdchg_confrm, 213, 81, 336, 22},
};
constexpr Placement kPwdNotifyPlacements[] = {
    {IDC_Label_pwd_notify_1, 21, 12, 528, 15},
    {IDC_StaticText_pwd_renotify_guid, 21, 45, 528, 22},
};
constexpr Placement kDstSettingPlacements[] = {
    {IDC_Label_dst_setting_1, 21, 27, 186, 15},
    {IDC_Edit_send_add_name, 213, 24, 336, 22},
    {IDC_Label_dst_setting_2, 21, 63, 186, 15},
    {IDC_Edit_send_add_mail, 213, 60, 336, 22},
};
constexpr DialogLayout kPageLayouts[kMainPageCount] = {
    {0, 0, kFont, kDstPlacements},         {0, 0, kFont, kAddressAddPlacements},
    {0, 0, kFont, kAddressEditPlacements}, {0, 0, kFont, kAddressDelPlacements},
    {0, 0, kFont, kUserInfoPlacements},    {0, 0, kFont, kUseridChgPlacements},
    {0, 0, kFont, kPwdChgPlacements},      {0, 0, kFont, kPwdNotifyPlacements},
    {0, 0, kFont, kDstSettingPlacements},
};

constexpr int kPageTemplates[kMainPageCount] = {
    IDD_TabSheet_dst,         IDD_TabSheet_address_Add, IDD_TabSheet_Address_edit,
    IDD_TabSheet_Address_del, IDD_TabSheet_user_info,   IDD_TabSheet_userid_chg,
    IDD_TabSheet_pwd_chg,     IDD_TabSheet_pwd_notify,  IDD_TabSheet_dst_setting};

// Mail addresses and passwords are typed without the input method.
constexpr int kInputMethodOff[] = {
    IDC_Edit_add_mailadr, IDC_Edit_upd_mailadr,   IDC_Edit_idchg_userid, IDC_Edit_idchg_confrm,
    IDC_Edit_pwdchg,      IDC_Edit_pwdchg_confrm, IDC_Edit_send_add_mail};

// Drop-down lists that a screen reader should name by their label.
constexpr int kLabelledLists[] = {IDC_Main_ComboBox_dst_list, IDC_ComboBox_upd_maillist,
                                  IDC_ComboBox_del_maillist};

constexpr char kRenotifyGuide[] = "パスワードを忘れた方は下の”再通知ボタン”を押してください";
constexpr char kHiddenListItem[] = "送信先をリストから選択して下さい";

}  // namespace

TFormMainTavisnap::TFormMainTavisnap(HICON icon, SendCoordinator& send)
    : icon_(icon),
      trayMenu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PopupMenuTrayIcon))),
      accountWindowVisible_([] { return false; }),
      addressBook_(ProgramAddressBook(
          prompter_, [](const std::string& text) { FatalAppExitW(0, Widen(text).c_str()); })),
      addressPages_(*this, addressBook_, prompter_),
      send_(send) {
  RegisterDialogClass(kMainWindowClass, icon);
  Create(IDD_FormMainTavisnap, nullptr);
  if (!hwnd() || !trayMenu_) throw AppError("メインウィンドウを作成できません");
  FormCreate();
}

TFormMainTavisnap::~TFormMainTavisnap() {
  RemoveTrayIcon();
  // Destroyed here, while the pages it holds still exist.
  if (hwnd()) DestroyWindow(hwnd());
}

const DialogLayout* TFormMainTavisnap::Layout() const {
  return &kFrameLayout;
}

void TFormMainTavisnap::FormCreate() {
  send_.AttachWindow(*this);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // The control holds one tab, the current page's; before it, it has no display area.
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring caption = Widen(PageInfo(currentTab_).tabCaption);
  item.pszText = caption.data();
  SendMessageW(Item(IDC_Main_PageControlData), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (int i = 0; i < kMainPageCount; ++i) {
    pages_[static_cast<size_t>(i)] =
        std::make_unique<PageDialog>(kPageTemplates[i], hwnd(), kPageLayouts[i]);
    if (!pages_[static_cast<size_t>(i)]->hwnd()) {
      throw AppError("メインウィンドウのページを作成できません");
    }
  }
  std::vector<PageDialog*> pages;
  for (auto& page : pages_) pages.push_back(page.get());
  paged_.SetPages(Item(IDC_Main_PageControlData), std::move(pages));
  for (int id : kInputMethodOff) ImmAssociateContextEx(Item(id), nullptr, 0);
  for (int id : kLabelledLists) NameAfterLabel(Item(id));
  for (int id :
       {IDC_Edit_idchg_userid, IDC_Edit_idchg_confrm, IDC_Edit_pwdchg, IDC_Edit_pwdchg_confrm}) {
    NameAfterLabelDescribedByNext(Item(id));  // named by its group, explained by what follows
  }
  SetControlText(IDC_StaticText_pwd_renotify_guid, kRenotifyGuide);
  for (int id : {IDC_Main_ComboBox_name, IDC_Main_ComboBox_mailadr}) {
    std::wstring hidden = Widen(kHiddenListItem);
    SendDlgItemMessageW(hwnd(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(hidden.c_str()));
    SendDlgItemMessageW(hwnd(), id, CB_SETCURSEL, 0, 0);
  }
  ConnectAddressLists();
  OnLayout(Dpi());
  ShowMainTab(MainPage::Dst);
  RefreshMenuStates();
  send_.StartHotKeys();
  SetItemText(IDC_Main_StaticText_dst_name_dsp, SysInfo.DstName);
  SetItemText(IDC_StaticText_dst_meailadr_dsp, SysInfo.DstMailAdr);
}

void TFormMainTavisnap::OnLayout(UINT dpi) {
  SendMessageW(Item(IDC_StatusBar_tavisnapmain), WM_SIZE, 0, 0);  // it places itself
  paged_.Place(dpi);
}

void TFormMainTavisnap::SetControlText(int id, const std::string& utf8) {
  SetWindowTextW(Item(id), Widen(utf8).c_str());
}

}  // namespace tavisnap
