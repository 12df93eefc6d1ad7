#include "viewer/form_viewer_logic.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>
#include <system_error>
#include <utility>

#include "core/app_error.h"
#include "core/capture_folder.h"
#include "core/define.h"
#include "core/file_util.h"
#include "imaging/jpeg_codec.h"
#include "viewer/picture_files.h"
#include "viewer/viewer_texts.h"
#include "viewer/zoom.h"

namespace tavisnap {
namespace {

constexpr int kLineScroll = 10;
constexpr int kPageScroll = 50;
constexpr int kWheelScroll = 50;

class Hourglass {
 public:
  explicit Hourglass(ViewerView& view) : view_(view) { view_.SetHourglass(true); }
  ~Hourglass() { view_.SetHourglass(false); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  ViewerView& view_;
};

PixelRect Whole(const Picture& p) {
  return {0, 0, p.Width(), p.Height()};
}

// Pictures are copied into a new one and moved into place: the one replaced stays as it is
// until the copy exists.
Picture Copy(const Picture& p) {
  return p;
}

}  // namespace

FormViewerLogic::FormViewerLogic(ViewerView& view, Prompter& prompter, CaptureSender captureSend)
    : view_(view), prompter_(prompter), captureSend_(std::move(captureSend)) {}

template <typename F>
void FormViewerLogic::Guarded(F&& operation) {
  try {
    operation();
  } catch (const AppError& error) {
    prompter_.Warning(error.what());
  } catch (const std::bad_alloc&) {
    prompter_.Warning(kOutOfMemory);
  }
}

void FormViewerLogic::FormCreate() {
  zoomLevel_ = 0;
  ChooseDrawMode(DrawMode::None);
  ChooseDrawColour(DrawColour::Black);
  SetReDraw(false);
  SetSend(false);
}

// ---- Files ----

void FormViewerLogic::FileOpen(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(U8Path(path), ec)) {
    prompter_.Warning(kFileNotFound);
    return;
  }
  const PictureFileKind kind = PictureFileKindOf(path);
  if (kind == PictureFileKind::Other) {
    prompter_.Warning(kSelectBmpOrJpeg);
    return;
  }
  Guarded([&] {
    OpenPicture(ReadPictureFile(path, kind));
    handedOver_ = false;
    zoomLevel_ = 0;  // Image1 is ImageSave: already rendered at level 0
    ShowWholePicture();
    AfterOpening();
    if (RunMode == kRunModeOnline) SetSend(true);  // offline, Send keeps its state
  });
}

void FormViewerLogic::TakeOverCapture(const std::string& captureFile) {
  std::error_code ec;
  handedOver_ = false;
  Guarded([&] {
    // A missing capture file loads nothing; the viewer still opens.
    if (std::filesystem::exists(U8Path(captureFile), ec)) {
      OpenPicture(ReadJpegFile(captureFile));  // shown at 100 %; ZoomLevel stays
      handedOver_ = true;
      ShowWholePicture();
    }
    if (image1_.Empty()) return;
    AfterOpening();
    SetSend(true);
  });
}

// The decoded picture becomes Image1 and ImageSave; WorkImage is emptied. Nothing changes
// when a copy cannot be made.
void FormViewerLogic::OpenPicture(Picture picture) {
  Picture saved = picture;
  ReplaceImage1(std::move(picture));
  imageSave_ = std::move(saved);
  workImage_ = Picture();
  workIsImage1_ = false;
}

void FormViewerLogic::AfterOpening() {
  drawing_ = false;
  UpdateScrollRanges();
  SetReDraw(true);
}

void FormViewerLogic::FileSave(const std::string& path) {
  const PictureFileKind kind = PictureFileKindOf(path);
  if (kind == PictureFileKind::Other) {
    prompter_.Warning(kSelectBmpOrJpeg);
    return;
  }
  if (image1_.Empty()) {
    prompter_.Warning(kNothingToSave);
    return;
  }
  Guarded([&] { WritePictureFile(path, kind, Image1()); });
}

void FormViewerLogic::ReDrawClick() {
  if (image1_.Empty()) return;
  Guarded([&] {
    // Rows of Image1 still to render may come from WorkImage: the copy that can fail first.
    Picture shown = Copy(imageSave_);
    workImage_ = Picture();
    workIsImage1_ = false;
    zoomLevel_ = 0;
    ReplaceImage1(std::move(shown));
    drawing_ = false;
    ShowWholePicture();
    UpdateScrollRanges();
  });
}

void FormViewerLogic::SendClick() {
  if (image1_.Empty()) return;
  // An upload may be reading the capture file: it is not rewritten then.
  if (HotKeyReady == "OFF") {
    prompter_.Warning(kSendNotNow);
    return;
  }
  Guarded([&] {
    EnsureCaptureDir();
    WriteJpegFile(CaptureFile, Image1());
    captureSend_(kCaptureModeViewer);
  });
}

void FormViewerLogic::FormClose() {
  handedOver_ = false;
  ReplaceImage1(Picture());
  imageSave_ = Picture();
  workIsImage1_ = false;
  drawing_ = false;
  ShowWholePicture();
  SetReDraw(false);
  SetSend(false);
}

void FormViewerLogic::SetSendEnabled(bool enabled) {
  SetSend(enabled);
}

// ---- Zoom and rotation ----

void FormViewerLogic::PictureX(int level) {
  if (image1_.Empty()) return;
  const bool fromWork = !workImage_.Empty();
  const Picture& source = fromWork ? workImage_ : imageSave_;
  const PictureSize size = ZoomedSize(source.Width(), source.Height(), level);
  if (size.width == source.Width() && size.height == source.Height()) {
    ReplaceImage1(Copy(source));
    workIsImage1_ = fromWork;
  } else {
    // Into Image1's own memory, rows rendered when looked at: a step of a large picture
    // costs the rows on show, and pages of rows never shown are never touched.
    image1Rows_.Start(source, static_cast<int>(size.width), static_cast<int>(size.height), image1_);
    workIsImage1_ = false;
  }
  drawing_ = false;  // a figure being drawn belonged to the picture just replaced
  ShowWholePicture();
  UpdateScrollRanges();
}

void FormViewerLogic::Zoom(int step) {
  const int level = zoomLevel_ + step;
  if (level < kMinZoomLevel || level > kMaxZoomLevel) return;
  const Picture& source = workImage_.Empty() ? imageSave_ : workImage_;
  const PictureSize size = ZoomedSize(source.Width(), source.Height(), level);
  if (!IsSupportedPictureSize(size.width, size.height)) {
    prompter_.Warning(kZoomTooLarge);
    return;
  }
  Guarded([&] {
    PictureX(level);
    zoomLevel_ = level;
  });
}

void FormViewerLogic::PictureRotateLR(RotateDirection direction) {
  Guarded([&] {
    zoomLevel_ = 0;
    PictureX(0);
    Hourglass hourglass(view_);
    Picture turned = tavisnap::Rotate(Image1(), direction);
    Picture work = turned;
    ReplaceImage1(std::move(turned));
    workImage_ = std::move(work);
    workIsImage1_ = true;
    ShowWholePicture();
    UpdateScrollRanges();
  });
}

bool FormViewerLogic::ZoomRotateClick(KeySender entry) {
  if (image1_.Empty()) return false;
  switch (entry) {
    case KeySender::Expand:
      return KeyDown(ViewerKey::Up, true, entry);
    case KeySender::Reduce:
      return KeyDown(ViewerKey::Down, true, entry);
    case KeySender::RRotate:
      return KeyDown(ViewerKey::Right, true, entry);
    case KeySender::LRotate:
      return KeyDown(ViewerKey::Left, true, entry);
    case KeySender::Keyboard:
      break;
  }
  return false;
}

bool FormViewerLogic::KeyDown(ViewerKey key, bool shiftAlone, KeySender sender) {
  if (shiftAlone) {
    if (!image1_.Empty()) {
      if (key == ViewerKey::Up) Zoom(+1);
      if (key == ViewerKey::Down) Zoom(-1);
      if (key == ViewerKey::Right && sender == KeySender::RRotate) {
        PictureRotateLR(RotateDirection::Right);
      }
      if (key == ViewerKey::Left && sender == KeySender::LRotate) {
        PictureRotateLR(RotateDirection::Left);
      }
    }
    return true;  // key repeats queued meanwhile are dropped
  }
  switch (key) {
    case ViewerKey::PageUp:
      vertical_.ScrollBy(-kPageScroll);
      break;
    case ViewerKey::PageDown:
      vertical_.ScrollBy(kPageScroll);
      break;
    case ViewerKey::Home:
      vertical_.ScrollTo(0);
      break;
    case ViewerKey::End:
      vertical_.ScrollTo(vertical_.MaxPosition());
      break;
    case ViewerKey::Left:
      horizontal_.ScrollBy(-kLineScroll);
      break;
    case ViewerKey::Right:
      horizontal_.ScrollBy(kLineScroll);
      break;
    case ViewerKey::Up:
      vertical_.ScrollBy(-kLineScroll);
      break;
    case ViewerKey::Down:
      vertical_.ScrollBy(kLineScroll);
      break;
    case ViewerKey::Other:
      return false;
  }
  view_.SetScrollBars(horizontal_, vertical_);
  return false;
}

void FormViewerLogic::MouseWheel(int delta) {
  vertical_.ScrollBy(delta < 0 ? kWheelScroll : -kWheelScroll);
  view_.SetScrollBars(horizontal_, vertical_);
}

void FormViewerLogic::SubmenuOpened() {
  Guarded([&] {
    PictureX(0);
    zoomLevel_ = 0;
  });
}

// ---- Colour operations ----

void FormViewerLogic::Recolour(void (*operation)(Picture&)) {
  if (image1_.Empty()) return;
  Guarded([&] {
    Hourglass hourglass(view_);
    image1Rows_.Complete();
    operation(image1_);
    ShowWholePicture();
    KeepEdit();
  });
}

void FormViewerLogic::TwoColourClick() {
  Recolour(MakeTwoColour);
}

void FormViewerLogic::InvertClick() {
  Recolour(Invert);
}

// ---- Drawing ----

void FormViewerLogic::ChooseDrawMode(DrawMode mode) {
  mode_ = mode;
  view_.CheckDrawMode(mode);
}

void FormViewerLogic::ChooseDrawColour(DrawColour colour) {
  colour_ = colour;
  view_.CheckDrawColour(colour);
}

PixelPoint FormViewerLogic::ToPicture(PixelPoint client) const {
  auto add = [](int a, int b) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
  };
  return {add(client.x, horizontal_.Position()), add(client.y, vertical_.Position())};
}

