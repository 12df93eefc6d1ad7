#include "capture/capture_send.h"

#include <exception>
#include <optional>
#include <utility>

#include "capture/blank_picture.h"
#include "capture/capture.h"
#include "core/app_error.h"
#include "core/capture_folder.h"
#include "core/debug_log.h"
#include "core/define.h"
#include "core/file_util.h"
#include "imaging/jpeg_codec.h"
#include "service/commands.h"
#include "service/transfer_thread_info.h"

namespace tavisnap {
namespace {

void OpenGate() {
  HotKeyReady = "ON";
}

bool IsCaptureMode(int mode) {
  return mode >= kCaptureDesktop && mode <= kCaptureViewer;
}

// AppError carries the reason in the user's words; anything else has none to give.
std::string FailureText(const std::exception& error) {
  if (dynamic_cast<const AppError*>(&error) == nullptr) return kCaptureSendFailed;
  return std::string(kCaptureSendFailed) + "（" + error.what() + "）";
}

// The To line, and Cc and Bcc when there are any, so that the user hears where it went.
std::string Recipients(const TTypSendParam& param) {
  std::string text = kSentToPrefix + param.MailTo;
  if (param.DetailSend == 1 && !param.MailCc.empty()) text += "\nCC：" + param.MailCc;
  if (param.DetailSend == 1 && !param.MailBcc.empty()) text += "\nBCC：" + param.MailBcc;
  return text;
}

// What the user is told as "通信エラー": the upload went nowhere, or the service did
// not take it.
bool CommunicationError(Outcome outcome) {
  return outcome != Outcome::Code1 && outcome != Outcome::AcceptedLonger &&
         outcome != Outcome::Cancelled;
}

// The reason a clean-up step failed, in the user's words: AppError's own, else
// `fallback`; nothing when it did not fail.
template <typename Step>
std::optional<std::string> FailureOf(Step&& step, const char* fallback) {
  try {
    step();
    return std::nullopt;
  } catch (const AppError& error) {
    return error.what();
  } catch (...) {
    return fallback;
  }
}

TTypFormDataArray UploadForm(const TTypSendParam& param) {
  if (param.DetailSend == 1) {
    return CapUpCompDetailForm(param.MailTo, param.MailCc, param.MailBcc, param.MailMessage,
                               CaptureFile);
  }
  return CapUpCompForm(param.MailTo, CaptureFile);
}

}  // namespace

CaptureSendFlow::CaptureSendFlow(CaptureSendHost& host, ScreenCapturer& capturer, SendPanel& panel,
                                 Uploader& uploader, Prompter& prompter, TTypSendParam& param,
                                 DebugSink debug)
    : host_(host),
      capturer_(capturer),
      panel_(panel),
      uploader_(uploader),
      prompter_(prompter),
      param_(param),
      debug_(debug ? std::move(debug) : DebugSink(DebugLog)) {}

// Runs a stretch of a request; what it throws is told to the user. True when it ran to
// its end.
template <typename Step>
bool CaptureSendFlow::Contain(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    ReportFailure(&error);
  } catch (...) {
    ReportFailure(nullptr);
  }
  return false;
}

void CaptureSendFlow::ReportFailure(const std::exception* error) noexcept {
  try {
    host_.BringToFront();
    prompter_.Warning(error ? FailureText(*error) : std::string(kCaptureSendFailed));
  } catch (...) {  // not even a box can be shown: the gate opens all the same
  }
}

bool CaptureSendFlow::Accept(int mode) {
  if (!IsCaptureMode(mode) || HotKeyReady != "ON") return false;
  HotKeyReady = "OFF";
  return true;
}

void CaptureSendFlow::CaptureSend(int mode) {
  if (Accept(mode)) Run(mode);
}

void CaptureSendFlow::CaptureSendFromViewer(bool handedOver) {
  static const std::string kNoResend;
  if (Accept(kCaptureViewer)) Run(kCaptureViewer, handedOver ? viewerResendId_ : kNoResend);
}

