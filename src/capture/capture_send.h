// CaptureSend: from a capture request (hotkey, Send menu entry, the viewer's Send) to the
// start of the upload, and the monitor that reports the upload's result. Runs on the
// user-interface thread.
//
// HotKeyReady is the gate: a request is accepted only while it is "ON", and from then
// on it stays "OFF" until the request has ended (sign-in refused, no recipient, panel
// cancelled or left for the viewer, upload reported, or a step failed). While it is
// "OFF" nothing may write the capture file, because the upload may be reading it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "capture/capture_send_ports.h"
#include "capture/outbox.h"
#include "capture/send_param.h"
#include "core/prompter.h"
#include "service/commands.h"

namespace tavisnap {

inline constexpr const char* kNoRecipientWarning = "宛先メールアドレスが指定されておりません";
inline constexpr const char* kMonitorDebugLine = "キャプチャー画像送信監視タイマー";
// A step that failed; the reason follows in full-width parentheses.
inline constexpr const char* kCaptureSendFailed = "画像を送信できませんでした";
// Asked before the panel opens when the capture is one colour (OK goes on).
inline constexpr const char* kBlankPictureQuestion =
    "取り込んだ画像は全体が一色で、何も写っていないようです。\n"
    "スクリーンリーダーのスクリーンカーテン、内容を保護しているウィンドウ、"
    "ロックされた画面は、画像が黒く写ります。\n"
    "このまま送信パネルに進みますか？";
// The second line of "送信しました": where the picture went.
inline constexpr const char* kSentToPrefix = "送信先：";
// The second line of "通信エラー" when the picture is in the outbox.
inline constexpr const char* kKeptForResend =
    "画像は保存しました。「未送信の画像を再送信」で送り直せます。";

using DebugSink = std::function<void(std::string_view)>;

class CaptureSendFlow {
 public:
  CaptureSendFlow(CaptureSendHost& host, ScreenCapturer& capturer, SendPanel& panel,
                  Uploader& uploader, Prompter& prompter, TTypSendParam& param = SendParam,
                  DebugSink debug = {});

  // WM_HOTKEY (the identifier is the mode), the Send menu entries (mode 1), and mode 3
  // for a picture the viewer has already written. A request outside Ready, or of
  // another mode, is dropped silently.
  void CaptureSend(int mode);

  // The viewer's Send of the picture it has written into the capture file (mode 3).
  // handedOver: the viewer still shows the picture the panel last handed it (edited or
  // not), so that a kept picture sent on through the viewer keeps its outbox entry.
  void CaptureSendFromViewer(bool handedOver);

  // Timer_captureSend's tick while an upload runs: waits for ThrdInfo.Busy to clear,
  // then reports the result and returns to Ready.
  void Timer_captureSendTimer();

  bool Uploading() const { return uploading_; }

  // Where an upload that ends in a communication error leaves its picture; none keeps
  // nothing.
  void SetOutbox(Outbox* outbox) { outbox_ = outbox; }
  // The oldest kept picture through the panel again, with its addresses filled in; a
  // successful upload removes it. Dropped outside Ready and with nothing kept.
  void ResendOldest();

 private:
  bool Accept(int mode);
  void Run(int mode, const std::string& resendId = {});
  void Steps(int mode);
  void Resend(const OutboxEntry& entry);
  void ShowPanelAndAct();
  struct OutboxChange {
    bool kept = false;     // the picture is in the outbox
    bool changed = false;  // an entry came or went
  };
  OutboxChange KeepOrForget(Outcome outcome);
  bool TakePicture(int mode);
  void EndCancelled();
  void StartUpload();
  void UndoUploadStart();
  void ReportUpload(bool success, const std::string& replyText);
  void DeleteCaptureFileReporting();
  template <typename Step>
  bool Contain(Step&& step) noexcept;
  void ReportFailure(const std::exception* error) noexcept;

  CaptureSendHost& host_;
  ScreenCapturer& capturer_;
  SendPanel& panel_;
  Uploader& uploader_;
  Prompter& prompter_;
  TTypSendParam& param_;
  DebugSink debug_;
  bool uploading_ = false;
  std::string sentTo_;  // the upload's recipients, for its result message
  Outbox* outbox_ = nullptr;
  std::string resendId_;        // the kept picture this request sends again
  std::string viewerResendId_;  // the kept picture last handed to the viewer
  TTypSendParam sent_;          // what the running upload sends
};

}  // namespace tavisnap
