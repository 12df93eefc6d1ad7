#include "capture/capture.h"
#include "capture/capture_send_ports.h"

namespace tavisnap {
namespace {

class ScreenCapture : public ScreenCapturer {
 public:
  void CaptureDesktop(const std::string& file) override { ::tavisnap::CaptureDesktop(file); }
  void CaptureActiveWindow(const std::string& file) override {
    ::tavisnap::CaptureActiveWindow(file);
  }
};

}  // namespace

ScreenCapturer& SystemScreenCapturer() {
  static ScreenCapture capturer;
  return capturer;
}

}  // namespace tavisnap
