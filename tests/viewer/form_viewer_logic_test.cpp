#include "viewer/form_viewer_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <utility>

#include "core/capture_folder.h"
#include "core/define.h"
#include "imaging/bmp_codec.h"
#include "imaging/jpeg_codec.h"
#include "imaging/jpeg_test_files.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"
#include "viewer/viewer_texts.h"
#include "viewer/zoom.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;

class FakeViewerView : public ViewerView {
 public:
  void PictureChanged(const PixelRect& area) override { changes.push_back(area); }
  void SetScrollBars(const ScrollAxis& h, const ScrollAxis& v) override {
    horizontal = h;
    vertical = v;
  }
  void EnableReDraw(bool enabled) override { reDraw = enabled; }
  void EnableSend(bool enabled) override { send = enabled; }
  void CheckDrawMode(DrawMode m) override { mode = m; }
  void CheckDrawColour(DrawColour c) override { colour = c; }
  void SetHourglass(bool on) override { hourglass.push_back(on); }

  std::vector<PixelRect> changes;
  ScrollAxis horizontal, vertical;
  bool reDraw = true, send = true;
  DrawMode mode = DrawMode::Free;
  DrawColour colour = DrawColour::Yellow;
  std::vector<bool> hourglass;
};

Picture Gradient(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      p.SetPixel(x, y, Rgb{uint8_t(x * 5), uint8_t(y * 7), uint8_t(100 + (x ^ y))});
    }
  }
  return p;
}

class ViewerLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RunMode = kRunModeOnline;
    HotKeyReady = "ON";
    CaptureDir = dir / "capture";
    CaptureFile = CaptureDir + kPathSeparator + "capture.jpg";
    logic.FormCreate();
  }
  void TearDown() override { HotKeyReady = "OFF"; }

  std::string Bmp(const std::string& name, const Picture& p) {
    return dir.Write(name, EncodeBmp(p));
  }
  // Opens a 40 x 30 picture and returns it.
  Picture OpenGradient() {
    Picture p = Gradient(40, 30);
    logic.FileOpen(Bmp("g.bmp", p));
    EXPECT_EQ(logic.Image1(), p);
    return p;
  }
  void Keys(ViewerKey key, int times) {
    for (int i = 0; i < times; ++i) logic.KeyDown(key, true);
  }
  std::vector<std::string> Warnings() const {
    std::vector<std::string> out;
    for (const auto& box : prompter.boxes) {
      EXPECT_EQ(box.kind, BoxKind::Warning);
      out.push_back(box.text);
    }
    return out;
  }

  testing::TempDir dir;
  FakeViewerView view;
  testing::FakePrompter prompter;
  std::vector<int> sent;
  FormViewerLogic logic{view, prompter, [this](int mode) { sent.push_back(mode); }};
};

TEST_F(ViewerLogicTest, StartsEmptyInBlackWithoutADrawingMode) {
  EXPECT_FALSE(view.reDraw);
  EXPECT_FALSE(view.send);
  EXPECT_EQ(view.mode, DrawMode::None);
  EXPECT_EQ(view.colour, DrawColour::Black);
  EXPECT_EQ(logic.DrawColor(), 0x000000u);
  EXPECT_FALSE(logic.ZoomRotateClick(KeySender::Expand)) << "no picture: nothing happens";
  logic.KeyDown(ViewerKey::Up, true);
  EXPECT_EQ(logic.ZoomLevel(), 0);
}

