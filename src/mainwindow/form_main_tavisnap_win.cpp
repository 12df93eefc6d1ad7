#include "mainwindow/form_main_tavisnap_win.h"

#include <commctrl.h>
#include <imm.h>

#include "core/app_error.h"
#include "core/define.h"
#include "core/settings_list.h"
#include "mainwindow/labelled_accessible_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "addressbook/address_book.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr int kClientWidth = 608;
constexpr int kClientHeight = 320;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;
constexpr int kFontPoints = 9;

constexpr int kPageTemplates[kMainPageCount] = {
    IDD_TabSheet_dst,         IDD_TabSheet_address_Add, IDD_TabSheet_Address_edit,
    IDD_TabSheet_Address_del, IDD_TabSheet_user_info,   IDD_TabSheet_userid_chg,
    IDD_TabSheet_pwd_chg,     IDD_TabSheet_pwd_notify,  IDD_TabSheet_dst_setting};

// Mail addresses and passwords are typed without the input method.
constexpr int kInputMethodOff[] = {IDC_Edit_add_mailadr,  IDC_Edit_upd_mailadr,
                                   IDC_Edit_idchg_userid, IDC_Edit_idchg_confrm,
                                   IDC_Edit_pwdchg,       IDC_Edit_pwdchg_confrm,
                                   IDC_Edit_send_add_mail};

// Drop-down lists that a screen reader should name by their label.
constexpr int kLabelledLists[] = {IDC_ComboBox_dst_list, IDC_ComboBox_upd_maillist,
                                  IDC_ComboBox_del_maillist};

constexpr char kRenotifyGuide[] =
    "パスワードを忘れた方は下の”再通知ボタン”を押してください";
constexpr char kHiddenListItem[] = "送信先をリストから選択して下さい";

void RegisterMainWindowClass(HICON icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, kMainWindowClass, &wc)) return;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefDlgProcW;  // a dialog class: the template names it
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);
}

int Scaled(HWND hwnd, int pixels) {
  return MulDiv(pixels, static_cast<int>(GetDpiForWindow(hwnd)), 96);
}

}  // namespace

TFormMainTavisnap::TFormMainTavisnap(HICON icon)
    : icon_(icon),
      trayMenu_(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PopupMenuTrayIcon))),
      accountWindowVisible_([] { return false; }),
      addressBookEmpty_([] { return AddressBookIsEmpty(Settings); }) {
  RegisterMainWindowClass(icon);
  Create(IDD_FormMainTavisnap, nullptr);
  if (!hwnd() || !trayMenu_) throw AppError("メインウィンドウを作成できません");
  FormCreate();
}

TFormMainTavisnap::~TFormMainTavisnap() {
  RemoveTrayIcon();
  // Destroyed here, while the font and the pages it uses still exist.
  if (hwnd()) DestroyWindow(hwnd());
}

void TFormMainTavisnap::FormCreate() {
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  for (int i = 0; i < kMainPageCount; ++i) {
    pages_[static_cast<size_t>(i)] = std::make_unique<MainPageDialog>(kPageTemplates[i], hwnd());
  }
  for (int id : kInputMethodOff) ImmAssociateContextEx(Control(id), nullptr, 0);
  for (int id : kLabelledLists) NameAfterLabel(Control(id));
  SetControlText(IDC_StaticText_pwd_renotify_guid, kRenotifyGuide);
  for (int id : {IDC_ComboBox_name, IDC_ComboBox_mailadr}) {
    std::wstring item = Widen(kHiddenListItem);
    SendDlgItemMessageW(hwnd(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendDlgItemMessageW(hwnd(), id, CB_SETCURSEL, 0, 0);
  }
  ApplyFont();
  LayOut();
  ShowMainTab(MainPage::Dst);
  RefreshMenuStates();
  RegisterHotKeyPair();
  ShowRecipientTexts();
}

void TFormMainTavisnap::ApplyFont() {
  int height = -MulDiv(kFontPoints, static_cast<int>(GetDpiForWindow(hwnd())), 72);
  font_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック"));
  if (!font_) return;  // the dialog font stays
  EnumChildWindows(
      hwnd(),
      [](HWND child, LPARAM font) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font_.get()));
}

void TFormMainTavisnap::SizeAndCentre() {
  HWND w = hwnd();
  int clientWidth = Scaled(w, kClientWidth), clientHeight = Scaled(w, kClientHeight);
  // Twice: the menu bar may wrap into another line at the new width.
  for (int pass = 0; pass < 2; ++pass) {
    RECT window, client;
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    SetWindowPos(w, nullptr, 0, 0, clientWidth + (window.right - window.left) - client.right,
                 clientHeight + (window.bottom - window.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT window;
  GetWindowRect(w, &window);
  const RECT& work = monitor.rcWork;
  SetWindowPos(w, nullptr,
               work.left + (work.right - work.left - (window.right - window.left)) / 2,
               work.top + (work.bottom - work.top - (window.bottom - window.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormMainTavisnap::LayOut() {
  SizeAndCentre();
  HWND w = hwnd();
  int clientWidth = Scaled(w, kClientWidth), clientHeight = Scaled(w, kClientHeight);
  HWND status = GetDlgItem(w, IDC_StatusBar_tavisnapmain);
  SendMessageW(status, WM_SIZE, 0, 0);  // a status bar places itself at the bottom
  RECT bar;
  GetWindowRect(status, &bar);
  int margin = Scaled(w, kMargin), buttonWidth = Scaled(w, kButtonWidth);
  int buttonHeight = Scaled(w, kButtonHeight);
  int buttonTop = clientHeight - (bar.bottom - bar.top) - margin - buttonHeight;
  MoveWindow(GetDlgItem(w, IDC_Button_cancel), clientWidth - margin - buttonWidth, buttonTop,
             buttonWidth, buttonHeight, FALSE);
  MoveWindow(GetDlgItem(w, IDC_Button_exec), clientWidth - 2 * (margin + buttonWidth), buttonTop,
             buttonWidth, buttonHeight, FALSE);
  HWND tab = GetDlgItem(w, IDC_PageControlData);
  RECT area{margin, margin, clientWidth - margin, buttonTop - margin};
  MoveWindow(tab, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
  // The control holds one tab, the current page's; before it, it has no display area.
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring caption = Widen(PageInfo(currentTab_).tabCaption);
  item.pszText = caption.data();
  SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  // Right after the tab control in Z order, which is the tab order.
  for (int i = kMainPageCount - 1; i >= 0; --i) {
    SetWindowPos(pages_[static_cast<size_t>(i)]->hwnd(), tab, area.left, area.top,
                 area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
  }
}

HWND TFormMainTavisnap::Control(int id) const {
  if (HWND own = GetDlgItem(hwnd(), id)) return own;
  for (const auto& page : pages_) {
    if (HWND item = page->Item(id)) return item;
  }
  return nullptr;
}

void TFormMainTavisnap::SetControlText(int id, const std::string& utf8) {
  SetWindowTextW(Control(id), Widen(utf8).c_str());
}

}  // namespace tavisnap
