// The transfer window: the file-copy animation, a progress bar and Cancel while the
// picture is uploaded. Created once, hidden between uploads; its close box only hides it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "win/window_win.h"

namespace tavisnap {

class TFormHTTP : public Dialog {
 public:
  const DialogLayout* Layout() const override;
  static constexpr UINT kStatusInterval = 300;   // TimerStatusChk
  static constexpr UINT kProgressInterval = 50;  // how often the bar follows the worker

  // force_foreground brings the main window in front before the window shows.
  explicit TFormHTTP(HWND owner = nullptr, std::function<void()> force_foreground = {});
  ~TFormHTTP() override;

  // Shows the window (not modal) for a new upload; RunTransfer follows.
  void Show();

  void ButtonCancelClick();
  void TimerStatusChkTimer();
  void FinishTransfer();
  // Ends the transfer and hides the window at once, also when no worker started (the
  // window would otherwise wait for the user's Cancel).
  void CloseAtOnce();

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR id) override;
  // The close box only hides the window: the upload goes on, the timer still ends it.

 private:
  enum : UINT_PTR { kTimerStatusChk = 1, kTimerProgress = 2 };

  void FormShow();
  void OpenAnimation();
  void UpdateProgressBar();
  void StopTimers();

  std::function<void()> forceForeground_;
  HMODULE shell32_ = nullptr;
  int64_t barMax_ = -1;  // the total the bar's range was last set for
  int barShift_ = 0;     // totals beyond the bar's int range are scaled down
};

// The one transfer window, while it exists.
inline TFormHTTP* FormHTTP = nullptr;

}  // namespace tavisnap