TEST_F(ViewerLogicTest, OpensBmpAndJpegFilesWhateverTheLetterCase) {
  Picture p = Gradient(21, 13);
  for (const char* name : {"a.bmp", "b.BMP", "c.bMp"}) {
    logic.FileOpen(Bmp(name, p));
    EXPECT_EQ(logic.Image1(), p) << name;
  }
  for (const char* name : {"d.jpg", "e.JPEG", "f.JpG", "g.jpeg"}) {
    logic.FileOpen(dir.Write(name, EncodeJpeg(p)));
    EXPECT_EQ(logic.Image1().Width(), 21) << name;
  }
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_EQ(logic.ImageSave(), logic.Image1());
  EXPECT_TRUE(logic.WorkImage().Empty());
  EXPECT_TRUE(view.reDraw);
  EXPECT_TRUE(view.send);
  EXPECT_EQ(view.horizontal.Range(), 21);
  EXPECT_EQ(view.vertical.Range(), 13);
}

TEST_F(ViewerLogicTest, RefusesWithAWarningAndKeepsThePictureOnShow) {
  Picture shown = OpenGradient();
  logic.InvertClick();
  Invert(shown);
  std::string bmp = EncodeBmp(Gradient(8, 8));
  std::string jpeg = EncodeJpeg(Gradient(64, 64));
  fs::create_directory(dir.path() / "folder.bmp");
  const struct {
    std::string path;
    std::string warning;
  } cases[] = {
      {dir / "missing.bmp", kFileNotFound},
      {dir.Write("p.png", bmp), kSelectBmpOrJpeg},
      {dir.Write("noext", bmp), kSelectBmpOrJpeg},
      {dir.Write("cut.bmp", bmp.substr(0, bmp.size() - 10)), kBmpTruncated},
      {dir.Write("jpeg.bmp", jpeg), kBmpBroken},
      {dir.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2)), kJpegReadError},
      {dir / "folder.bmp", kJpegReadError},
  };
  for (const auto& c : cases) {
    prompter.boxes.clear();
    logic.FileOpen(c.path);
    EXPECT_EQ(Warnings(), std::vector<std::string>{c.warning}) << c.path;
    EXPECT_EQ(logic.Image1(), shown) << c.path;
    EXPECT_EQ(logic.WorkImage(), shown) << "the edit is kept";
  }
}

TEST_F(ViewerLogicTest, OpensGreyCmykAndProgressiveJpegs) {
  using testing::LibjpegKind;
  std::vector<uint8_t> grey(16 * 8, 200), cmyk, rgb;
  for (int i = 0; i < 16 * 8; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {30, 60, 90});
  const struct {
    LibjpegKind kind;
    const std::vector<uint8_t>& samples;
    Rgb about;
  } cases[] = {{LibjpegKind::kGrey, grey, {200, 200, 200}},
               {LibjpegKind::kAdobeCmyk, cmyk, {255, 0, 0}},
               {LibjpegKind::kProgressive, rgb, {30, 60, 90}}};
  for (const auto& c : cases) {
    logic.FileOpen(dir.Write("k.jpg", testing::LibjpegEncode(c.kind, 16, 8, c.samples)));
    ASSERT_EQ(logic.Image1().Width(), 16);
    Rgb got = logic.Image1().Pixel(5, 5);
    EXPECT_LE(
        std::abs(got.r - c.about.r) + std::abs(got.g - c.about.g) + std::abs(got.b - c.about.b), 6);
  }
  EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ViewerLogicTest, OfflineOpeningLeavesSendAsItWas) {
  RunMode = kRunModeOffline;
  logic.SetSendEnabled(false);
  OpenGradient();
  EXPECT_TRUE(view.reDraw);
  EXPECT_FALSE(view.send);
}

