// The decisions and the pictures of the viewer window TFormViewer. The window forwards its
// menu entries, keys, mouse and scroll bars here, paints Image1() at the scroll position and
// applies what ViewerView is told.
//
// The three pictures:
//   ImageSave  the picture as opened (file or capture); set only when one is opened.
//   WorkImage  the edited picture; empty after opening and restoring, replaced by a copy of
//              Image1 at the end of every edit.
//   Image1     the picture on show: rendered from WorkImage, or ImageSave while WorkImage is
//              empty, at ZoomLevel; edits are made on it; it is what is saved and sent.
//              A zoom renders its rows when they are first looked at: painting asks for the
//              rows on show, everything else for the whole picture.
#pragma once

#include <functional>
#include <string>

#include "core/prompter.h"
#include "imaging/picture.h"
#include "imaging/picture_ops.h"
#include "viewer/drawing.h"
#include "viewer/scroll_axis.h"
#include "viewer/viewer_view.h"
#include "viewer/zoom.h"

namespace tavisnap {

// CaptureSend(mode) of the main window; the viewer's pictures go with mode 3.
using CaptureSender = std::function<void(int mode)>;
inline constexpr int kCaptureModeViewer = 3;

enum class ViewerKey { Up, Down, Left, Right, PageUp, PageDown, Home, End, Other };

// Who pressed a key: the keyboard, or one of the four entries of "拡大縮小・回転(&O)".
enum class KeySender { Keyboard, Expand, Reduce, RRotate, LRotate };

enum class ScrollBar { Horizontal, Vertical };

class FormViewerLogic {
 public:
  FormViewerLogic(ViewerView& view, Prompter& prompter, CaptureSender captureSend);

  // Creating the window: level 0, black, no drawing mode, ReDraw and Send disabled.
  void FormCreate();

  // ---- "ファイル(&F)" (the window shows the dialogs and passes the chosen name) ----
  void FileOpen(const std::string& path);
  void FileSave(const std::string& path);
  void ReDrawClick();
  void SendClick();
  // Closing the window, also "終了(&X)": the pictures on show and as opened are let go.
  void FormClose();
  // The send panel's "Viewer": the capture file becomes the opened picture.
  void TakeOverCapture(const std::string& captureFile);
  // The picture on show is the one the panel handed over last, edited or not; a file
  // opened since, or the window closed, ends that.
  bool ShowsHandedOverPicture() const { return handedOver_; }
  // Start-up in offline mode disables Send.
  void SetSendEnabled(bool enabled);

  // ---- Zoom, rotation, keys, wheel ----
  // One of the four entries of "拡大縮小・回転(&O)": handled as its key with Shift alone.
  // Returns true when the window must drop every pending keyboard message of its thread.
  bool ZoomRotateClick(KeySender entry);
  // The window's key-down. shiftAlone: Shift held, Ctrl and Alt not. Returns true when the
  // window must drop every pending keyboard message of its thread.
  bool KeyDown(ViewerKey key, bool shiftAlone, KeySender sender = KeySender::Keyboard);
  void MouseWheel(int delta);
  // "画像処理(&P)" and "図形(&D)" opening: back to 100 %.
  void SubmenuOpened();

  // ---- "画像処理(&P)" ----
  void TwoColourClick();
  void InvertClick();

  // ---- "図形(&D)" and the mouse on the picture (client-area coordinates) ----
  void ChooseDrawMode(DrawMode mode);
  void ChooseDrawColour(DrawColour colour);
  void MouseDown(PixelPoint client);
  void MouseMove(PixelPoint client);
  void MouseUp(PixelPoint client);

  // ---- The window's client area and scroll bars ----
  void ClientResized(int width, int height);
  void ScrollTo(ScrollBar bar, int64_t position);

  // Image1 whole.
  const Picture& Image1() const;
  // Image1 with at least its rows [first, last) rendered, for painting them.
  const Picture& Image1Rows(int first, int last) const;
  PixelRect Image1Area() const { return {0, 0, image1_.Width(), image1_.Height()}; }
  const Picture& ImageSave() const { return imageSave_; }
  const Picture& WorkImage() const { return workImage_; }
  int ZoomLevel() const { return zoomLevel_; }
  DrawMode Mode() const { return mode_; }
  DrawColour Colour() const { return colour_; }
  uint32_t DrawColor() const { return PackedColour(colour_); }
  bool Drawing() const { return drawing_; }
  // The anchor and the last position of the figure being drawn, in picture pixels.
  PixelPoint StartPoint() const { return startPoint_; }
  PixelPoint EndPoint() const { return endPoint_; }
  bool ReDrawEnabled() const { return reDrawEnabled_; }
  bool SendEnabled() const { return sendEnabled_; }
  const ScrollAxis& Horizontal() const { return horizontal_; }
  const ScrollAxis& Vertical() const { return vertical_; }

 private:
  // Runs an operation; a refusal or a lack of memory is told in a warning box and the
  // operation ends there.
  template <typename F>
  void Guarded(F&& operation);
  // Image1 rendered from WorkImage, or ImageSave while WorkImage is empty, at the level;
  // ZoomLevel is the caller's to set.
  void PictureX(int level);
  void Zoom(int step);
  // The quarter turn of the picture at 100 %, kept as the edit.
  void PictureRotateLR(RotateDirection direction);
  void Recolour(void (*operation)(Picture&));
  void ReplaceImage1(Picture picture);
  void OpenPicture(Picture picture);
  void AfterOpening();
  void ShowWholePicture();
  void UpdateScrollRanges();
  void KeepEdit();
  void SetReDraw(bool enabled);
  void SetSend(bool enabled);
  PixelPoint ToPicture(PixelPoint client) const;
  Shape ShapeOfMode() const;
  void DrawFigure(PixelPoint to, PenMode mode);

  ViewerView& view_;
  Prompter& prompter_;
  CaptureSender captureSend_;
  // Rendering rows on demand changes no state anyone sees.
  mutable Picture image1_;
  mutable LazyStretch image1Rows_;  // the rows of image1_ a zoom has not rendered yet
  Picture imageSave_;
  Picture workImage_;
  bool workIsImage1_ = false;  // WorkImage holds exactly Image1's pixels
  int zoomLevel_ = 0;
  DrawMode mode_ = DrawMode::None;
  DrawColour colour_ = DrawColour::Black;
  bool drawing_ = false;
  PixelPoint startPoint_;
  PixelPoint endPoint_;
  bool reDrawEnabled_ = false;
  bool sendEnabled_ = false;
  bool handedOver_ = false;
  ScrollAxis horizontal_;
  ScrollAxis vertical_;
};

}  // namespace tavisnap