Shape FormViewerLogic::ShapeOfMode() const {
  if (mode_ == DrawMode::Rectangle) return Shape::Rectangle;
  if (mode_ == DrawMode::Ellipse) return Shape::Ellipse;
  return Shape::Line;
}

void FormViewerLogic::DrawFigure(PixelPoint to, PenMode mode) {
  workIsImage1_ = false;
  const Rgb colour = UnpackColour(DrawColor());
  view_.PictureChanged(DrawShape(image1_, ShapeOfMode(), startPoint_, to, kPenWidth, mode, colour));
}

void FormViewerLogic::MouseDown(PixelPoint client) {
  const PixelPoint at = ToPicture(client);
  // Only a press on the picture starts a figure, and not a second button during one.
  if (image1_.Empty() || drawing_ || mode_ == DrawMode::None) return;
  if (at.x < 0 || at.y < 0 || at.x >= image1_.Width() || at.y >= image1_.Height()) return;
  image1Rows_.Complete();  // figures are drawn into the picture, not only the rows on show
  startPoint_ = endPoint_ = at;
  drawing_ = true;
}

void FormViewerLogic::MouseMove(PixelPoint client) {
  if (!drawing_) return;
  const PixelPoint at = ToPicture(client);
  if (mode_ == DrawMode::Free) {
    const Rgb colour = UnpackColour(DrawColor());
    const PixelRect changed = DrawPlusDot(image1_, at, colour);
    view_.PictureChanged(changed);
    if (workIsImage1_) {
      DrawPlusDot(workImage_, at, colour);  // the same five pixels, no whole copy
    } else {
      Guarded([&] { KeepEdit(); });
    }
    return;
  }
  if (mode_ == DrawMode::None) return;
  DrawFigure(endPoint_, PenMode::Invert);  // takes the last rubber band away
  endPoint_ = at;
  DrawFigure(endPoint_, PenMode::Invert);
}

