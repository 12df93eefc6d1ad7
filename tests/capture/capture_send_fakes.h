// Stand-ins for the windows and the screen around the capture-send flow. Every fake
// writes what happens to it into one shared log, so that tests can check the order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "capture/capture_send_ports.h"
#include "core/app_error.h"
#include "core/define.h"
#include "support/temp_dir.h"

namespace tavisnap::testing {

using Log = std::vector<std::string>;

class FakeHost : public CaptureSendHost {
 public:
  explicit FakeHost(Log& log) : log_(log) {}
  bool Relogin() override {
    log_.push_back("relogin");
    return signInWorks;
  }
  void BringToFront() override { log_.push_back("front"); }
  void ShowRecipientSetup() override { log_.push_back("recipient page"); }
  void ShowViewer() override { log_.push_back("viewer"); }
  void SetHourglass(bool on) override { log_.push_back(on ? "hourglass" : "arrow"); }
  void SetMonitorTimer(bool on) override { log_.push_back(on ? "timer on" : "timer off"); }

  bool signInWorks = true;

 private:
  Log& log_;
};

// "Captures" by writing the mode into the file; throws what it is told to.
class FakeCapturer : public ScreenCapturer {
 public:
  explicit FakeCapturer(Log& log) : log_(log) {}
  void CaptureDesktop(const std::string& file) override { Take(file, "desktop"); }
  void CaptureActiveWindow(const std::string& file) override { Take(file, "window"); }

  std::string failure;  // an AppError text, or empty

 private:
  void Take(const std::string& file, const std::string& what) {
    log_.push_back("capture " + what);
    if (!failure.empty()) throw AppError(failure);
    WriteBytes(file, what);
  }
  Log& log_;
};

// Answers as the script says; notes the mode and whether the gate was closed.
class FakePanel : public SendPanel {
 public:
  explicit FakePanel(Log& log) : log_(log) {}
  void ShowModal(TTypSendParam& param) override {
    log_.push_back("panel mode " + std::to_string(param.CaptureMode) + " gate " + HotKeyReady);
    param.PanelResult = kPanelCancel;  // as the panel's own reset does
    if (answer) answer(param);
  }

  std::function<void(TTypSendParam&)> answer;

 private:
  Log& log_;
};

class FakeUploader : public Uploader {
 public:
  explicit FakeUploader(Log& log) : log_(log) {}
  void ShowTransferWindow() override { log_.push_back("transfer window"); }
  bool RunTransfer(const std::string& url, const TTypFormDataArray& f) override {
    log_.push_back("run " + url);
    form = f;
    return true;
  }

  TTypFormDataArray form;

 private:
  Log& log_;
};

}  // namespace tavisnap::testing
