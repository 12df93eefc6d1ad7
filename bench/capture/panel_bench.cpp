// capture_panel_bench [runs]
//
// From a hotkey to the send panel ready, at 1920x1080, as far as it runs off Windows
// (the screen copy needs a Windows screen: capture_bench under Wine): the capture's
// JPEG encode, the panel's decode, the smoothing and the fit of both previews, in
// memory, against a bare libjpeg-turbo encode plus decode of the same frame; goal: at
// most 2. Also the time of each stage, and of the real path through the capture file
// (written with a flush to disk, read back) and SendPanelLogic::FormShow. Best of runs,
// ours and the bare library alternating.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_frame.h"
#include "capture/send_panel_logic.h"
#include "core/define.h"
#include "core/prompter.h"
#include "imaging/gradation.h"
#include "imaging/jpeg_codec.h"
#include "imaging/reduce_size.h"

namespace tavisnap::bench {
namespace {

class NoView : public SendPanelView {
 public:
  std::string Text(PanelField) const override { return {}; }
  void SetText(PanelField, const std::string&) override {}
  int SelectedIndex(PanelList) const override { return 0; }
  void Select(PanelList, int) override {}
  void ShowPreview(const PreviewPictures& p) override { shown = p.easy.width; }
  void ClearPreview() override { shown = -1; }
  void Close() override {}
  int shown = 0;
};

class NoBook : public SendPanelAddressBook {
 public:
  void FillLists() override {}
  std::string NameAt(int) const override { return {}; }
  std::string AddressAt(int) const override { return {}; }
  bool SetCurrentRecipient(int) override { return false; }
};

class NoPrompter : public Prompter {
 public:
  bool Show(BoxKind, const std::string&) override { return true; }
};

void Best(double& best, double ms) {
  best = std::min(best, ms);
}

}  // namespace
}  // namespace tavisnap::bench

int main(int argc, char** argv) {
  using namespace tavisnap;
  using namespace tavisnap::bench;
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "tavisnap-panel-bench";
  fs::create_directories(dir);
  CaptureDir = dir.string();
  CaptureFile = (dir / "capture.jpg").string();

  Picture screen = ScreenLike();
  NoView view;
  NoBook book;
  NoPrompter prompter;
  TTypSendParam param;
  param.CaptureMode = kCaptureDesktop;
  SendPanelLogic panel(view, book, prompter, param);

  double encode = 1e9, decode = 1e9, smooth = 1e9, fit = 1e9, chain = 1e9, file = 1e9, bare = 1e9;
  for (int i = 0; i < runs; ++i) {
    std::string jpeg;
    Picture decoded;
    PreviewPlacement a, b;
    Best(encode, Millis([&] { jpeg = EncodeJpeg(screen); }));
    Best(decode, Millis([&] { decoded = DecodeJpeg(jpeg); }));
    Best(smooth, Millis([&] { SmoothPicture(decoded); }));
    Best(fit, Millis([&] {
           a = FitPreview(kEasyPreviewPanel.width, kEasyPreviewPanel.height, 1920, 1080);
           b = FitPreview(kDetailedPreviewPanel.width, kDetailedPreviewPanel.height, 1920, 1080);
         }));
    PreviewPictures previews;
    Best(chain, Millis([&] { previews = DecodePreview(EncodeJpeg(screen)); }));
    Best(bare, Millis([&] { BareDecode(BareEncode(screen)); }));
    Best(file, Millis([&] {
           WriteJpegFile(CaptureFile, screen, FileDurability::kScratch);
           panel.FormShow();
         }));
    if (view.shown <= 0 || a.width <= 0 || b.width <= 0 || previews.easy.width <= 0) {
      std::printf("error: no preview\n");
      return 1;
    }
  }
  fs::remove_all(dir);
  std::printf(
      "hotkey to send panel ready 1920x1080 (encode, decode with the smoothing alongside, fit): "
      "%.1f ms, bare "
      "libjpeg-turbo encode + decode %.1f ms, ratio %.2f (goal <= 2), best of %d\n",
      chain, bare, chain / bare, runs);
  std::printf(
      "  stages on their own: encode %.1f ms, decode %.1f ms, smoothing (3 passes) %.1f ms, fit "
      "of both previews %.4f ms\n",
      encode, decode, smooth, fit);
  std::printf(
      "  through the capture file and FormShow (write, read, decode and smoothing, fit)"
      ": %.1f ms, ratio %.2f\n",
      file, file / bare);
  return 0;
}
