// The viewer in the real tavisnap.exe with the local service: the tray entry opens it
// modally; a capture handed over by the send panel's Viewer button opens it modeless with
// the capture on show; its Send runs the flow again with the viewer's picture, through the
// panel to the service.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "imaging/jpeg_codec.h"
#include "mainwindow/mainwindow_resource.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"
#include "support/sent_field.h"
#include "viewer/form_viewer_res.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kViewerTitle[] = L"タビスナップ-画像viewer-";
constexpr wchar_t kPanelTitle[] = L"タビスナップ－送信パネル－";

// The button of the panel's page on show with this caption.
HWND VisibleButton(HWND panel, const std::wstring& caption) {
  for (HWND child : Children(panel)) {
    if (IsWindowVisible(child) && ClassOf(child) == L"Button" && TextOf(child) == caption) {
      return child;
    }
  }
  return nullptr;
}

bool HasTextStartingWith(HWND window, const std::wstring& text) {
  for (HWND child : Children(window)) {
    if (TextOf(child).rfind(text, 0) == 0) return true;
  }
  return false;
}

size_t Uploads() {
  size_t n = 0;
  for (const std::string& request : ServiceRequests())
    n += SentField(request, "SubmitCapUpComp") == "1";
  return n;
}

TEST(ViewerFlow, TheTrayOpensItAndTheSendPanelHandsItTheCaptureToSendAgain) {
  ASSERT_FALSE(Env("TAVISNAP_SERVICE_URL").empty()) << "runs with the local service";
  InstalledProgram program;
  program.SetSystemValue("DST_NAME", "山田");
  program.SetSystemValue("DST_MAILADR", "yamada@example.jp");
  auto process = program.Start();
  const DWORD pid = process->pid;
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", pid, 30s);
  ASSERT_NE(main, nullptr);
  HWND account = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (account = AccountWindow(pid)) != nullptr; }, 30s));
  RegisterThenSignIn(pid, account, "viewer-user@example.jp", false);
  if (HasFatalFailure()) return;

  // The tray's viewer entry: modal, the main window waits.
  PostCommand(main, IDM_PMenuViewer);
  HWND viewer = WaitForTopWindow(L"", kViewerTitle, pid, 10s, true);
  ASSERT_NE(viewer, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));
  PostClose(viewer);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer) && IsWindowEnabled(main); }));

  // A capture of the user's window (a bare desktop would be a blank picture), handed to
  // the viewer from the panel.
  auto work = std::make_unique<FrontWindow>(160, 120, 720, 480);
  ASSERT_TRUE(work->Activate());
  PostMessageW(main, WM_HOTKEY, 1, 0);
  HWND panel = WaitForTopWindow(L"", kPanelTitle, pid, 30s, true);
  ASSERT_NE(panel, nullptr);
  work.reset();  // taken; it would stand in front of the viewer
  HWND viewerButton = VisibleButton(panel, L"Viewer");
  ASSERT_NE(viewerButton, nullptr);
  ASSERT_TRUE(IsWindowEnabled(viewerButton));
  Click(viewerButton);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }, 10s));
  EXPECT_FALSE(IsWindowVisible(panel));
  EXPECT_TRUE(IsWindowEnabled(main)) << "shown modally";
  SetForegroundWindow(viewer);
  Pump(500ms);
  SaveScreenshot("viewer-with-capture", viewer);

  // The capture is on show at 100 %, from the client area's corner.
  Picture capture = ReadJpegFile(program.captureFile());
  POINT origin{0, 0};
  ClientToScreen(viewer, &origin);
  HDC screen = GetDC(nullptr);
  int differing = 0;
  for (int i = 0; i < 8; ++i) {
    const int x = 40 + i * 97, y = 30 + i * 61;
    COLORREF shown = GetPixel(screen, origin.x + x, origin.y + y);
    Rgb want = capture.Pixel(x, y);
    differing += std::abs(GetRValue(shown) - want.r) + std::abs(GetGValue(shown) - want.g) +
                     std::abs(GetBValue(shown) - want.b) >
                 30;
  }
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(differing, 0) << "the viewer does not show the capture";

  // Its Send: the panel again, in the viewer's mode, and the upload.
  const size_t uploadsBefore = Uploads();
  PostCommand(viewer, IDM_Send);
  panel = WaitForTopWindow(L"", kPanelTitle, pid, 30s, true);
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(HasTextStartingWith(panel, L"画像送信モード【VIEWER画面】"));
  Click(VisibleButton(panel, L"送信"));
  auto box = ExpectMessageBox(pid, IDOK, 30s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.substr(0, 6), L"送信しました");
  EXPECT_EQ(Uploads(), uploadsBefore + 1);
  EXPECT_TRUE(IsWindowVisible(viewer)) << "the viewer stays open";

  PostCommand(main, IDM_PMenuTrayExit);
  ASSERT_TRUE(ExpectMessageBox(pid, IDOK).has_value());
  EXPECT_TRUE(process->Wait(15s).has_value());
}

}  // namespace
}  // namespace tavisnap::testing
