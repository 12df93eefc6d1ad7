#include "capture/capture_send.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <exception>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "capture/outbox.h"
#include "core/app_error.h"
#include "core/capture_folder.h"
#include "core/define.h"
#include "imaging/jpeg_codec.h"
#include "service/transfer_thread_info.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using ::testing::ElementsAre;
using testing::ShownBox;
using Log = std::vector<std::string>;

// The windows and the screen around the flow; all of them write into one log.
struct Fakes : CaptureSendHost, ScreenCapturer, SendPanel, Uploader {
  explicit Fakes(Log& l) : log(l) {}
  bool Relogin() override { return Note("relogin"), signInWorks; }
  void BringToFront() override { Note("front"); }
  void ShowRecipientSetup() override { Note("recipient page"); }
  void ShowViewer() override { Note("viewer"); }
  void SetHourglass(bool on) override { Note(on ? "hourglass" : "arrow"); }
  void SetMonitorTimer(bool on) override { Note(on ? "timer on" : "timer off"); }
  void OutboxChanged() override {
    Note("outbox changed");
    if (outboxChangedThrows) std::rethrow_exception(outboxChangedThrows);
  }
  void Prefill(const PanelPrefill& p) override {
    Note("prefill " + std::string(p.detailed ? "detailed " : "") + p.mailTo + " " + p.mailCc + " " +
         p.mailBcc + " " + p.message);
  }
  CapturedPicture CaptureDesktop(const std::string& file) override { return Take(file, "desktop"); }
  CapturedPicture CaptureActiveWindow(const std::string& file) override {
    return Take(file, "window");
  }
  void ShowModal(TTypSendParam& p) override {
    Note("panel mode " + std::to_string(p.CaptureMode) + " gate " + HotKeyReady +
         (p.CaptureTitle.empty() ? "" : " title " + p.CaptureTitle));
    shownWindow = p.CaptureWindow;
    p.PanelResult = kPanelCancel;
    if (answer) answer(p);
  }
  void ShowTransferWindow() override { Note("transfer window"); }
  bool RunTransfer(const std::string& url, const TTypFormDataArray& f) override {
    Note("run " + url);
    for (const TTypFormData& item : f) {
      form.push_back((item.Kind == kFormFile ? "file " : "text ") + item.Name + "=" + item.Value);
    }
    return workerStarts;
  }
  void CloseTransferWindow() override { Note("transfer window closed"); }
  void Note(const std::string& event) { log.push_back(event); }
  CapturedPicture Take(const std::string& file, const std::string& what) {
    Note("capture " + what);
    if (!failure.empty()) throw AppError(failure);
    testing::WriteBytes(file, what);
    return {picture, what == "window" ? title : "", nullptr, kFront};
  }
  // Half light, half dark: not blank.
  static Picture Screen() {
    Picture p(64, 48);
    p.FillRect(0, 0, 32, 48, Rgb{255, 255, 255});
    return p;
  }

  static inline const WindowHandle kFront = reinterpret_cast<WindowHandle>(0x5A5A);  // in front

  Log& log;
  WindowHandle shownWindow = nullptr;  // what the panel was last handed to read
  bool signInWorks = true;
  std::string failure;  // the capture throws this
  std::function<void(TTypSendParam&)> answer;
  std::vector<std::string> form;
  Picture picture = Screen();  // what the capture took
  std::string title;           // of the window in front
  bool workerStarts = true;
  std::exception_ptr outboxChangedThrows;
};