void FormViewerLogic::MouseUp(PixelPoint client) {
  if (!drawing_) return;
  const PixelPoint at = ToPicture(client);
  if (mode_ == DrawMode::Line) {
    DrawFigure(endPoint_, PenMode::Invert);
    DrawFigure(endPoint_, PenMode::Copy);  // to the last move's position
  } else if (mode_ == DrawMode::Rectangle || mode_ == DrawMode::Ellipse) {
    DrawFigure(at, PenMode::Copy);  // covers the last rubber band when released there
  }
  drawing_ = false;
  if (!workIsImage1_) Guarded([&] { KeepEdit(); });
}

// ---- Helpers ----

const Picture& FormViewerLogic::Image1() const {
  image1Rows_.Complete();
  return image1_;
}

const Picture& FormViewerLogic::Image1Rows(int first, int last) const {
  image1Rows_.Render(first, last);
  return image1_;
}

void FormViewerLogic::ReplaceImage1(Picture picture) {
  image1_ = std::move(picture);
  image1Rows_.Clear();
}

void FormViewerLogic::KeepEdit() {
  workImage_ = Copy(Image1());
  workIsImage1_ = true;
}

void FormViewerLogic::ShowWholePicture() {
  view_.PictureChanged(Whole(image1_));
}

void FormViewerLogic::UpdateScrollRanges() {
  horizontal_.SetRange(image1_.Width());
  vertical_.SetRange(image1_.Height());
  view_.SetScrollBars(horizontal_, vertical_);
}

void FormViewerLogic::ClientResized(int width, int height) {
  horizontal_.SetPage(width);
  vertical_.SetPage(height);
  view_.SetScrollBars(horizontal_, vertical_);
}

void FormViewerLogic::ScrollTo(ScrollBar bar, int64_t position) {
  (bar == ScrollBar::Horizontal ? horizontal_ : vertical_).ScrollTo(position);
  view_.SetScrollBars(horizontal_, vertical_);
}

void FormViewerLogic::SetReDraw(bool enabled) {
  reDrawEnabled_ = enabled;
  view_.EnableReDraw(enabled);
}

void FormViewerLogic::SetSend(bool enabled) {
  sendEnabled_ = enabled;
  view_.EnableSend(enabled);
}

}  // namespace tavisnap