// Every way out of the steps but a started upload opens the gate again; a step that
// throws is told to the user, who would otherwise find every later hotkey dead.
void CaptureSendFlow::Run(int mode, const std::string& resendId) {
  if (!Contain([&] {
        resendId_ = resendId;
        Steps(mode);
      })) {
    OpenGate();
  }
}

void CaptureSendFlow::ResendOldest() {
  std::optional<OutboxEntry> entry = outbox_ ? outbox_->Oldest() : std::nullopt;
  if (!entry || !Accept(kCaptureDesktop)) return;
  if (!Contain([&] { Resend(*entry); })) OpenGate();
}

// The kept picture becomes the capture file, so that the panel, the viewer and the
// upload see it as any capture.
void CaptureSendFlow::Resend(const OutboxEntry& entry) {
  if (!host_.Relogin()) return OpenGate();
  EnsureCaptureDir();
  std::optional<std::string> picture = ReadWholeFile(outbox_->PictureOf(entry));
  if (!picture || !AtomicWriteFile(CaptureFile, *picture)) throw AppError(kJpegWriteError);
  param_.CaptureMode = IsCaptureMode(entry.captureMode) ? entry.captureMode : kCaptureDesktop;
  param_.CaptureTitle = entry.captureTitle;
  param_.CaptureWindow = nullptr;  // that window is long gone or another one
  param_.CaptureFocus = nullptr;
  // A simple send went to the recipient of that time; another one now needs the
  // detailed page to keep the address.
  bool detailed = entry.detailSend == 1 || entry.mailTo != SysInfo.DstMailAdr;
  panel_.Prefill(PanelPrefill{detailed, entry.mailTo, entry.mailCc, entry.mailBcc,
                              Iso2022JpToUtf8(entry.mailMessage)});
  resendId_ = entry.id;
  ShowPanelAndAct();
}

void CaptureSendFlow::Steps(int mode) {
  if (!host_.Relogin()) return OpenGate();
  if (SysInfo.DstMailAdr.empty()) {
    host_.BringToFront();
    prompter_.Warning(kNoRecipientWarning);
    host_.ShowRecipientSetup();
    return OpenGate();
  }
  EnsureCaptureDir();
  if (!TakePicture(mode)) return EndCancelled();
  param_.CaptureMode = mode;
  ShowPanelAndAct();
}

void CaptureSendFlow::ShowPanelAndAct() {
  panel_.ShowModal(param_);
  switch (param_.PanelResult) {
    case kPanelSend:
      return StartUpload();
    case kPanelViewer:
      viewerResendId_ = resendId_;  // the viewer's Send may take the kept picture on
      OpenGate();
      return host_.ShowViewer();
    default:  // Cancel, however the panel was closed
      return EndCancelled();
  }
}

// False when the picture is blank and the user chose not to go on. The viewer's picture
// (mode 3) is not looked at: the user has had it in the viewer.
bool CaptureSendFlow::TakePicture(int mode) {
  param_.CaptureTitle.clear();
  param_.CaptureWindow = param_.CaptureFocus = nullptr;
  if (mode == kCaptureViewer) return true;
  CapturedPicture shot = mode == kCaptureDesktop ? capturer_.CaptureDesktop(CaptureFile)
                                                 : capturer_.CaptureActiveWindow(CaptureFile);
  param_.CaptureTitle = std::move(shot.windowTitle);
  param_.CaptureWindow = shot.front;
  param_.CaptureFocus = shot.focus;
  if (!CheckBlankPicture(shot.picture).blank) return true;
  host_.BringToFront();
  return prompter_.Confirm(kBlankPictureQuestion);
}

// The gate opens after the clean-up, so that no request starts while its warning is on
// show.
void CaptureSendFlow::EndCancelled() {
  if (SysInfo.CapFileDel) DeleteCaptureFileReporting();
  OpenGate();
}

