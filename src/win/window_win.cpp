#include "win/window_win.h"

#include <map>
#include <vector>

#include <uxtheme.h>

#include "win/text_win.h"
#include "win/wait_cursor_win.h"

namespace tavisnap {
namespace {

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

// The program's dialogs by window, for the message loop.
std::map<HWND, Dialog*>& Dialogs() {
  static std::map<HWND, Dialog*> dialogs;
  return dialogs;
}

// The outermost dialog that holds the message's window: the dialog manager navigates
// across a top-level dialog and its pages only when it is given the top-level one.
Dialog* DialogOf(HWND hwnd) {
  Dialog* found = nullptr;
  for (HWND w = hwnd; w; w = GetAncestor(w, GA_PARENT)) {
    if (auto it = Dialogs().find(w); it != Dialogs().end()) found = it->second;
    if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return found;
}

bool IsKeyboardMessage(UINT msg) {
  return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

// True when the message was taken by a dialog.
bool RouteToDialog(MSG& msg) {
  Dialog* dialog = DialogOf(msg.hwnd);
  if (!dialog) return false;
  if (IsKeyboardMessage(msg.message)) {
    bool handled = false;
    try {
      handled = dialog->PreTranslateMessage(msg);
    } catch (...) {
      ApplicationEventsMainException();
      handled = true;
    }
    if (handled) return true;
  }
  return IsDialogMessageW(dialog->hwnd(), &msg) != FALSE;
}

void DispatchOne(MSG& msg) {
  if (RouteToDialog(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

void ApplicationEventsMainException() noexcept {
  // Deliberately silent: the operation that failed has already told the user what
  // they need to know, or it is one whose failure is not reported.
}

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::Create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                    int x, int y, int width, int height, HWND owner, HMENU menu, HICON icon) {
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(Instance(), className, &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    RegisterClassExW(&wc);
  }
  CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, owner, menu,
                  Instance(), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return Default(msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_SETCURSOR && SetWaitCursorIfHeld(LOWORD(lp))) return TRUE;
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    ApplicationEventsMainException();
    return 0;
  }
}

Dialog::~Dialog() {
  if (modal_) EndModal(IDCANCEL);
  if (hwnd_) {
    Dialogs().erase(hwnd_);
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

void Dialog::Create(int templateId, HWND owner) {
  CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId), owner, Procedure,
                     reinterpret_cast<LPARAM>(this));
  if (hwnd_) Dialogs()[hwnd_] = this;
}

HWND Dialog::Item(int id) const {
  if (HWND own = GetDlgItem(hwnd_, id)) return own;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!Dialogs().count(child)) continue;
    if (HWND inner = GetDlgItem(child, id)) return inner;
  }
  return nullptr;
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  int len = GetWindowTextLengthW(item);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), len + 1)));
  return Narrow(text);
}

void Dialog::SetItemText(int id, const std::string& utf8) {
  SetWindowTextW(Item(id), Widen(utf8).c_str());
}

UINT Dialog::Dpi() const {
  UINT dpi = hwnd_ ? GetDpiForWindow(hwnd_) : 0;
  return dpi ? dpi : 96;
}

void Dialog::ApplyLayout() {
  const DialogLayout* layout = Layout();
  if (!layout || !hwnd_) return;
  const UINT dpi = Dpi();
  ApplyPlacements(hwnd_, *layout, dpi, fonts_);
  OnLayout(dpi);
}

void RegisterDialogClass(const wchar_t* name, HICON icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, name, &wc)) return;
  wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefDlgProcW;  // a dialog class: the template names it
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void SizeAndCentre(HWND window, const DialogLayout& layout, UINT dpi) {
  if (layout.clientWidth == 0 && layout.clientHeight == 0) return;
  SizeClientArea(window, ScaleForDpi(layout.clientWidth, dpi),
                 ScaleForDpi(layout.clientHeight, dpi));
  if (layout.centred) CentreOnWorkArea(window);
}

void Dialog::OnDpiChanged(const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  fonts_.Clear();  // after ApplyLayout has given the controls the new fonts
  if (const DialogLayout* layout = Layout()) {
    ApplyPlacements(hwnd_, *layout, Dpi(), fonts_);
    SizeClientArea(hwnd_, ScaleForDpi(layout->clientWidth, Dpi()),
                   ScaleForDpi(layout->clientHeight, Dpi()));
    OnLayout(Dpi());
  }
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Dialog::OnClose() {
  if (modal_) {
    EndModal(IDCANCEL);
  } else {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

INT_PTR Dialog::RunModal() {
  if (!hwnd_ || modal_) return IDCANCEL;
  // Like a modal form: every other window of the thread waits, hidden ones included,
  // so that nothing reaches them from the keyboard or the mouse meanwhile.
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  std::erase_if(disabled, [this](HWND w) { return w == hwnd_ || !IsWindowEnabled(w); });
  for (HWND w : disabled) EnableWindow(w, FALSE);
  HWND previous = GetActiveWindow();

  modal_ = true;
  modalResult_ = IDCANCEL;
  EnableWindow(hwnd_, TRUE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  MSG msg;
  bool quit = false;
  while (modal_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      modal_ = false;
      break;
    }
    DispatchOne(msg);
  }
  // Re-enabled before the window hides, so that the system activates one of them.
  for (HWND w : disabled) {
    if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return modalResult_;
}

void Dialog::EndModal(INT_PTR result) {
  if (!modal_) return;
  modalResult_ = result;
  modal_ = false;
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      if (const DialogLayout* layout = Layout()) {
        ApplyPlacements(hwnd_, *layout, Dpi(), fonts_);
        SizeAndCentre(hwnd_, *layout, Dpi());
      }
      OnLayout(Dpi());
      return OnInit() ? TRUE : FALSE;
    }
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(*reinterpret_cast<const NMHDR*>(lp), result)) return FALSE;
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      OnTimer(wp);
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lp));
      return TRUE;
  }
  return HandleMessage(msg, wp, lp);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    Dialogs().erase(hwnd);
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    self->modal_ = false;
    return FALSE;
  }
  if (msg == WM_SETCURSOR && SetWaitCursorIfHeld(LOWORD(lp))) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
  try {
    return self->Dispatch(msg, wp, lp);
  } catch (...) {
    ApplicationEventsMainException();
    return TRUE;
  }
}

PageDialog::PageDialog(int templateId, HWND owner, const DialogLayout& layout) : layout_(layout) {
  Create(templateId, owner);
  // The page shows the tab control's body behind it under visual styles.
  if (hwnd()) EnableThemeDialogTexture(hwnd(), ETDT_ENABLETAB);
}

HWND PageDialog::FirstTabStop() const {
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
      return child;
    }
  }
  return nullptr;
}

bool PageDialog::OnCommand(int id, int code) {
  SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(Item(id)));
  return true;
}

bool PageDialog::OnNotify(const NMHDR& header, LRESULT& result) {
  result =
      SendMessageW(GetParent(hwnd()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  return true;
}

INT_PTR PageDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Owner-drawn controls of a page are drawn by the owner, like everything it decides.
  if (msg == WM_DRAWITEM || msg == WM_MEASUREITEM) {
    return SendMessageW(GetParent(hwnd()), msg, wp, lp);
  }
  return FALSE;
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchOne(msg);
  return static_cast<int>(msg.wParam);
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the real loop
      return;
    }
    DispatchOne(msg);
  }
}

}  // namespace tavisnap
