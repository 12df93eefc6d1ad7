#include "service/form_http_win.h"

#include <commctrl.h>

#include <climits>

#include "service/form_http_res.h"
#include "service/transfer.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr char kCaption[] = "タビスナップ送信中";
constexpr int kAnimationResource = 161;  // shell32's file-copy animation

constexpr Placement kPlacements[] = {
    {IDC_AnimateFileCopy, 14, 8, 272, 60},
    {IDC_ProgressBar, 14, 74, 272, 25},
    {IDC_ButtonCancel, 73, 111, 155, 28, 20},
};
constexpr DialogLayout kLayout{300, 147, LayoutFont{L"ＭＳ Ｐゴシック", 11}, kPlacements};

}  // namespace

TFormHTTP::TFormHTTP(HWND owner, std::function<void()> force_foreground)
    : forceForeground_(std::move(force_foreground)) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Create(IDD_FormHTTP, owner);
  FormHTTP = this;
}

TFormHTTP::~TFormHTTP() {
  if (FormHTTP == this) FormHTTP = nullptr;
  if (hwnd()) StopTimers();
  if (shell32_) FreeLibrary(shell32_);
}

const DialogLayout* TFormHTTP::Layout() const {
  return &kLayout;
}

bool TFormHTTP::OnInit() {
  OpenAnimation();
  return true;
}

bool TFormHTTP::OnCommand(int id, int code) {
  if (id == IDC_ButtonCancel && code == BN_CLICKED) ButtonCancelClick();
  return true;  // IDCANCEL (Esc) and IDOK are ignored: only the button cancels
}

void TFormHTTP::OnTimer(UINT_PTR id) {
  if (id == kTimerStatusChk) TimerStatusChkTimer();
  if (id == kTimerProgress) UpdateProgressBar();
}

void TFormHTTP::OpenAnimation() {
  // Wine may lack the animation; the control then simply stays empty.
  shell32_ = LoadLibraryW(L"shell32.dll");
  if (shell32_) {
    Animate_OpenEx(Item(IDC_AnimateFileCopy), shell32_, MAKEINTRESOURCEW(kAnimationResource));
  }
}

void TFormHTTP::Show() {
  FormShow();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_ButtonCancel)), TRUE);
}

void TFormHTTP::FormShow() {
  if (forceForeground_) forceForeground_();
  SetWindowTextW(hwnd(), Widen(kCaption).c_str());
  TransferShown();
  CentreOnWorkArea(hwnd());
  SetTimer(hwnd(), kTimerStatusChk, kStatusInterval, nullptr);
  SetTimer(hwnd(), kTimerProgress, kProgressInterval, nullptr);
  Animate_Play(Item(IDC_AnimateFileCopy), 0, -1, -1);
}
void TFormHTTP::ButtonCancelClick() {
  TransferCancelClicked();
}

void TFormHTTP::TimerStatusChkTimer() {
  UpdateProgressBar();  // the worker's last report, before its job is let go
  if (TransferTimerTick()) FinishTransfer();
}

void TFormHTTP::FinishTransfer() {
  StopTimers();
  if (tavisnap::FinishTransfer()) {
    Animate_Stop(Item(IDC_AnimateFileCopy));
    ShowWindow(hwnd(), SW_HIDE);
  }
}

void TFormHTTP::CloseAtOnce() {
  StopTimers();
  tavisnap::FinishTransfer();
  Animate_Stop(Item(IDC_AnimateFileCopy));
  ShowWindow(hwnd(), SW_HIDE);
}

void TFormHTTP::StopTimers() {
  KillTimer(hwnd(), kTimerStatusChk);
  KillTimer(hwnd(), kTimerProgress);
}

void TFormHTTP::UpdateProgressBar() {
  TransferProgress progress = CurrentTransferProgress();
  if (progress.ProgressMax < 0) return;  // keeps the last position until the first report
  HWND bar = Item(IDC_ProgressBar);
  if (progress.ProgressMax != barMax_) {
    barMax_ = progress.ProgressMax;
    barShift_ = 0;
    while ((barMax_ >> barShift_) > INT_MAX) ++barShift_;
    SendMessageW(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(barMax_ >> barShift_));
  }
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(progress.Position >> barShift_), 0);
}

}  // namespace tavisnap
