#include "capture/capture_send.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "capture/capture_send_fakes.h"
#include "capture/jpeg_codec.h"
#include "core/define.h"
#include "service/commands_fake_prompter.h"
#include "service/transfer_thread_info.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::ShownBox;

// Each item as "text name=value" or "file name=path".
std::vector<std::string> Items(const TTypFormDataArray& form) {
  std::vector<std::string> items;
  for (const TTypFormData& item : form) {
    items.push_back((item.Kind == kFormFile ? "file " : "text ") + item.Name + "=" + item.Value);
  }
  return items;
}

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
    ThrdInfo.SetResult(false, "");
    prompter.log = &log;
  }
  void TearDown() override {
    SysInfo = TTypSysInfo{};
    HotKeyReady = "OFF";
  }

  void AnswerSend(int detail = 0) {
    panel.answer = [detail](TTypSendParam& p) {
      p.PanelResult = kPanelSend;
      p.DetailSend = detail;
      p.MailTo = "to@example.jp";
      p.MailCc = "cc@example.jp;";
      p.MailBcc = "bcc@example.jp;";
      p.MailMessage = "\x1b$B$\"\x1b(B";
    };
  }
  // Sends mode 1 and lets the worker end with this result.
  void UploadEndsWith(bool success, const std::string& reply) {
    AnswerSend();
    flow.CaptureSend(kCaptureDesktop);
    ASSERT_TRUE(flow.Uploading());
    ThrdInfo.SetResult(success, reply);
    ThrdInfo.Busy = false;  // as the transfer window does when it closes
    log.clear();
  }
  bool FileExists() const { return fs::exists(U8Path(CaptureFile)); }
  bool DirExists() const { return fs::exists(U8Path(CaptureDir)); }

  testing::TempDir temp;
  testing::Log log;
  testing::FakeHost host{log};
  testing::FakeCapturer capturer{log};
  testing::FakePanel panel{log};
  testing::FakeUploader uploader{log};
  testing::FakePrompter prompter;
  TTypSendParam param;
  int debugLines = 0;
  CaptureSendFlow flow{host,     capturer, panel, uploader, prompter, param,
                       [this](std::string_view line) {
                         if (line == kMonitorDebugLine) ++debugLines;
                       }};
};

// ---- Ready: which requests are taken ----

TEST_F(CaptureSendTest, RequestsOutsideReadyOrOfNoModeAreDropped) {
  HotKeyReady = "OFF";  // before the first sign-in
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_FALSE(flow.SendViewerPicture([this](const std::string&) { log.push_back("write"); }));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(prompter.boxes.empty());

  HotKeyReady = "ON";
  flow.CaptureSend(0);
  flow.CaptureSend(4);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(HotKeyReady, "ON");
}

TEST_F(CaptureSendTest, EachModeTakesItsPictureAndOpensThePanelWithTheGateClosed) {
  const struct {
    int mode;
    std::vector<std::string> events;
  } cases[] = {
      {kCaptureDesktop, {"relogin", "capture desktop", "panel mode 1 gate OFF"}},
      {kCaptureActiveWindow, {"relogin", "capture window", "panel mode 2 gate OFF"}},
      {kCaptureViewer, {"relogin", "panel mode 3 gate OFF"}},
  };
  for (const auto& c : cases) {
    log.clear();
    flow.CaptureSend(c.mode);
    EXPECT_EQ(log, c.events) << c.mode;
    EXPECT_EQ(HotKeyReady, "ON") << "cancelled: Ready again";
  }
  EXPECT_TRUE(fs::is_directory(U8Path(CaptureDir))) << "the folder was made for the capture";
}

// ---- Preparing ----

TEST_F(CaptureSendTest, RefusedSignInEndsTheRequestBeforeAnyCapture) {
  host.signInWorks = false;
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(log, ElementsAre("relogin"));
  EXPECT_EQ(HotKeyReady, "ON");
}

TEST_F(CaptureSendTest, NoRecipientWarnsAndOpensTheRecipientPage) {
  SysInfo.DstMailAdr.clear();
  flow.CaptureSend(kCaptureActiveWindow);
  EXPECT_THAT(log, ElementsAre("relogin", "front", std::string("box:") + kNoRecipientWarning,
                               "recipient page"));
  EXPECT_EQ(prompter.boxes.at(0).kind, BoxKind::Warning);
  EXPECT_FALSE(FileExists());
  EXPECT_EQ(HotKeyReady, "ON");
}

