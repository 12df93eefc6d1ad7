// The main window: hidden at start, found by its class and title, owner of the tray
// icon and the menus.
#pragma once

#include "win/window_win.h"

namespace tavisnap {

inline constexpr wchar_t kMainWindowClass[] = L"TFormMainTavisnap";
inline constexpr wchar_t kMainWindowTitle[] = L"タビスナップ";

class TFormMainTavisnap : public Window {
 public:
  explicit TFormMainTavisnap(HICON icon);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace tavisnap
