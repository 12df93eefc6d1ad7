#include "capture/capture.h"
#include "capture/capture_send_ports.h"

namespace tavisnap {
namespace {

class ScreenCapture : public ScreenCapturer {
 public:
  CapturedPicture CaptureDesktop(const std::string& file) override {
    return ::tavisnap::CaptureDesktop(file);
  }
  CapturedPicture CaptureActiveWindow(const std::string& file) override {
    return ::tavisnap::CaptureActiveWindow(file);
  }
};

}  // namespace

ScreenCapturer& SystemScreenCapturer() {
  static ScreenCapture capturer;
  return capturer;
}

}  // namespace tavisnap