// A failing step used to leave the gate closed for the rest of the run.
TEST_F(CaptureSendTest, AFailingStepIsReportedWithItsReasonAndReadyReturns) {
  const struct {
    const char* what;
    std::function<void()> arrange;
    std::string warning;
  } cases[] = {
      {"capture folder", [this] { CaptureDir = temp / "missing/capture"; },
       std::string(kCaptureSendFailed) + "（" + kCaptureDirCreateError + "）"},
      {"picture write", [this] { capturer.failure = kJpegWriteError; },
       std::string(kCaptureSendFailed) + "（" + kJpegWriteError + "）"},
  };
  for (const auto& c : cases) {
    SetUp();
    log.clear();
    prompter.boxes.clear();
    c.arrange();
    flow.CaptureSend(kCaptureDesktop);
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, c.warning}})) << c.what;
    EXPECT_EQ(log.back(), "box:" + c.warning) << c.what << ": no panel";
    EXPECT_EQ(HotKeyReady, "ON") << c.what;

    capturer.failure.clear();
    CaptureDir = AppDir + "capture";
    log.clear();
    flow.CaptureSend(kCaptureDesktop);
    EXPECT_EQ(log.back(), "panel mode 1 gate OFF") << c.what << ": the next hotkey works";
  }
}

// ---- Panel open ----

TEST_F(CaptureSendTest, AHotkeyWhileThePanelIsOpenIsDropped) {
  panel.answer = [this](TTypSendParam&) {
    flow.CaptureSend(kCaptureActiveWindow);
    EXPECT_FALSE(flow.SendViewerPicture([this](const std::string&) { log.push_back("write"); }));
  };
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(log, ElementsAre("relogin", "capture desktop", "panel mode 1 gate OFF"));
  EXPECT_EQ(testing::ReadBytes(CaptureFile), "desktop");
}

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
    SetUp();
    log.clear();
    SysInfo.CapFileDel = c.capFileDel;
    panel.answer = [&c](TTypSendParam& p) { p.PanelResult = c.result; };
    flow.CaptureSend(kCaptureDesktop);
    SCOPED_TRACE(::testing::Message() << "result " << c.result << " del " << c.capFileDel);
    EXPECT_EQ(log.back(), c.lastEvent);
    EXPECT_EQ(FileExists(), c.fileKept);
    EXPECT_EQ(DirExists(), c.fileKept) << "the folder goes with the file";
    EXPECT_EQ(HotKeyReady, c.gate);
    EXPECT_TRUE(prompter.boxes.empty());
  }
}

TEST_F(CaptureSendTest, CancelWhenTheFolderCannotBeRemovedWarnsAndReturnsToReady) {
  SysInfo.CapFileDel = true;
  EnsureCaptureDir();
  testing::WriteBytes(CaptureDir + kPathSeparator + "mine.txt", "the user's");
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kCaptureDirRemoveError}}));
  EXPECT_EQ(HotKeyReady, "ON");
}

// ---- Uploading ----

TEST_F(CaptureSendTest, SimpleFormInFieldOrderAndTheStartInOrder) {
  AnswerSend(0);
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_THAT(Items(uploader.form),
              ElementsAre("text txtEmailTo[0]=to@example.jp", "file fileCapUp[0]=" + CaptureFile,
                          "text SubmitCapUpComp=1"));
  EXPECT_THAT(log, ElementsAre("relogin", "capture desktop", "panel mode 1 gate OFF",
                               "hourglass", "transfer window", "timer on",
                               "run https://service.test/action.php"));
  EXPECT_TRUE(ThrdInfo.Busy);
  EXPECT_EQ(HotKeyReady, "OFF");
}

TEST_F(CaptureSendTest, DetailedFormInFieldOrder) {
  AnswerSend(1);
  flow.CaptureSend(kCaptureActiveWindow);
  EXPECT_THAT(Items(uploader.form),
              ElementsAre("text txtEmailTo[0]=to@example.jp", "text txtEmailCc[0]=cc@example.jp;",
                          "text txtEmailBcc[0]=bcc@example.jp;",
                          "text txtMessage=\x1b$B$\"\x1b(B", "file fileCapUp[0]=" + CaptureFile,
                          "text SubmitCapUpComp=1"));
}

