// The transfer window under Wine, against the local service: its look, the bar during a
// real upload, Cancel, the close box, and the window left open when no worker started.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/define.h"
#include "service/form_http_res.h"
#include "service/form_http_win.h"
#include "service/http_client_init.h"
#include "service/post_form.h"
#include "service/session_cookie.h"
#include "service/transfer.h"
#include "support/driver_win.h"
#include "support/globals.h"

namespace tavisnap {
namespace {

using namespace std::chrono_literals;
using testing::Env;
using testing::ResetServiceGlobals;
using testing::WaitUntil;

TTypFormData Text(std::string name, std::string value) {
  return {kFormText, std::move(name), std::move(value)};
}

RECT PlaceInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  GetObjectW(handle, sizeof font, &font);
  return font;
}

std::wstring AccessibleName(HWND window) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&acc)))) {
    return L"(no accessible object)";
  }
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring result;
  if (SUCCEEDED(acc->get_accName(self, &name)) && name) result = name;
  SysFreeString(name);
  acc->Release();
  return result;
}

class FormHttpWinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    InitHttpClient();
    form_ = std::make_unique<TFormHTTP>(nullptr, [] { ++foreground_calls_; });
  }
  static void TearDownTestSuite() { form_.reset(); }

  void SetUp() override {
    ResetServiceGlobals();
    BaseUrl = Env("TAVISNAP_SERVICE_URL");
    ASSERT_FALSE(BaseUrl.empty()) << "run with the local service (tools/wine-run --service)";
    CaFile = Env("TAVISNAP_CA_FILE");
    SetTransferThreadStarter({});
    Control("_control/reset", {});
    folder_ = testing::MakeTempDir();
  }
  void TearDown() override {
    if (form_->IsVisible()) ShowWindow(form_->hwnd(), SW_HIDE);
    SetTransferThreadStarter({});
    EXPECT_TRUE(WaitUntil([] { return LiveTransferWorkers() == 0; }, 10s));
    ResetServiceGlobals();
  }

  static void Control(const std::string& path, const TTypFormDataArray& params) {
    HttpResult result = PostForm(BaseUrl + path, params);
    ASSERT_EQ(result.status, 200) << path << ": " << result.body;
  }

  std::string Picture(size_t bytes) {
    std::string path = folder_ + "\\capture.jpg";
    testing::WriteFileBytes(path, std::string(bytes, '\x5A'));
    return path;
  }

  // The send flow's steps around the window.
  static bool StartUpload(const std::string& picture) {
    form_->Show();
    ThrdInfo.Busy = true;
    return RunTransfer(BaseUrl + "action.php", {Text("txtEmailTo[0]", "to@example.jp"),
                                                {kFormFile, "fileCapUp[0]", picture},
                                                Text("SubmitCapUpComp", "1")});
  }

  HWND Bar() const { return form_->Item(IDC_ProgressBar); }
  HWND Button() const { return form_->Item(IDC_ButtonCancel); }

  static inline std::unique_ptr<TFormHTTP> form_;
  static inline int foreground_calls_ = 0;
  std::string folder_;
};

