// tavisnap.exe: the composition root. Start-up runs in this order: single-instance
// guard, settings, splash, connection wait, update check, windows, first sign-in
// decision, tray icon, message loop.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <thread>

#include "account/form_init_win.h"
#include "app/form_splash_win.h"
#include "app/resource.h"
#include "capture/form_send_panel_win.h"
#include "core/app_error.h"
#include "core/define.h"
#include "core/foreground.h"
#include "core/internet_win.h"
#include "core/load_settings_win.h"
#include "core/prompter.h"
#include "core/prompter_win.h"
#include "core/single_instance_win.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "mainwindow/menu_state.h"
#include "mainwindow/send_coordinator_win.h"
#include "service/form_http_win.h"
#include "service/http_client_init.h"
#include "service/transfer.h"
#include "update/help_entries_win.h"
#include "update/update_startup_win.h"
#include "update/updater.h"
#include "viewer/form_viewer_win.h"
#include "win/message_box_win.h"
#include "win/window_win.h"

namespace tavisnap {
namespace {

constexpr char kOfflineNotice[] =
    "インターネットに接続されていないため、オフラインモードで起動します。\r\n"
    "インターネットに接続した場合、タビスナップを再起動してください。";

HBITMAP LoadLogo(HINSTANCE instance) {
  return static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The Wine tests' one hook: a system that refuses the upload its thread, which nothing
// outside the program can bring about. No menu, setting or installer sets the variable.
void RefuseUploadThreadsForTests() {
  if (GetEnvironmentVariableW(L"TAVISNAP_TEST_REFUSE_UPLOAD_THREAD", nullptr, 0) == 0) return;
  SetTransferThreadStarter([](std::function<void()>, std::thread&) { return false; });
}

int Run(HINSTANCE instance) {
  SingleInstanceGuard guard;
  if (!guard.IsFirstInstance()) {
    NotifyRunningInstance(CommandLineParameters());
    ExitProcess(0);
  }

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  LoadSettings();  // ends the process when system.ini is missing
  InitHttpClient();
  RefuseUploadThreadsForTests();

  auto splash = std::make_unique<TFormSplash>(LoadLogo(instance));
  splash->ShowAnimated();

  Win32Prompter prompter;
  if (WaitForInternet(ProcessPendingMessages)) {
    RunMode = kRunModeOnline;
    CheckForUpdate(splash->hwnd(), prompter);  // ends the process when the updater starts
  } else {
    ShowMessageBox(kOfflineNotice, kCaptionConfirmation, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
    RunMode = kRunModeOffline;
  }
  RemoveLeftoverUpdater(LocalDataDir, SysInfo.MailId);

  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVISNAP));
  // Every window lives from here until the process ends, created in this order.
  auto send = std::make_unique<SendCoordinator>();
  auto mainWindow = std::make_unique<TFormMainTavisnap>(icon, *send);
  SetMainWindowHandle(mainWindow->hwnd());
  auto formInit = std::make_unique<TFormInit>(*mainWindow, mainWindow->hwnd());
  formInit->SetHelpActions({OpenHelpPage, OpenReadme, [](HWND) { ShowVersionBox(); }});
  mainWindow->SetAccountWindowVisibleQuery([&formInit] { return formInit->IsVisible(); });
  auto formHttp = std::make_unique<TFormHTTP>(mainWindow->hwnd(), ForceForeground);
  std::unique_ptr<TFormViewer> viewer;
  viewer = std::make_unique<TFormViewer>(
      mainWindow->hwnd(), prompter,
      [&send, &viewer](int /*mode: the viewer's*/) {
        send->SendViewerPicture(viewer->logic().ShowsHandedOverPicture());
      },
      icon);
  mainWindow->SetViewer([&viewer](bool modal) {
    if (modal) {
      viewer->ShowModal();
    } else {
      viewer->Show();
    }
  });
  auto sendPanel = std::make_unique<TFormSendPanel>(
      mainWindow->hwnd(), prompter, mainWindow->SendPanelAddressBookFactory(), icon);
  send->SetSendPanel(*sendPanel);
  sendPanel->SetViewerHandOver([&viewer] { viewer->logic().TakeOverCapture(CaptureFile); });
  // Offline, pictures can be viewed and edited but not sent.
  if (RunMode == kRunModeOffline) viewer->logic().SetSendEnabled(false);

  // How the user's work begins. Without automatic sign-in (offline included) the viewer
  // can be used at once; the sign-in enables it otherwise.
  if (StartupEnablesViewer(RunMode, SysInfo.AutoLogin)) mainWindow->EnableViewerEntry();
  if (RunMode == kRunModeOnline) {
    if (SysInfo.AutoLogin) {
      formInit->AutoSignIn();  // the window shows itself only when the stored data fail
    } else {
      formInit->Show();
    }
  }

  mainWindow->AddTrayIcon();
  ProcessPendingMessages();
  splash->Close();
  splash.reset();
  int code = RunMessageLoop();
  // However the loop ended (the exit path, or a WM_QUIT posted from outside), the tray
  // icon and the window go before the process does.
  sendPanel.reset();
  viewer.reset();
  formHttp.reset();
  formInit.reset();
  SetMainWindowHandle(nullptr);
  mainWindow.reset();
  send.reset();
  return code;
}

}  // namespace
}  // namespace tavisnap

// What escapes start-up (a window that cannot be created, a resource missing) ends the
// program with its reason on the screen instead of a silent abort.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tavisnap;
  constexpr UINT kFlags = MB_OK | MB_TOPMOST | MB_SETFOREGROUND;
  try {
    return Run(instance);
  } catch (const AppError& e) {
    ShowMessageBox(e.what(), kCaptionWarning, kFlags);
  } catch (const std::exception&) {
    ShowMessageBox("予期しないエラーのため、タビスナップを終了します。", kCaptionWarning, kFlags);
  } catch (...) {
    ShowMessageBox("予期しないエラーのため、タビスナップを終了します。", kCaptionWarning, kFlags);
  }
  return 1;
}