// A program installed in a fresh folder, signed in, with a recipient: Ready.
class CaptureSendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppDir = temp.str() + kPathSeparator;
    CaptureDir = AppDir + "capture";
    CaptureFile = CaptureDir + kPathSeparator + "capture.jpg";
    BaseUrl = "https://service.test/";
    SysInfo = TTypSysInfo{};
    SysInfo.DstMailAdr = "helper@example.jp";
    HotKeyReady = "ON";
    ThrdInfo.Busy = false;
    prompter.log = &log;
  }
  void TearDown() override {
    SysInfo = TTypSysInfo{};
    HotKeyReady = "OFF";
  }
  void AnswerSend(int detail) {
    fakes.answer = [detail](TTypSendParam& p) {
      p = {p.CaptureMode,     detail,
           "to@example.jp",   "cc@example.jp;",
           "bcc@example.jp;", "\x1b$B$\"\x1b(B",
           kPanelSend,        "",
           p.CaptureWindow};
    };
  }
  void UploadEndsWith(bool success, const std::string& reply, int detail = 0) {
    AnswerSend(detail);
    flow.CaptureSend(kCaptureDesktop);
    flow.Timer_captureSendTimer();  // still busy: only the debug line
    ThrdInfo.SetResult(success, reply);
    ThrdInfo.Busy = false;  // as the transfer window does when it closes
    log.clear();
  }
  void Restart() {
    TearDown();
    SetUp();
    log.clear();
    prompter.boxes.clear();
    fakes.failure.clear();
    fakes.signInWorks = true;
    fakes.answer = {};
    fakes.form.clear();
    fakes.picture = Fakes::Screen();
    fakes.workerStarts = true;
    fakes.outboxChangedThrows = nullptr;
  }
  bool FileExists() const { return std::filesystem::exists(U8Path(CaptureFile)); }
  void PutUsersFileIntoTheFolder() {
    EnsureCaptureDir();
    testing::WriteBytes(CaptureDir + kPathSeparator + "mine.txt", "the user's");
  }
  bool Dropped(int mode) {
    size_t before = log.size();
    flow.CaptureSend(mode);
    return log.size() == before;
  }

  testing::TempDir temp;
  Log log;
  Fakes fakes{log};
  testing::FakePrompter prompter;
  TTypSendParam param;
  int debugLines = 0;
  CaptureSendFlow flow{fakes, fakes, fakes, fakes, prompter, param, [this](std::string_view line) {
                         debugLines += line == kMonitorDebugLine;
                       }};
};

// ---- Ready, and requests outside it ----

TEST_F(CaptureSendTest, RequestsOutsideReadyAreDropped) {
  HotKeyReady = "OFF";  // before the first sign-in
  EXPECT_TRUE(Dropped(kCaptureDesktop));
  HotKeyReady = "ON";
  EXPECT_TRUE(Dropped(0)) << "no such mode";

  fakes.answer = [this](TTypSendParam&) { EXPECT_TRUE(Dropped(kCaptureActiveWindow)); };
  flow.CaptureSend(kCaptureDesktop);  // the panel is open when the hotkey comes

  AnswerSend(0);
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_TRUE(Dropped(kCaptureActiveWindow)) << "uploading";
  EXPECT_EQ(testing::ReadBytes(CaptureFile), "desktop") << "not rewritten under the upload";
  EXPECT_TRUE(prompter.boxes.empty());
}

// The panel gets the window in front to read, except for the viewer's picture.
TEST_F(CaptureSendTest, EachModeTakesItsPictureAndOpensThePanelWithTheGateClosed) {
  const struct {
    int mode;
    Log events;
    WindowHandle window;
  } cases[] = {
      {kCaptureDesktop, {"relogin", "capture desktop", "panel mode 1 gate OFF"}, Fakes::kFront},
      {kCaptureActiveWindow, {"relogin", "capture window", "panel mode 2 gate OFF"}, Fakes::kFront},
      {kCaptureViewer, {"relogin", "panel mode 3 gate OFF"}, nullptr},
  };
  for (const auto& c : cases) {
    log.clear();
    flow.CaptureSend(c.mode);
    EXPECT_EQ(log, c.events) << c.mode;
    EXPECT_EQ(fakes.shownWindow, c.window) << c.mode;
    EXPECT_EQ(HotKeyReady, "ON") << "cancelled: Ready again";
  }
}

// ---- Preparing ----

