// The thin window base every window of the program derives from: it keeps `this` in
// the window, forwards messages to a member handler and catches every error at the
// boundary, so that nothing escapes into Windows.
#pragma once

#include <windows.h>

#include <string>

namespace tavisnap {

// Where an error that escapes a message handler ends: it is dropped without a message,
// and the action that raised it simply stops.
void ApplicationErrorHandler() noexcept;

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

// A modeless dialog from a template in the program's resources. The message loop passes
// keyboard input through IsDialogMessage for it, so Tab and access keys work.
class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  bool IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& utf8);

 protected:
  void Create(int templateId, HWND owner);
  // Return TRUE when the message was handled, as a dialog procedure does.
  virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// The program's message loop: runs until WM_QUIT and returns its exit code.
int RunMessageLoop();
// Handles the messages that are waiting, then returns (keeps windows painted during
// long start-up steps).
void ProcessPendingMessages();

}  // namespace tavisnap
