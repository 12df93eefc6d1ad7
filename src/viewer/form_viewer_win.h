// The viewer window TFormViewer: shows Image1 at the scroll position, forwards its menu,
// keys, mouse and scroll bars to FormViewerLogic, and applies what the logic tells it.
// Created once, hidden; shown modally from the viewer menu entries and modeless after the
// send panel has handed it the capture.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/prompter.h"
#include "viewer/form_viewer_logic.h"
#include "viewer/viewer_view.h"
#include "win/window_win.h"

namespace tavisnap {

// The open or the save dialog: the chosen file (UTF-8), or nothing when cancelled.
enum class FileDialogKind { Open, Save };
using FileChooser = std::function<std::optional<std::string>(HWND owner, FileDialogKind kind)>;

// The common dialogs with the viewer's filter.
std::optional<std::string> ChoosePictureFile(HWND owner, FileDialogKind kind);

class TFormViewer final : public Dialog, private ViewerView {
 public:
  TFormViewer(HWND owner, Prompter& prompter, CaptureSender captureSend, HICON icon = nullptr,
              FileChooser chooser = ChoosePictureFile);
  ~TFormViewer() override;

  const DialogLayout* Layout() const override;
  bool PreTranslateMessage(const MSG& msg) override;

  // Modeless, in front.
  void Show();
  // Modal until the window is closed.
  void ShowModal();

  FormViewerLogic& logic() { return *logic_; }

 protected:
  bool OnInit() override { return true; }
  bool OnCommand(int id, int code) override;
  void OnClose() override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // ViewerView
  void PictureChanged(const PixelRect& area) override;
  void SetScrollBars(const ScrollAxis& horizontal, const ScrollAxis& vertical) override;
  void EnableReDraw(bool enabled) override;
  void EnableSend(bool enabled) override;
  void CheckDrawMode(DrawMode mode) override;
  void CheckDrawColour(DrawColour colour) override;
  void SetHourglass(bool on) override;

  void EnableEntry(int id, bool enabled);
  void Paint();
  void Scroll(int bar, int code);
  void ClientResized();
  void DropPendingKeys();

  HICON icon_;
  FileChooser chooser_;
  std::unique_ptr<FormViewerLogic> logic_;
  bool hourglass_ = false;
  bool mouseDown_ = false;
};

}  // namespace tavisnap