TEST_F(CaptureSendTest, RequestsWhileUploadingAreDroppedAndTheFileIsNotRewritten) {
  AnswerSend();
  flow.CaptureSend(kCaptureActiveWindow);
  log.clear();
  flow.CaptureSend(kCaptureDesktop);
  EXPECT_FALSE(flow.SendViewerPicture([this](const std::string&) { log.push_back("write"); }));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(testing::ReadBytes(CaptureFile), "window");
}

// ---- The monitor ----

TEST_F(CaptureSendTest, TheMonitorWaitsWhileTheWorkerIsBusy) {
  AnswerSend();
  flow.CaptureSend(kCaptureDesktop);
  log.clear();
  flow.Timer_captureSendTimer();
  flow.Timer_captureSendTimer();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(debugLines, 2) << "the debug line on every tick";
  EXPECT_EQ(HotKeyReady, "OFF");
}

TEST_F(CaptureSendTest, TheMonitorsOutcomes) {
  const struct {
    bool success;
    const char* reply;
    std::vector<ShownBox> boxes;
    bool removedWithCapFileDel;
  } cases[] = {
      {true, "1", {{BoxKind::Information, "送信しました"}}, true},
      {true, "1x", {}, false},
      {false, "2", {{BoxKind::Warning, "通信エラー"}}, false},
      {false, "0", {{BoxKind::Warning, "通信エラー"}}, false},
      {false, "", {{BoxKind::Warning, "通信エラー"}}, false},  // no connection
      {false, "CANCEL", {{BoxKind::Information, "送信をキャンセルしました"}}, true},
  };
  for (bool capFileDel : {false, true}) {
    for (const auto& c : cases) {
      SetUp();
      SysInfo.CapFileDel = capFileDel;
      prompter.boxes.clear();
      UploadEndsWith(c.success, c.reply);
      flow.Timer_captureSendTimer();
      SCOPED_TRACE(::testing::Message() << "reply '" << c.reply << "' del " << capFileDel);
      EXPECT_EQ(prompter.boxes, c.boxes);
      EXPECT_EQ(log.at(0), "timer off");
      EXPECT_EQ(log.at(1), "arrow");
      EXPECT_EQ(FileExists(), !(capFileDel && c.removedWithCapFileDel));
      EXPECT_EQ(HotKeyReady, "ON");
      EXPECT_FALSE(flow.Uploading());
    }
  }
}

TEST_F(CaptureSendTest, SentButTheFolderCannotBeRemoved) {
  SysInfo.CapFileDel = true;
  UploadEndsWith(true, "1");
  testing::WriteBytes(CaptureDir + kPathSeparator + "mine.txt", "the user's");
  flow.Timer_captureSendTimer();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Information, "送信しました"},
                                                   {BoxKind::Warning, kCaptureDirRemoveError}}));
  EXPECT_EQ(HotKeyReady, "ON");
}

TEST_F(CaptureSendTest, ALeftOverTickReportsNothing) {
  flow.Timer_captureSendTimer();
  EXPECT_THAT(log, ElementsAre("timer off"));
  EXPECT_TRUE(prompter.boxes.empty());
}

// ---- The viewer's Send ----

TEST_F(CaptureSendTest, TheViewersPictureIsWrittenOnlyWhenTheRequestIsTaken) {
  EXPECT_TRUE(flow.SendViewerPicture([this](const std::string& file) {
    log.push_back("write gate " + HotKeyReady);
    testing::WriteBytes(file, "viewer");
  }));
  EXPECT_THAT(log, ElementsAre("write gate OFF", "relogin", "panel mode 3 gate OFF"));
  EXPECT_EQ(testing::ReadBytes(CaptureFile), "viewer");
}

TEST_F(CaptureSendTest, TheViewersPictureThatCannotBeWrittenIsReported) {
  EXPECT_FALSE(flow.SendViewerPicture(
      [](const std::string&) { throw AppError(kJpegWriteError); }));
  std::string warning = std::string(kCaptureSendFailed) + "（" + kJpegWriteError + "）";
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, warning}}));
  EXPECT_THAT(log, ElementsAre("front", std::string("box:") + prompter.boxes[0].text));
  EXPECT_EQ(HotKeyReady, "ON");
}

}  // namespace
}  // namespace tavisnap
