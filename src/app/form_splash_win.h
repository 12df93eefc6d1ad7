// The splash window shown while start-up looks for a connection: borderless, centred,
// the product logo at its top left corner.
#pragma once

#include "win/window_win.h"

namespace tavisnap {

class TFormSplash : public Window {
 public:
  explicit TFormSplash(HBITMAP logo);
  ~TFormSplash() override;

  // Centres the window and expands it from its centre over 800 ms.
  void ShowAnimated();
  void Close();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HBITMAP logo_;
};

}  // namespace tavisnap
