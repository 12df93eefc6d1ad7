// One page of the main window's page control: a child dialog from a template, laid
// over the tab control's display area. Its control notifications go to the main window,
// which owns every decision.
#pragma once

#include <windows.h>


#include "win/window_win.h"

namespace tavisnap {

class MainPageDialog : public Dialog {
 public:
  MainPageDialog(int templateId, HWND mainWindow);

  // The page's first control that takes the focus, or none.
  HWND FirstTabStop() const;

 protected:
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace tavisnap