TEST_F(ViewerLogicTest, ZoomsFromTheOpenedPictureEachStepBetweenTheLimits) {
  Picture p = Gradient(100, 50);
  logic.FileOpen(Bmp("z.bmp", p));
  Keys(ViewerKey::Up, 50);
  EXPECT_EQ(logic.ZoomLevel(), 50);
  EXPECT_EQ(logic.Image1().Width(), 600);
  EXPECT_EQ(logic.Image1(), StretchBlackOnWhite(p, 600, 300));
  EXPECT_TRUE(logic.KeyDown(ViewerKey::Up, true));
  EXPECT_EQ(logic.ZoomLevel(), 50) << "the fifty-first step changes nothing";
  Keys(ViewerKey::Down, 70);
  EXPECT_EQ(logic.ZoomLevel(), -9);
  EXPECT_EQ(logic.Image1().Width(), 9) << "100 at level -9";
  EXPECT_EQ(view.horizontal.Range(), 9);
  Keys(ViewerKey::Up, 9);
  EXPECT_EQ(logic.Image1(), p) << "not cumulative: level 0 is the opened picture again";
  EXPECT_TRUE(logic.ZoomRotateClick(KeySender::Reduce));
  EXPECT_EQ(logic.ZoomLevel(), -1);
}

TEST_F(ViewerLogicTest, RefusesAZoomBeyondTheLargestPicture) {
  logic.FileOpen(Bmp("wide.bmp", Gradient(32000, 2)));
  logic.KeyDown(ViewerKey::Up, true);
  EXPECT_EQ(Warnings(), std::vector<std::string>{kZoomTooLarge});
  EXPECT_EQ(logic.ZoomLevel(), 0);
  EXPECT_EQ(logic.Image1().Width(), 32000);
}