TEST_F(CaptureSendTest, RefusedSignInOrNoRecipientEndsBeforeAnyCapture) {
  fakes.signInWorks = false;
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(log, ElementsAre("relogin"));
  EXPECT_EQ(HotKeyReady, "ON");

  Restart();
  SysInfo.DstMailAdr.clear();
  flow.CaptureSend(kCaptureActiveWindow);
  EXPECT_THAT(log, ElementsAre("relogin", "front", std::string("box ") + kNoRecipientWarning,
                               "recipient page"));
  EXPECT_EQ(prompter.boxes.at(0).kind, BoxKind::Warning);
  EXPECT_FALSE(FileExists());
  EXPECT_EQ(HotKeyReady, "ON");
}

// A failing step used to leave the gate closed for the rest of the run.
TEST_F(CaptureSendTest, AFailingStepIsReportedWithItsReasonAndReadyReturns) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {kCaptureDirCreateError,
       [this] {
         testing::WriteBytes(temp / "file", "in the way");
         CaptureDir = temp / "file/capture";
         flow.CaptureSend(kCaptureDesktop);
       }},
      {kJpegWriteError,
       [this] {
         fakes.failure = kJpegWriteError;
         flow.CaptureSend(kCaptureDesktop);
       }},
  };
  for (const auto& [reason, fail] : cases) {
    Restart();
    fail();
    std::string warning = std::string(kCaptureSendFailed) + "（" + reason + "）";
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, warning}})) << reason;
    EXPECT_EQ(log.at(log.size() - 2), "front") << reason;

    Restart();
    flow.CaptureSend(kCaptureDesktop);
    EXPECT_EQ(log.back(), "panel mode 1 gate OFF") << reason << ": the next hotkey works";
  }
}

// A black capture is announced before the panel; Cancel ends the request as the
// panel's Cancel does, OK goes on to the panel. The viewer's picture is not looked at.
TEST_F(CaptureSendTest, ABlankCaptureAsksBeforeThePanel) {
  const struct {
    int mode;
    bool blank;
    bool goOn;
    Log events;
  } cases[] = {
      {kCaptureDesktop,
       true,
       false,
       {"relogin", "capture desktop", "front", std::string("box ") + kBlankPictureQuestion}},
      {kCaptureActiveWindow,
       true,
       true,
       {"relogin", "capture window", "front", std::string("box ") + kBlankPictureQuestion,
        "panel mode 2 gate OFF title 無題 - メモ帳"}},
      {kCaptureActiveWindow,
       false,
       false,
       {"relogin", "capture window", "panel mode 2 gate OFF title 無題 - メモ帳"}},
      {kCaptureViewer, true, false, {"relogin", "panel mode 3 gate OFF"}},
  };
  for (const auto& c : cases) {
    Restart();
    SysInfo.CapFileDel = true;
    fakes.title = "無題 - メモ帳";
    if (c.blank) fakes.picture = Picture(1920, 1080);
    EnsureCaptureDir();
    if (c.mode == kCaptureViewer) testing::WriteBytes(CaptureFile, "viewer");
    prompter.answers = {c.goOn};
    fakes.answer = [this](TTypSendParam&) { EXPECT_EQ(HotKeyReady, "OFF"); };
    flow.CaptureSend(c.mode);
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " blank " << c.blank);
    EXPECT_EQ(log, c.events);
    if (c.blank && c.mode != kCaptureViewer) {
      EXPECT_EQ(prompter.boxes.at(0).kind, BoxKind::Confirmation);
    }
    EXPECT_FALSE(FileExists()) << "cancelled with CapFileDel on: the usual clean-up";
    EXPECT_EQ(HotKeyReady, "ON");
  }
}

// ---- Panel open ----