// The gate stays closed: the worker reads the capture file until the monitor has seen
// the upload end.
void CaptureSendFlow::StartUpload() {
  TTypFormDataArray form = UploadForm(param_);
  std::string url = ActionUrl();
  sentTo_ = Recipients(param_);
  sent_ = param_;
  if (sent_.DetailSend != 1) {  // the simple page sends the To address alone
    sent_.MailCc.clear();
    sent_.MailBcc.clear();
    sent_.MailMessage.clear();
  }
  try {
    host_.SetHourglass(true);
    uploader_.ShowTransferWindow();
    ThrdInfo.Busy.store(true, std::memory_order_release);
    uploading_ = true;
    host_.SetMonitorTimer(true);
    if (uploader_.RunTransfer(url, form)) return;
  } catch (...) {
    UndoUploadStart();
    host_.SetHourglass(false);
    throw;
  }
  // A worker that cannot start is a failed upload like any other: nothing is left
  // waiting for it, the picture is kept and the user is told.
  Contain([&] { UndoUploadStart(); });
  Contain([&] { ReportUpload(false, ""); });
  OpenGate();
}

void CaptureSendFlow::UndoUploadStart() {
  uploading_ = false;
  ThrdInfo.Busy.store(false, std::memory_order_release);
  host_.SetMonitorTimer(false);
  uploader_.CloseTransferWindow();
}

void CaptureSendFlow::Timer_captureSendTimer() {
  debug_(kMonitorDebugLine);
  if (ThrdInfo.Busy.load(std::memory_order_acquire)) return;
  host_.SetMonitorTimer(false);
  if (!uploading_) return;  // a tick that was already queued: nothing to report
  uploading_ = false;
  // Whatever fails on the way, the user hears how it ended and the hotkeys work again.
  Contain([&] { ReportUpload(ThrdInfo.Success(), ThrdInfo.ReplyText()); });
  OpenGate();
}

void CaptureSendFlow::ReportUpload(bool success, const std::string& replyText) {
  host_.SetHourglass(false);
  Evaluation result = EvaluateUpload(success, replyText);
  // The file is kept after a communication error, so that nothing is lost.
  bool done = result.outcome == Outcome::Code1 || result.outcome == Outcome::Cancelled;
  std::optional<std::string> cleanupError;
  if (done && SysInfo.CapFileDel) {
    cleanupError = FailureOf([] { DeleteCaptureFile(); }, kCaptureDirRemoveError);
  }
  OutboxChange outbox;
  std::optional<std::string> outboxError =
      FailureOf([&] { outbox = KeepOrForget(result.outcome); }, kOutboxWriteError);
  // The result first: the picture has been sent (or not) whatever the clean-up did.
  const std::string text(result.reaction.text);
  if (result.outcome == Outcome::Code1 && result.reaction.shown) {
    prompter_.Show(result.reaction.kind, text + "\n" + sentTo_);
  } else if (outbox.kept && CommunicationError(result.outcome) && result.reaction.shown) {
    prompter_.Show(result.reaction.kind, text + "\n" + kKeptForResend);
  } else {
    ShowReaction(result.reaction, prompter_);
  }
  if (cleanupError) prompter_.Warning(*cleanupError);
  if (outboxError) prompter_.Warning(*outboxError);
  if (outbox.changed) host_.OutboxChanged();
}

// A communication error keeps a new picture (a resent one is kept already); an upload
// the service took removes a resent one. A cancel is the user's choice: nothing is kept.
CaptureSendFlow::OutboxChange CaptureSendFlow::KeepOrForget(Outcome outcome) {
  if (!outbox_) return {};
  const bool resent = !resendId_.empty();
  if (resent && (outcome == Outcome::Code1 || outcome == Outcome::AcceptedLonger)) {
    outbox_->Remove(resendId_);
    if (viewerResendId_ == resendId_) viewerResendId_.clear();
    return {false, true};
  }
  if (!resent && CommunicationError(outcome)) {
    outbox_->Add(CaptureFile, sent_);
    return {true, true};
  }
  return {resent, false};
}

void CaptureSendFlow::DeleteCaptureFileReporting() {
  try {
    DeleteCaptureFile();
  } catch (const AppError& error) {
    prompter_.Warning(error.what());
  }
}

}  // namespace tavisnap
