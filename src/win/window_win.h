// The one window framework of the program.
//
// Window and Dialog keep `this` in their window and forward messages to members; their
// procedures (the trampolines) catch every error at the boundary, so that nothing
// escapes into Windows. A Dialog comes from a template in the program's resources and
// states its geometry as a DialogLayout, which the base applies at the window's dpi and
// again when the dpi changes. Dialogs are created once, hidden, and shown modeless
// (Show) or modally (RunModal) as often as needed. docs/design.md, "Adding a window".
#pragma once

#include <windows.h>

#include <string>

#include "win/layout_win.h"

namespace tavisnap {

// Where an error that escapes a message handler ends: it is dropped without a message,
// and the action that raised it simply stops.
void ApplicationEventsMainException() noexcept;

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

 protected:
  // Registers the class on first use and creates the window.
  void Create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
              int x, int y, int width, int height, HWND owner, HMENU menu, HICON icon = nullptr);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND hwnd() const { return hwnd_; }
  // A control of the window or of one of its pages.
  HWND Item(int id) const;
  virtual bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& utf8);

  // Shows the window with the program's other windows disabled, until EndModal; returns
  // the value given to EndModal. A WM_QUIT that arrives meanwhile ends it with IDCANCEL
  // and is passed on to the outer message loop.
  INT_PTR RunModal();
  void EndModal(INT_PTR result);
  bool IsModal() const { return modal_; }

  // Places the controls again at the window's current dpi (a page, when its owner
  // moved to another dpi).
  void ApplyLayout();

  // Called by the message loop for keyboard messages meant for this window or its
  // controls, before the dialog manager sees them; true when the key was handled.
  virtual bool PreTranslateMessage(const MSG& msg) { return false; }

  // The window's geometry; nullptr keeps what the template gives (none of ours does).
  virtual const DialogLayout* Layout() const { return nullptr; }

 protected:
  // Creates the window hidden from its template, as a modeless dialog.
  void Create(int templateId, HWND owner);
  // After the layout was applied: the parts the window computes itself.
  virtual void OnLayout(UINT dpi) {}

  // The hooks. Each returns whether it handled its message where that matters.
  // OnInit: return false when it placed the focus itself.
  virtual bool OnInit() { return true; }
  virtual bool OnCommand(int id, int code) { return false; }
  // The result goes to DWLP_MSGRESULT.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result) { return false; }
  virtual void OnTimer(UINT_PTR id) {}
  // The close box, Alt+F4: a modal window ends with IDCANCEL, a modeless one hides.
  virtual void OnClose();
  // Every other message; TRUE when handled, as in a dialog procedure.
  virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }

  UINT Dpi() const;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void OnDpiChanged(const RECT& suggested);

  HWND hwnd_ = nullptr;
  LayoutFonts fonts_;
  bool modal_ = false;
  INT_PTR modalResult_ = 0;
};

// A page of a paged window: a child dialog laid over the owner's tab control, one shown
// at a time. Its control notifications go to the owner, which owns every decision.
class PageDialog : public Dialog {
 public:
  PageDialog(int templateId, HWND owner, const DialogLayout& layout);

  // The page's first control that takes the focus, or none.
  HWND FirstTabStop() const;

  const DialogLayout* Layout() const override { return &layout_; }

 protected:
  bool OnInit() override { return false; }  // the owner places the focus
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  const DialogLayout& layout_;
};

// Sizes the window's client area for its layout at its dpi and centres it when the
// layout asks for it.
void SizeAndCentre(HWND window, const DialogLayout& layout, UINT dpi);

// Registers, once per process, a window class for dialog templates that name it (CLASS in
// the .rc): a top-level window of its own class, findable by class, with the icon.
void RegisterDialogClass(const wchar_t* name, HICON icon);

// The program's message loop: runs until WM_QUIT and returns its exit code. Keyboard
// messages pass the window's PreTranslateMessage, then the dialog manager, so that Tab
// and access keys work.
int RunMessageLoop();
// Handles the messages that are waiting, then returns (keeps windows painted during
// long steps).
void ProcessPendingMessages();

}  // namespace tavisnap