TEST_F(FormHttpWinTest, ShowsItsCaptionAndControlsInPlaceCentredAndInFront) {
  int calls_before = foreground_calls_;
  SetTransferThreadStarter([](std::function<void()>, std::thread&) { return false; });
  StartUpload("unused");
  HWND window =
      testing::FindTopWindow(L"#32770", L"タビスナップ送信中", GetCurrentProcessId(), true);
  ASSERT_EQ(window, form_->hwnd());
  EXPECT_EQ(foreground_calls_, calls_before + 1) << "the main window comes to the front first";
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 147);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  std::vector<HWND> children = testing::Children(window);
  ASSERT_EQ(children.size(), 3u);
  struct Expect {
    const wchar_t* cls;
    RECT place;
  };
  const Expect expected[] = {{L"SysAnimate32", {14, 8, 286, 68}},
                             {L"msctls_progress32", {14, 74, 286, 99}},
                             {L"Button", {73, 111, 228, 139}}};
  for (size_t i = 0; i < children.size(); ++i) {
    EXPECT_EQ(testing::ClassOf(children[i]), expected[i].cls);
    RECT r = PlaceInParent(children[i]);
    EXPECT_TRUE(EqualRect(&r, &expected[i].place))
        << i << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_TRUE(GetWindowLongW(Bar(), GWL_STYLE) & PBS_SMOOTH);
  EXPECT_EQ(testing::TextOf(Button()), L"キャンセル");
  EXPECT_TRUE(IsWindowEnabled(Button()));
  EXPECT_EQ(AccessibleName(Button()), L"キャンセル");
  EXPECT_EQ(GetFocus(), Button());
  EXPECT_EQ(FontOf(window).lfHeight, -11);
  EXPECT_STREQ(FontOf(window).lfFaceName, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(FontOf(Button()).lfHeight, -20);
  testing::SaveScreenshot("form-http-shown", window);

  // Nothing started, so the window waits for the user; Esc does not cancel.
  SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  testing::Pump(800ms);
  EXPECT_TRUE(form_->IsVisible());
  EXPECT_TRUE(ThrdInfo.Busy);
  EXPECT_TRUE(ThrdInfo.Success());
  EXPECT_EQ(ThrdInfo.ReplyText(), "");
}

TEST_F(FormHttpWinTest, WithoutAWorkerCancelReportsButTheWindowStaysUntilClosed) {
  SetTransferThreadStarter([](std::function<void()>, std::thread&) { return false; });
  EXPECT_FALSE(StartUpload("unused"));
  testing::Click(Button());
  ASSERT_TRUE(WaitUntil([] { return !ThrdInfo.Busy; }, 2s));
  EXPECT_EQ(ThrdInfo.ReplyText(), "CANCEL");
  testing::Pump(700ms);
  EXPECT_TRUE(form_->IsVisible());
  testing::PostClose(form_->hwnd());
  EXPECT_TRUE(WaitUntil([] { return !form_->IsVisible(); }, 2s));
}

TEST_F(FormHttpWinTest, TheBarFollowsARealUploadToItsEndAndTheWindowCloses) {
  std::string picture = Picture(3 << 20);
  Control("_control/behaviour", {Text("read_bps", "2000000"), Text("answer", "1")});
  ASSERT_TRUE(StartUpload(picture));
  int low = 0, high = 0;
  std::vector<int> positions;
  bool shot = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        positions.push_back(static_cast<int>(SendMessageW(Bar(), PBM_GETPOS, 0, 0)));
        high = static_cast<int>(SendMessageW(Bar(), PBM_GETRANGE, FALSE, 0));
        low = static_cast<int>(SendMessageW(Bar(), PBM_GETRANGE, TRUE, 0));
        if (!shot && positions.back() > high / 3) {
          shot = true;
          testing::SaveScreenshot("form-http-progress", form_->hwnd());
        }
        return !form_->IsVisible();
      },
      30s));
  EXPECT_FALSE(ThrdInfo.Busy);
  EXPECT_TRUE(ThrdInfo.Success());
  EXPECT_EQ(ThrdInfo.ReplyText(), "1");
  EXPECT_EQ(low, 0);
  EXPECT_GT(high, 3 << 20) << "the range is the whole request body";
  EXPECT_EQ(SendMessageW(Bar(), PBM_GETPOS, 0, 0), high) << "the bar reached its end";
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_GT(
      std::count_if(positions.begin(), positions.end(), [&](int p) { return p > 0 && p < high; }),
      3)
      << "the bar moved in steps";
}

TEST_F(FormHttpWinTest, CancelClosesTheWindowAtTheNextTickAndStopsTheUpload) {
  std::string picture = Picture(4 << 20);
  Control("_control/behaviour",
          {Text("read_stop_after", "300000"), Text("answer", "1"), Text("set_cookie", "LATE=1")});
  SessionCookie.Set("BEFORE=1");
  ASSERT_TRUE(StartUpload(picture));
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(Bar(), PBM_GETPOS, 0, 0) > 0; }, 10s));
  testing::Click(Button());
  // Within a tick of 300 ms, with room for a slow machine.
  ASSERT_TRUE(WaitUntil([] { return !form_->IsVisible(); }, 2s));
  EXPECT_FALSE(ThrdInfo.Busy);
  EXPECT_FALSE(ThrdInfo.Success());
  EXPECT_EQ(ThrdInfo.ReplyText(), "CANCEL");
  EXPECT_TRUE(WaitUntil([] { return LiveTransferWorkers() == 0; }, 5s)) << "upload stopped";
  EXPECT_EQ(SessionCookie.Get(), "BEFORE=1");
}

TEST_F(FormHttpWinTest, TheCloseBoxOnlyHidesAndTheUploadIsReportedNormally) {
  std::string picture = Picture(3 << 20);
  Control("_control/behaviour", {Text("read_bps", "1000000"), Text("answer", "1")});
  ASSERT_TRUE(StartUpload(picture));
  testing::PostClose(form_->hwnd());
  ASSERT_TRUE(WaitUntil([] { return !form_->IsVisible(); }, 2s));
  EXPECT_TRUE(ThrdInfo.Busy) << "hidden, but still uploading";
  ASSERT_TRUE(WaitUntil([] { return !ThrdInfo.Busy; }, 20s));
  EXPECT_TRUE(ThrdInfo.Success());
  EXPECT_EQ(ThrdInfo.ReplyText(), "1");
}

}  // namespace
}  // namespace tavisnap