TEST_F(ViewerLogicTest, SavesThePictureOnShowAtItsZoom) {
  Picture p = OpenGradient();
  Keys(ViewerKey::Up, 10);
  logic.FileSave(dir / "out.bmp");
  logic.FileSave(dir / "out.JPG");
  EXPECT_EQ(DecodeBmp(*ReadWholeFile(dir / "out.bmp")), StretchBlackOnWhite(p, 80, 60));
  EXPECT_EQ(ReadJpegFile(dir / "out.JPG").Width(), 80) << "twice the opened width";

  logic.FileSave(dir / "out.png");
  logic.FileSave(dir / "out");
  logic.FileSave(dir / "no-such-folder/x.bmp");
  EXPECT_EQ(Warnings(),
            (std::vector<std::string>{kSelectBmpOrJpeg, kSelectBmpOrJpeg, kBmpWriteError}));
  EXPECT_FALSE(fs::exists(dir.path() / "out.png"));
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST_F(ViewerLogicTest, RotatesFromTheMenuOnlyAndAt100Percent) {
  Picture p = OpenGradient();
  Keys(ViewerKey::Up, 3);
  EXPECT_TRUE(logic.KeyDown(ViewerKey::Right, true)) << "Shift+Right typed: keys are flushed";
  EXPECT_EQ(logic.ZoomLevel(), 3) << "but nothing rotates";
  EXPECT_EQ(logic.Image1().Width(), 52);

  EXPECT_TRUE(logic.ZoomRotateClick(KeySender::RRotate));
  EXPECT_EQ(logic.ZoomLevel(), 0);
  EXPECT_EQ(logic.Image1(), Rotate(p, RotateDirection::Right));
  EXPECT_EQ(logic.WorkImage(), logic.Image1());
  EXPECT_EQ(view.horizontal.Range(), 30);
  EXPECT_EQ(view.hourglass, (std::vector<bool>{true, false}));

  logic.ZoomRotateClick(KeySender::LRotate);
  EXPECT_EQ(logic.Image1(), p);
}

TEST_F(ViewerLogicTest, RecoloursTheUnzoomedPictureAndZoomsFromTheEdit) {
  Picture p = OpenGradient();
  Keys(ViewerKey::Up, 5);
  logic.SubmenuOpened();  // "画像処理(&P)" opens
  EXPECT_EQ(logic.ZoomLevel(), 0);
  EXPECT_EQ(logic.Image1(), p);

  logic.TwoColourClick();
  Picture two = p;
  MakeTwoColour(two);
  EXPECT_EQ(logic.Image1(), two);
  EXPECT_EQ(logic.WorkImage(), two);
  EXPECT_EQ(logic.ImageSave(), p) << "never edited";

  Keys(ViewerKey::Up, 10);
  EXPECT_EQ(logic.Image1(), StretchBlackOnWhite(two, 80, 60));
}

TEST_F(ViewerLogicTest, DrawsFiguresWithRubberBandsAndKeepsTheFinalOne) {
  Picture p = OpenGradient();
  logic.ChooseDrawColour(DrawColour::Red);
  EXPECT_EQ(logic.DrawColor(), 0x0000FFu);
  const Rgb red{255, 0, 0};
  const struct {
    DrawMode mode;
    Shape shape;
    PixelPoint down, moves[2], up, finalEnd;
  } cases[] = {
      // A line ends where the mouse last moved; a rectangle or an ellipse at the release.
      {DrawMode::Line, Shape::Line, {2, 2}, {{8, 2}, {30, 20}}, {35, 25}, {30, 20}},
      {DrawMode::Rectangle, Shape::Rectangle, {5, 5}, {{10, 10}, {30, 25}}, {30, 25}, {30, 25}},
      {DrawMode::Ellipse, Shape::Ellipse, {35, 25}, {{3, 3}, {6, 4}}, {6, 4}, {6, 4}},
  };
  Picture want = p;  // the figures one after another, on the same picture
  for (const auto& c : cases) {
    logic.ChooseDrawMode(c.mode);
    EXPECT_EQ(view.mode, c.mode);
    logic.MouseDown(c.down);
    EXPECT_TRUE(logic.Drawing());
    for (PixelPoint m : c.moves) logic.MouseMove(m);
    EXPECT_EQ(logic.StartPoint(), c.down);
    EXPECT_EQ(logic.EndPoint(), c.moves[1]) << "the rubber band ends at the last move";
    EXPECT_NE(logic.Image1(), want) << "a rubber band shows";
    logic.MouseUp(c.up);
    DrawShape(want, c.shape, c.down, c.finalEnd, kPenWidth, PenMode::Copy, red);
    EXPECT_EQ(logic.Image1(), want) << int(c.mode);
    EXPECT_EQ(logic.WorkImage(), want) << int(c.mode);
    EXPECT_FALSE(logic.Drawing());
  }
}

TEST_F(ViewerLogicTest, FreehandLeavesDotsAtTheScrolledPosition) {
  Picture p = OpenGradient();
  logic.ClientResized(20, 20);
  logic.ScrollTo(ScrollBar::Horizontal, 10);
  logic.ChooseDrawMode(DrawMode::Free);
  logic.ChooseDrawColour(DrawColour::Blue);
  logic.MouseDown({0, 0});
  EXPECT_EQ(logic.Image1(), p) << "the press itself draws nothing";
  logic.MouseMove({0, 0});
  logic.MouseMove({5, 29});
  logic.MouseUp({5, 29});
  Picture want = p;
  DrawPlusDot(want, {10, 0}, Rgb{0, 0, 255});
  DrawPlusDot(want, {15, 29}, Rgb{0, 0, 255});
  EXPECT_EQ(logic.Image1(), want);
  EXPECT_EQ(logic.WorkImage(), want);
}

TEST_F(ViewerLogicTest, DrawsNothingWithoutAModeOrOffThePicture) {
  Picture p = OpenGradient();
  logic.ChooseDrawMode(DrawMode::Rectangle);
  logic.ChooseDrawMode(DrawMode::None);  // "図形モード解除(&M)"
  logic.MouseDown({3, 3});
  logic.MouseMove({20, 20});
  logic.MouseUp({20, 20});
  logic.ChooseDrawMode(DrawMode::Line);
  logic.MouseDown({45, 3});  // beside the picture
  logic.MouseMove({10, 10});
  logic.MouseUp({10, 10});
  EXPECT_EQ(logic.Image1(), p);
  EXPECT_TRUE(logic.WorkImage().Empty());
}

TEST_F(ViewerLogicTest, KeepsADrawingMadeWhileZoomedAtThatSize) {
  OpenGradient();
  Keys(ViewerKey::Up, 10);
  logic.ChooseDrawMode(DrawMode::Free);
  logic.MouseDown({70, 50});
  logic.MouseMove({70, 50});
  logic.MouseUp({70, 50});
  EXPECT_EQ(logic.WorkImage().Width(), 80);
  Picture drawn = logic.WorkImage();
  logic.KeyDown(ViewerKey::Down, true);
  EXPECT_EQ(logic.Image1().Width(), ZoomedSide(80, 9)) << "rendered from the zoomed drawing";
  EXPECT_EQ(logic.Image1(), StretchBlackOnWhite(drawn, 152, 114));
}

// With only the rows painted rendered after a zoom, an edit and the saved file have the
// whole picture, as if it had been rendered whole.
TEST_F(ViewerLogicTest, UsesOfAPartlyRenderedZoomSeeTheWholePicture) {
  const Picture p = Gradient(40, 30);
  Picture zoomed = StretchBlackOnWhite(p, 80, 60), two = zoomed, inverted = zoomed, framed = zoomed;
  MakeTwoColour(two);
  Invert(inverted);
  DrawShape(framed, Shape::Rectangle, {5, 5}, {70, 50}, kPenWidth, PenMode::Copy, Rgb{});
  auto frame = [&] {
    logic.ChooseDrawMode(DrawMode::Rectangle);
    logic.MouseDown({5, 5});
    logic.MouseUp({70, 50});
  };
  const struct {
    std::function<void()> use;
    const Picture& want;
  } cases[] = {{[] {}, zoomed},
               {[&] { logic.TwoColourClick(); }, two},
               {[&] { logic.InvertClick(); }, inverted},
               {frame, framed}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    logic.FileOpen(Bmp("p.bmp", p));
    Keys(ViewerKey::Up, 10);
    logic.Image1Rows(20, 25);  // what the window painted
    cases[i].use();
    logic.FileSave(dir / "z.bmp");
    EXPECT_EQ(DecodeBmp(*ReadWholeFile(dir / "z.bmp")), cases[i].want) << i;
  }
}

TEST_F(ViewerLogicTest, RestoringDiscardsEveryEdit) {
  Picture p = OpenGradient();
  logic.InvertClick();
  logic.ZoomRotateClick(KeySender::RRotate);
  Keys(ViewerKey::Up, 4);
  logic.ReDrawClick();
  EXPECT_EQ(logic.Image1(), p);
  EXPECT_TRUE(logic.WorkImage().Empty());
  EXPECT_EQ(logic.ZoomLevel(), 0);
  EXPECT_EQ(view.horizontal.Range(), 40);
}

TEST_F(ViewerLogicTest, ScrollsByKeysAndWheelWithinTheRanges) {
  logic.FileOpen(Bmp("tall.bmp", Gradient(100, 300)));
  logic.ClientResized(50, 100);
  const struct {
    ViewerKey key;
    int h, v;
  } steps[] = {
      {ViewerKey::PageDown, 0, 50}, {ViewerKey::End, 0, 200},    {ViewerKey::PageDown, 0, 200},
      {ViewerKey::Up, 0, 190},      {ViewerKey::PageUp, 0, 140}, {ViewerKey::Home, 0, 0},
      {ViewerKey::Right, 10, 0},    {ViewerKey::Left, 0, 0},     {ViewerKey::Left, 0, 0},
      {ViewerKey::Down, 0, 10},     {ViewerKey::Other, 0, 10},
  };
  for (const auto& s : steps) {
    EXPECT_FALSE(logic.KeyDown(s.key, false));
    EXPECT_EQ(view.horizontal.Position(), s.h) << int(s.key);
    EXPECT_EQ(view.vertical.Position(), s.v) << int(s.key);
  }
  EXPECT_TRUE(logic.KeyDown(ViewerKey::PageDown, true)) << "Shift alone: flushed, no scroll";
  EXPECT_EQ(view.vertical.Position(), 10);
  logic.MouseWheel(-120);
  EXPECT_EQ(view.vertical.Position(), 60);
  logic.MouseWheel(120);
  logic.MouseWheel(120);
  EXPECT_EQ(view.vertical.Position(), 0);
}

TEST_F(ViewerLogicTest, SendsThePictureOnShowThroughTheCaptureFile) {
  OpenGradient();
  Keys(ViewerKey::Up, 10);
  HotKeyReady = "OFF";  // an upload is running
  logic.SendClick();
  EXPECT_EQ(Warnings(), std::vector<std::string>{kSendNotNow});
  EXPECT_FALSE(fs::exists(U8Path(CaptureFile))) << "the capture file is not rewritten";
  EXPECT_TRUE(sent.empty());

  HotKeyReady = "ON";
  logic.SendClick();
  EXPECT_EQ(ReadJpegFile(CaptureFile).Width(), 80);
  EXPECT_EQ(sent, std::vector<int>{3});
}

TEST_F(ViewerLogicTest, TakesOverTheCaptureKeepingTheZoomLevel) {
  OpenGradient();
  Keys(ViewerKey::Up, 3);
  RunMode = kRunModeOffline;
  logic.SetSendEnabled(false);
  EnsureCaptureDir();
  WriteJpegFile(CaptureFile, Gradient(64, 48));
  logic.TakeOverCapture(CaptureFile);
  EXPECT_EQ(logic.Image1().Width(), 64) << "shown as decoded";
  EXPECT_EQ(logic.ImageSave(), logic.Image1());
  EXPECT_TRUE(logic.WorkImage().Empty());
  EXPECT_EQ(logic.ZoomLevel(), 3);
  EXPECT_TRUE(view.send) << "enabled whatever the mode";
  EXPECT_EQ(view.vertical.Range(), 48);

  fs::remove(U8Path(CaptureFile));
  logic.TakeOverCapture(CaptureFile);
  EXPECT_EQ(logic.Image1().Width(), 64) << "a missing file loads nothing";
}

// The capture-send flow asks it to tell a kept picture sent on through the viewer from
// any other.
TEST_F(ViewerLogicTest, KnowsWhetherItShowsThePanelsPicture) {
  EnsureCaptureDir();
  WriteJpegFile(CaptureFile, Gradient(64, 48));
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"handed over", [&] { logic.TakeOverCapture(CaptureFile); }},
      {"edited", [&] { logic.InvertClick(); }},
      {"a file opened", [&] { OpenGradient(); }},
      {"handed over again", [&] { logic.TakeOverCapture(CaptureFile); }},
      {"closed", [&] { logic.FormClose(); }},
      {"handed over once more", [&] { logic.TakeOverCapture(CaptureFile); }},
      {"a hand-over without a file",
       [&] {
         fs::remove(U8Path(CaptureFile));
         logic.TakeOverCapture(CaptureFile);
       }},
  };
  const bool expected[] = {true, true, false, true, false, true, false};
  for (size_t i = 0; i < std::size(steps); ++i) {
    steps[i].second();
    EXPECT_EQ(logic.ShowsHandedOverPicture(), expected[i]) << steps[i].first;
  }
}

TEST_F(ViewerLogicTest, ClosingLetsThePicturesGo) {
  OpenGradient();
  logic.FormClose();
  EXPECT_TRUE(logic.Image1().Empty());
  EXPECT_TRUE(logic.ImageSave().Empty());
  EXPECT_FALSE(view.reDraw);
  EXPECT_FALSE(view.send);
  logic.InvertClick();
  logic.FileSave(dir / "empty.bmp");
  EXPECT_EQ(Warnings(), std::vector<std::string>{kNothingToSave});
}

}  // namespace
}  // namespace tavisnap
