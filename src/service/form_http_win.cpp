#include "service/form_http_win.h"

#include <commctrl.h>

#include <climits>

#include "service/form_http_res.h"
#include "service/transfer.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr wchar_t kFontName[] = L"ＭＳ Ｐゴシック";
constexpr char kCaption[] = "タビスナップ送信中";
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 147;
constexpr int kAnimationResource = 161;  // shell32's file-copy animation

HFONT MakeFont(int pixels) {
  return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kFontName);
}

}  // namespace

TFormHTTP::TFormHTTP(HWND owner, std::function<void()> force_foreground)
    : force_foreground_(std::move(force_foreground)) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Create(IDD_FORM_HTTP, owner);
  FormHTTP = this;
}

TFormHTTP::~TFormHTTP() {
  if (FormHTTP == this) FormHTTP = nullptr;
  if (hwnd()) StopTimers();
  if (font_) DeleteObject(font_);
  if (button_font_) DeleteObject(button_font_);
  if (shell32_) FreeLibrary(shell32_);
}

INT_PTR TFormHTTP::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      Layout();
      OpenAnimation();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_BUTTON_CANCEL && HIWORD(wp) == BN_CLICKED) ButtonCancelClick();
      return TRUE;  // IDCANCEL (Esc) and IDOK are ignored: only the button cancels
    case WM_TIMER:
      if (wp == kTimerStatusChk) TimerStatusChkTimer();
      if (wp == kTimerProgress) UpdateProgressBar();
      return TRUE;
    case WM_CLOSE:
      ShowWindow(hwnd(), SW_HIDE);  // the upload goes on; the timer still finishes it
      return TRUE;
  }
  return FALSE;
}

void TFormHTTP::Layout() {
  font_ = MakeFont(11);
  button_font_ = MakeFont(20);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)));
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  struct Place {
    int id, x, y, w, h;
    HFONT font;
  };
  const Place places[] = {{IDC_ANIMATE_FILE_COPY, 14, 8, 272, 60, font_},
                          {IDC_PROGRESS_BAR, 14, 74, 272, 25, font_},
                          {IDC_BUTTON_CANCEL, 73, 111, 155, 28, button_font_}};
  for (const Place& p : places) {
    MoveWindow(Item(p.id), p.x, p.y, p.w, p.h, FALSE);
    SendMessageW(Item(p.id), WM_SETFONT, reinterpret_cast<WPARAM>(p.font), FALSE);
  }
}

void TFormHTTP::OpenAnimation() {
  // Wine may lack the animation; the control then simply stays empty.
  shell32_ = LoadLibraryW(L"shell32.dll");
  if (shell32_) {
    Animate_OpenEx(Item(IDC_ANIMATE_FILE_COPY), shell32_, MAKEINTRESOURCEW(kAnimationResource));
  }
}

void TFormHTTP::Show() {
  FormShow();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_BUTTON_CANCEL)), TRUE);
}

void TFormHTTP::FormShow() {
  if (force_foreground_) force_foreground_();
  SetWindowTextW(hwnd(), Widen(kCaption).c_str());
  TransferShown();
  Centre();
  SetTimer(hwnd(), kTimerStatusChk, kStatusInterval, nullptr);
  SetTimer(hwnd(), kTimerProgress, kProgressInterval, nullptr);
  Animate_Play(Item(IDC_ANIMATE_FILE_COPY), 0, -1, -1);
}

void TFormHTTP::Centre() {
  RECT r;
  GetWindowRect(hwnd(), &r);
  int width = r.right - r.left;
  int height = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormHTTP::ButtonCancelClick() { TransferCancelClicked(); }

void TFormHTTP::TimerStatusChkTimer() {
  UpdateProgressBar();  // the worker's last report, before its job is let go
  if (TransferTimerTick()) FinishTransfer();
}

void TFormHTTP::FinishTransfer() {
  StopTimers();
  if (tavisnap::FinishTransfer()) {
    Animate_Stop(Item(IDC_ANIMATE_FILE_COPY));
    ShowWindow(hwnd(), SW_HIDE);
  }
}

void TFormHTTP::StopTimers() {
  KillTimer(hwnd(), kTimerStatusChk);
  KillTimer(hwnd(), kTimerProgress);
}

void TFormHTTP::UpdateProgressBar() {
  TransferProgress progress = CurrentTransferProgress();
  if (progress.ProgressMax < 0) return;  // keeps the last position until the first report
  HWND bar = Item(IDC_PROGRESS_BAR);
  if (progress.ProgressMax != bar_max_) {
    bar_max_ = progress.ProgressMax;
    bar_shift_ = 0;
    while ((bar_max_ >> bar_shift_) > INT_MAX) ++bar_shift_;
    SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(bar_max_ >> bar_shift_));
  }
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(progress.Position >> bar_shift_), 0);
}

}  // namespace tavisnap