TEST_F(CaptureSendTest, EveryPanelResult) {
  const struct {
    int result;
    bool capFileDel;
    std::string lastEvent;
    bool fileKept;
    const char* gate;
  } cases[] = {
      {kPanelCancel, false, "panel mode 1 gate OFF", true, "ON"},
      {kPanelCancel, true, "panel mode 1 gate OFF", false, "ON"},
      {kPanelViewer, true, "viewer", true, "ON"},
      {kPanelSend, true, "run https://service.test/action.php", true, "OFF"},
  };
  for (const auto& c : cases) {
    Restart();
    SysInfo.CapFileDel = c.capFileDel;
    fakes.answer = [&c](TTypSendParam& p) { p.PanelResult = c.result; };
    flow.CaptureSend(kCaptureDesktop);
    SCOPED_TRACE(::testing::Message() << "result " << c.result << " del " << c.capFileDel);
    EXPECT_EQ(log.back(), c.lastEvent);
    EXPECT_EQ(FileExists(), c.fileKept);
    EXPECT_EQ(std::filesystem::exists(U8Path(CaptureDir)), c.fileKept) << "folder and file";
    EXPECT_EQ(HotKeyReady, c.gate);
  }
}

// ---- Uploading ----

TEST_F(CaptureSendTest, TheUploadFormOfEachPageInFieldOrder) {
  AnswerSend(0);
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(fakes.form,
              ElementsAre("text txtEmailTo[0]=to@example.jp", "file fileCapUp[0]=" + CaptureFile,
                          "text SubmitCapUpComp=1"));
  EXPECT_THAT(log,
              ElementsAre("relogin", "capture desktop", "panel mode 1 gate OFF", "hourglass",
                          "transfer window", "timer on", "run https://service.test/action.php"));
  EXPECT_TRUE(ThrdInfo.Busy) << "set before the worker starts";

  Restart();
  AnswerSend(1);
  flow.CaptureSend(kCaptureActiveWindow);
  EXPECT_THAT(fakes.form,
              ElementsAre("text txtEmailTo[0]=to@example.jp", "text txtEmailCc[0]=cc@example.jp;",
                          "text txtEmailBcc[0]=bcc@example.jp;", "text txtMessage=\x1b$B$\"\x1b(B",
                          "file fileCapUp[0]=" + CaptureFile, "text SubmitCapUpComp=1"));
}

// A worker that could not start used to leave the transfer window waiting for nothing,
// and its Cancel then reported a cancel and dropped the picture.
TEST_F(CaptureSendTest, AnUploadWhoseWorkerCannotStartIsACommunicationError) {
  Outbox outbox(temp / "outbox");
  flow.SetOutbox(&outbox);
  SysInfo.CapFileDel = true;
  fakes.workerStarts = false;
  AnswerSend(0);
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(log, ElementsAre("relogin", "capture desktop", "panel mode 1 gate OFF", "hourglass",
                               "transfer window", "timer on", "run https://service.test/action.php",
                               "timer off", "transfer window closed", "arrow",
                               std::string("box 通信エラー\n") + kKeptForResend, "outbox changed"));
  EXPECT_EQ(prompter.boxes.at(0).kind, BoxKind::Warning);
  EXPECT_FALSE(ThrdInfo.Busy);
  EXPECT_TRUE(outbox.HasEntries());
  EXPECT_TRUE(FileExists()) << "kept, CapFileDel or not";
  EXPECT_EQ(HotKeyReady, "ON");
  flow.Timer_captureSendTimer();
  EXPECT_EQ(prompter.boxes.size(), 1u) << "a tick already queued reports nothing more";
}

// ---- The monitor ----

TEST_F(CaptureSendTest, TheMonitorsOutcomes) {
  const struct {
    bool success;
    const char* reply;
    std::vector<ShownBox> boxes;
    bool removedWithCapFileDel;
  } cases[] = {
      {true, "1", {{BoxKind::Information, "送信しました\n送信先：to@example.jp"}}, true},
      {true, "1x", {}, false},
      {false, "2", {{BoxKind::Warning, "通信エラー"}}, false},
      {false, "0", {{BoxKind::Warning, "通信エラー"}}, false},
      {false, "", {{BoxKind::Warning, "通信エラー"}}, false},  // no connection
      {false, "CANCEL", {{BoxKind::Information, "送信をキャンセルしました"}}, true},
  };
  for (bool capFileDel : {false, true}) {
    for (const auto& c : cases) {
      Restart();
      SysInfo.CapFileDel = capFileDel;
      debugLines = 0;
      UploadEndsWith(c.success, c.reply);
      EXPECT_EQ(HotKeyReady, "OFF") << "busy";
      flow.Timer_captureSendTimer();
      SCOPED_TRACE(::testing::Message() << "reply '" << c.reply << "' del " << capFileDel);
      EXPECT_EQ(prompter.boxes, c.boxes);
      EXPECT_EQ(Log(log.begin(), log.begin() + 2), (Log{"timer off", "arrow"}));
      EXPECT_EQ(FileExists(), !(capFileDel && c.removedWithCapFileDel));
      EXPECT_EQ(HotKeyReady, "ON");
      EXPECT_EQ(debugLines, 2) << "one debug line a tick";
    }
  }
}

