// The main window: hidden at start, found by its class and title, owner of the tray
// icon, both menus and the pages reached from them. A dialog, so that Tab, arrow and
// access keys work across the page and the buttons.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "account/main_window_services.h"
#include "addressbook/address_book.h"
#include "addressbook/address_pages.h"
#include "addressbook/csv_window.h"
#include "capture/form_send_panel_win.h"
#include "core/prompter_win.h"
#include "mainwindow/combo_choice_list_win.h"
#include "mainwindow/main_pages.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/menu_state.h"
#include "mainwindow/send_coordinator_win.h"
#include "win/paged_frame_win.h"
#include "win/tray_icon_win.h"
#include "win/wait_cursor_win.h"
#include "win/window_win.h"

namespace tavisnap {

inline constexpr wchar_t kMainWindowClass[] = L"TFormMainTavisnap";
inline constexpr wchar_t kMainWindowTitle[] = L"タビスナップ";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 1;

class TFormMainTavisnap : public Dialog,
                          public MainWindowServices,
                          private AddressPagesView,
                          private SendWindow {
 public:
  const DialogLayout* Layout() const override;
  // The send side registers its hotkeys on this window while it is created.
  TFormMainTavisnap(HICON icon, SendCoordinator& send);
  ~TFormMainTavisnap() override;

  void ShowMainTab(MainPage page);
  MainPage CurrentTab() const { return currentTab_; }
  const PageDialog& PageOf(MainPage page) const { return *pages_[static_cast<size_t>(page)]; }
  void ShowRecipientSetup() override;

  void RefreshMenuStates() override;
  void EnableSignedInTrayItems() override;
  bool ExitProgram(bool ask) override;
  // Start-up without automatic sign-in: the viewer can be used at once.
  void EnableViewerEntry();

  void AddTrayIcon();
  void RemoveTrayIcon();

  // The address book over the send panel's own lists.
  TFormSendPanel::AddressBookFactory SendPanelAddressBookFactory();

  // The viewer window, created after this one: shown modally from the viewer entries,
  // modeless by the capture-send flow (form_main_tavisnap_hooks_win.cpp).
  void SetViewer(std::function<void(bool modal)> show) { showViewer_ = std::move(show); }

  // Asked by the tray double click: while the account window is open it does nothing.
  void SetAccountWindowVisibleQuery(std::function<bool()> query);

  HMENU MainMenu() const { return GetMenu(hwnd()); }
  HMENU TrayMenu() const { return GetSubMenu(trayMenu_.get(), 0); }
  const TrayIcon& Tray() const { return tray_; }

 protected:
  bool OnInit() override { return false; }  // hidden: a shown page places the focus
  bool OnCommand(int id, int code) override;
  void OnClose() override { HideMainWindow(); }  // the program lives on in the tray
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnTimer(UINT_PTR id) override { send_.OnTimer(id); }

 private:
  struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
  };
  // The CSV files' hourglass, held apart from the upload's (SendCoordinator).
  class CsvHourglass final : public Hourglass {
   public:
    void Show() override { wait_.Hold(); }
    void Restore() override { wait_.Release(); }

   private:
    WaitCursor wait_;
  };

  // Creation and frame (form_main_tavisnap_win.cpp).
  void OnLayout(UINT dpi) override;
  void FormCreate();
  void ShowMainWindow();
  void HideMainWindow() { ShowWindow(hwnd(), SW_HIDE); }
  void Button_cancelClick() { HideMainWindow(); }
  // The program minimised, by the box or by other means: the window goes to the tray.
  void AppOnMinimize() { HideMainWindow(); }
  void PlaceFocus();
  void SetExecButton(const MainPageInfo& info);
  PageDialog& Page(MainPage page) { return *pages_[static_cast<size_t>(page)]; }
  void OnListSelect(int id);
  void SetControlText(int id, const std::string& utf8);
  void ClearPageEdits(MainPage page);

  // Menus (form_main_tavisnap_menus_win.cpp).
  void OnMenuCommand(const MenuCommand& command);
  void OpenPageFromMenu(MenuAction action);
  void PMenuTraySetToClick();
  void ApplyTrayItemStates();
  void SetMenuCaption(int id, const std::string& caption);

  // Tray (form_main_tavisnap_tray_win.cpp).
  void TrayCallback(WPARAM wp, LPARAM lp);
  void OnTrayDoubleClick();
  POINT TrayAnchor(WPARAM wp) const;
  void OpenTrayMenu(POINT at);

  // The address book's pages and files (form_main_tavisnap_addressbook_win.cpp).
  void ConnectAddressLists();
  std::string Text(AddressField field) const override;
  void SetText(AddressField field, const std::string& text) override;
  ChoiceList& List(AddressListId list) override;
  void HideWindow() override { HideMainWindow(); }
  std::optional<std::string> ChooseCsvFile(bool save);
  void CsvLumpClick();
  void exportClick();

  // What the send side needs of this window (SendWindow).
  HWND SendWindowHandle() const override { return hwnd(); }
  void ShowViewerModeless() override;
  void SetHotKeyCaption(const HotKeyMenuEntry& entry, const std::string& caption) override;
  // Both resend entries as ResendEnabled decides.
  void RefreshResendEntries() override;

  // The execute button's dispatch and the actions behind pages and menu entries
  // (form_main_tavisnap_hooks_win.cpp, _account_win.cpp).
  void Button_execClick();
  void UserIdChange();
  void PasswordChange();
  void PasswordReNotify();
  void PMenuTrayDeleteClick();
  void PMenuViewerClick();
  void Button_basic_authClick();
  void MenuSetOtherAutologinClick();
  void MenuHelpDispClick();
  void MenuReadmeClick();
  void MenuVersionClick();

  HICON icon_;
  std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter> trayMenu_;
  std::array<std::unique_ptr<PageDialog>, kMainPageCount> pages_;
  PagedFrame paged_;
  MainPage currentTab_ = MainPage::Dst;
  HWND pendingFocus_ = nullptr;
  TrayItemStates trayItems_;
  TrayIcon tray_;
  UINT taskbarCreated_ = 0;
  bool trackingTrayMenu_ = false;
  DWORD trayMenuClosedAt_ = 0;
  std::function<bool()> accountWindowVisible_;
  std::function<void(bool modal)> showViewer_;
  Win32Prompter prompter_;
  AddressBook addressBook_;
  AddressPages addressPages_;
  // By AddressListId: the three visible lists and the two hidden ones.
  std::array<ComboChoiceList, 5> lists_;
  CsvHourglass csvHourglass_;
  SendCoordinator& send_;
};

}  // namespace tavisnap
