// What the capture-send flow needs from the windows and the platform, as small
// interfaces, so that the flow runs without them in tests.
#pragma once

#include <string>

#include "capture/capture.h"
#include "capture/send_param.h"
#include "service/form_data.h"

namespace tavisnap {

// The main window's part.
class CaptureSendHost {
 public:
  virtual ~CaptureSendHost() = default;
  // Relogin: a fresh synchronous sign-in; false after it has shown its own message.
  virtual bool Relogin() = 0;
  // ForceForeground: the main window in front before a message.
  virtual void BringToFront() = 0;
  // ShowRecipientSetup: the main window opens on the page for choosing a recipient.
  virtual void ShowRecipientSetup() = 0;
  // The viewer window, not modal (the panel has handed it the picture).
  virtual void ShowViewer() = 0;
  // The application-wide hourglass cursor, or the default cursor.
  virtual void SetHourglass(bool on) = 0;
  // Timer_captureSend (300 ms), whose ticks call Timer_captureSendTimer.
  virtual void SetMonitorTimer(bool enabled) = 0;
  // The outbox gained or lost a picture: the resend entries follow it.
  virtual void OutboxChanged() {}
};

// Takes the picture into the file (replaced whole) and returns it. Throws AppError with
// the reason.
class ScreenCapturer {
 public:
  virtual ~ScreenCapturer() = default;
  virtual CapturedPicture CaptureDesktop(const std::string& file) = 0;
  virtual CapturedPicture CaptureActiveWindow(const std::string& file) = 0;
};

// TFormSendPanel, shown modally: returns when the panel has closed, with its answer in
// the parameters (PanelResult, and for Send the addresses and the message).
class SendPanel {
 public:
  virtual ~SendPanel() = default;
  virtual void ShowModal(TTypSendParam& param) = 0;
  // For the next showing only.
  virtual void Prefill(const PanelPrefill& prefill) {}
};

// The transfer window and its upload worker.
class Uploader {
 public:
  virtual ~Uploader() = default;
  virtual void ShowTransferWindow() = 0;
  // RunTransfer: starts the worker and returns at once; false when no thread started.
  virtual bool RunTransfer(const std::string& url, const TTypFormDataArray& form) = 0;
  // Ends the transfer and hides the window at once, also without a worker.
  virtual void CloseTransferWindow() = 0;
};

#ifdef _WIN32
// CaptureDesktop and CaptureActiveWindow of the screen.
ScreenCapturer& SystemScreenCapturer();
#endif

}  // namespace tavisnap