TEST_F(CaptureSendTest, TheSentMessageNamesEveryRecipientOfADetailedSend) {
  UploadEndsWith(true, "1", 1);
  flow.Timer_captureSendTimer();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Information,
                                    "送信しました\n送信先：to@example.jp\nCC：cc@example.jp;\n"
                                    "BCC：bcc@example.jp;"}}));
}

// Only AppError used to be caught here: anything else left the gate closed for the rest
// of the run.
TEST_F(CaptureSendTest, WhateverTheMonitorMeetsTheResultIsToldAndReadyReturns) {
  const std::exception_ptr failures[] = {std::make_exception_ptr(std::bad_alloc()),
                                         std::make_exception_ptr(std::filesystem::filesystem_error(
                                             "outbox", std::make_error_code(std::errc::io_error)))};
  for (const std::exception_ptr& failure : failures) {
    Restart();
    Outbox outbox(temp / "outbox");
    flow.SetOutbox(&outbox);
    fakes.outboxChangedThrows = failure;
    UploadEndsWith(false, "");
    flow.Timer_captureSendTimer();
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{
                                  {BoxKind::Warning, std::string("通信エラー\n") + kKeptForResend},
                                  {BoxKind::Warning, kCaptureSendFailed}}));
    EXPECT_EQ(log.at(1), "arrow");
    EXPECT_EQ(HotKeyReady, "ON");
  }
}

TEST_F(CaptureSendTest, AFolderThatCannotBeRemovedIsToldAfterTheResult) {
  SysInfo.CapFileDel = true;
  UploadEndsWith(true, "1");
  PutUsersFileIntoTheFolder();
  flow.Timer_captureSendTimer();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Information, "送信しました\n送信先：to@example.jp"},
                                   {BoxKind::Warning, kCaptureDirRemoveError}}));
  EXPECT_EQ(HotKeyReady, "ON");

  Restart();
  SysInfo.CapFileDel = true;
  PutUsersFileIntoTheFolder();
  flow.CaptureSend(kCaptureDesktop);  // cancelled
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kCaptureDirRemoveError}}));
  EXPECT_EQ(HotKeyReady, "ON");
}

// ---- The outbox ----

TEST_F(CaptureSendTest, OnlyACommunicationErrorKeepsThePicture) {
  const struct {
    bool success;
    const char* reply;
    bool kept;
  } cases[] = {
      {false, "2", true},  {false, "", true},        {true, "1", false},
      {true, "1x", false}, {false, "CANCEL", false},
  };
  for (const auto& c : cases) {
    Restart();
    Outbox outbox(temp / "outbox");
    flow.SetOutbox(&outbox);
    UploadEndsWith(c.success, c.reply, 1);
    flow.Timer_captureSendTimer();
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(outbox.HasEntries(), c.kept);
    EXPECT_EQ(log.back() == "outbox changed", c.kept);
    if (!c.kept) continue;
    EXPECT_EQ(prompter.boxes.at(0).text, std::string("通信エラー\n") + kKeptForResend);
    OutboxEntry entry = *outbox.Oldest();
    EXPECT_EQ(entry, (OutboxEntry{"000001", kCaptureDesktop, "", 1, "to@example.jp",
                                  "cc@example.jp;", "bcc@example.jp;", "\x1b$B$\"\x1b(B"}));
    flow.CaptureSend(kCaptureActiveWindow);  // the next capture rewrites the capture file
    EXPECT_EQ(testing::ReadBytes(outbox.PictureOf(entry)), "desktop");
    outbox.Remove(entry.id);
  }
}

