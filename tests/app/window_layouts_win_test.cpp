// Every window of the program at the display's dpi (the test runs at 96 and at 144):
// its client area and controls are its 96-dpi layout scaled, no caption is cut off,
// and a screenshot of each lands in the test output.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "account/form_init_res.h"
#include "account/form_init_win.h"
#include "account/recording_services.h"
#include "app/form_splash_win.h"
#include "app/resource.h"
#include "capture/form_send_panel_win.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "service/form_http_win.h"
#include "setup/setup_main_win.h"
#include "support/driver_win.h"
#include "support/fake_prompter.h"
#include "viewer/form_viewer_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

UINT SystemDpi() {
  return GetDpiForSystem();
}

std::string Shot(const std::string& name) {
  return name + "-dpi" + std::to_string(SystemDpi());
}

// The room a control of this kind needs around its caption.
int Padding(HWND control) {
  const std::wstring cls = ClassOf(control);
  if (cls != L"Button") return 0;
  const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
    return GetSystemMetricsForDpi(SM_CXMENUCHECK, SystemDpi()) + ScaleForDpi(6, SystemDpi());
  }
  if (type == BS_GROUPBOX) return ScaleForDpi(16, SystemDpi());
  return ScaleForDpi(6, SystemDpi());
}

// A one-line caption that does not fit its control, with its measures; empty when it fits.
std::string ClippedCaption(HWND control) {
  const std::wstring cls = ClassOf(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (cls != L"Button" && cls != L"Static" && cls != L"Edit") return {};
  if (cls == L"Static" && (style & SS_TYPEMASK) == SS_OWNERDRAW) return {};  // draws itself
  if (cls == L"Edit" && (style & ES_MULTILINE)) return {};  // wraps and scrolls its text
  const std::wstring text = TextOf(control);
  if (text.empty() || !IsWindowVisible(control)) return {};
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  RECT have;
  GetClientRect(control, &have);
  if (need.right + Padding(control) <= have.right && need.bottom <= have.bottom) return {};
  return Narrow(text) + ": needs " + std::to_string(need.right + Padding(control)) + "x" +
         std::to_string(need.bottom) + ", has " + std::to_string(have.right) + "x" +
         std::to_string(have.bottom);
}

// The window's client area and controls against its layout, scaled for the dpi, and no
// caption cut off.
void ExpectLaidOut(const Dialog& dialog, const std::string& name) {
  const DialogLayout* layout = dialog.Layout();
  ASSERT_NE(layout, nullptr) << name;
  const UINT dpi = SystemDpi();
  EXPECT_EQ(GetDpiForWindow(dialog.hwnd()), dpi) << name;
  if (layout->clientWidth) {
    RECT client;
    GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(layout->clientWidth, dpi)) << name;
    EXPECT_EQ(client.bottom, ScaleForDpi(layout->clientHeight, dpi)) << name;
  }
  for (const Placement& p : layout->controls) {
    HWND control = GetDlgItem(dialog.hwnd(), p.id);
    ASSERT_NE(control, nullptr) << name << " control " << p.id;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, ScaleForDpi(p.x, dpi)) << name << " control " << p.id;
    EXPECT_EQ(r.top, ScaleForDpi(p.y, dpi)) << name << " control " << p.id;
    if (p.width == 0) continue;
    EXPECT_EQ(r.right - r.left, ScaleForDpi(p.width, dpi)) << name << " control " << p.id;
    // A drop-down list's height is its list's; the box itself has the system's height.
    if (ClassOf(control) != L"ComboBox") {
      EXPECT_EQ(r.bottom - r.top, ScaleForDpi(p.height, dpi)) << name << " control " << p.id;
    }
    EXPECT_EQ(ClippedCaption(control), "") << name;
  }
}

HBITMAP Logo() {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LOGO),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TEST(WindowLayouts, EveryWindowIsItsLayoutScaledWithNoCaptionCutOff) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  std::cout << "display: " << SystemDpi() << " dpi\n";

  {
    TFormSplash splash(Logo());
    ShowWindow(splash.hwnd(), SW_SHOWNOACTIVATE);
    Pump(300ms);
    RECT client;
    GetClientRect(splash.hwnd(), &client);
    EXPECT_EQ(client.right, ScaleForDpi(310, SystemDpi()));
    EXPECT_EQ(client.bottom, ScaleForDpi(181, SystemDpi()));
    SaveScreenshot(Shot("splash"), splash.hwnd());
  }
  {
    TFormHTTP transfer;
    ShowWindow(transfer.hwnd(), SW_SHOW);
    Pump(300ms);
    ExpectLaidOut(transfer, "transfer window");
    SaveScreenshot(Shot("transfer"), transfer.hwnd());
  }
  {
    RecordingServices services;
    TFormInit account(services);
    account.Show();
    ExpectLaidOut(account, "account window");
    for (int page : {kPageNewReg, kPageAlreadyReg}) {
      SendMessageW(account.hwnd(), WM_COMMAND,
                   page == kPageNewReg ? IDM_IniMenuNewReg : IDM_INiMenuLogin, 0);
      Pump(200ms);
      ASSERT_EQ(account.Page(), page);
      ExpectLaidOut(account.PageOf(page), "account page " + std::to_string(page));
      SaveScreenshot(Shot("account-page" + std::to_string(page)), account.hwnd());
    }
  }
  {
    SendCoordinator send;
    TFormMainTavisnap main(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVISNAP)),
                           send);
    ExpectLaidOut(main, "main window");
    for (const MainPageInfo& info : MainPages()) {
      main.ShowMainTab(info.page);
      ShowWindow(main.hwnd(), SW_SHOW);
      Pump(200ms);
      ExpectLaidOut(main.PageOf(info.page), info.name);
      SaveScreenshot(Shot(std::string("main-") + info.name), main.hwnd());
    }
    FakePrompter prompter;
    TFormSendPanel panel(main.hwnd(), prompter, main.SendPanelAddressBookFactory());
    ShowWindow(panel.hwnd(), SW_SHOW);
    ExpectLaidOut(panel, "send panel");
    for (PanelPage page : {PanelPage::Easy, PanelPage::Detailed}) {
      panel.ShowPage(page);
      Pump(200ms);
      const char* name = page == PanelPage::Easy ? "send-panel-easy" : "send-panel-detailed";
      ExpectLaidOut(panel.PageOf(page), name);
      SaveScreenshot(Shot(name), panel.hwnd());
    }
    ShowWindow(panel.hwnd(), SW_HIDE);
    TFormViewer viewer(main.hwnd(), prompter, [](int) {});
    viewer.Show();
    Pump(200ms);
    ExpectLaidOut(viewer, "viewer");
    SaveScreenshot(Shot("viewer"), viewer.hwnd());
    ShowWindow(viewer.hwnd(), SW_HIDE);
  }
  {
    SoundLibrary sound;
    TSetup_Main setup(sound, nullptr);  // the launcher's window, of TavisnapSetup.exe
    setup.Show();
    Pump(300ms);
    ExpectLaidOut(setup, "setup launcher");
    SaveScreenshot(Shot("setup-launcher"), setup.hwnd());
  }
}

}  // namespace
}  // namespace tavisnap::testing