// The kept picture goes through the panel as a capture does, with its addresses; it
// leaves the outbox only when the service has taken it.
TEST_F(CaptureSendTest, AResendFillsThePanelInAndIsRemovedOnlyWhenItGoesThrough) {
  Outbox outbox(temp / "outbox");
  flow.SetOutbox(&outbox);
  flow.ResendOldest();
  EXPECT_TRUE(log.empty()) << "nothing kept: dropped";

  UploadEndsWith(false, "", 1);
  flow.Timer_captureSendTimer();
  testing::WriteBytes(CaptureFile, "a later capture");
  for (const auto& [success, reply] : {std::pair{false, ""}, std::pair{true, "1"}}) {
    log.clear();
    prompter.boxes.clear();
    AnswerSend(1);
    flow.ResendOldest();
    EXPECT_THAT(log, ElementsAre("relogin",
                                 "prefill detailed to@example.jp cc@example.jp; bcc@example.jp; あ",
                                 "panel mode 1 gate OFF", "hourglass", "transfer window",
                                 "timer on", "run https://service.test/action.php"));
    EXPECT_EQ(testing::ReadBytes(CaptureFile), "desktop") << "the kept picture is sent";
    EXPECT_EQ(fakes.shownWindow, nullptr) << "no window to read";
    ThrdInfo.SetResult(success, reply);
    ThrdInfo.Busy = false;
    flow.Timer_captureSendTimer();
    EXPECT_EQ(outbox.Entries().size(), success ? 0u : 1u) << "failed again: kept once";
    EXPECT_EQ(HotKeyReady, "ON");
  }
  EXPECT_EQ(prompter.boxes.back().text,
            "送信しました\n送信先：to@example.jp\nCC：cc@example.jp;\nBCC：bcc@example.jp;");
}

// The viewer's Send used to forget that its picture was a kept one: the entry stayed
// after the picture went, and a second failure kept it twice. A picture the viewer
// opened from a file meanwhile is a new one.
TEST_F(CaptureSendTest, AResendThroughTheViewerKeepsItsOutboxEntry) {
  const struct {
    bool handedOver;
    bool success;
    size_t entries;
  } cases[] = {{true, false, 1}, {true, true, 0}, {false, false, 2}, {false, true, 1}};
  int folder = 0;
  for (const auto& c : cases) {
    Restart();
    Outbox outbox(temp / ("outbox" + std::to_string(++folder)));
    flow.SetOutbox(&outbox);
    UploadEndsWith(false, "", 1);
    flow.Timer_captureSendTimer();
    fakes.answer = [](TTypSendParam& p) { p.PanelResult = kPanelViewer; };
    flow.ResendOldest();
    ASSERT_EQ(log.back(), "viewer");
    AnswerSend(0);
    flow.CaptureSendFromViewer(c.handedOver);
    ThrdInfo.SetResult(c.success, c.success ? "1" : "");
    ThrdInfo.Busy = false;
    flow.Timer_captureSendTimer();
    SCOPED_TRACE(::testing::Message() << "handed over " << c.handedOver << " sent " << c.success);
    EXPECT_EQ(outbox.Entries().size(), c.entries);
    EXPECT_EQ(HotKeyReady, "ON");
  }
}

TEST_F(CaptureSendTest, AResendCancelledInThePanelStaysKept) {
  Outbox outbox(temp / "outbox");
  flow.SetOutbox(&outbox);
  UploadEndsWith(false, "2");
  flow.Timer_captureSendTimer();
  log.clear();
  fakes.answer = {};  // Cancel
  flow.ResendOldest();
  EXPECT_THAT(log,
              ElementsAre("relogin", "prefill detailed to@example.jp   ", "panel mode 1 gate OFF"))
      << "a simple send kept its To alone; another recipient is current now";
  EXPECT_TRUE(outbox.HasEntries());
  EXPECT_EQ(HotKeyReady, "ON");
}

}  // namespace
}  // namespace tavisnap
