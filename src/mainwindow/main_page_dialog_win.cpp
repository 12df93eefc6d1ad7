#include "mainwindow/main_page_dialog_win.h"

#include <uxtheme.h>

#include "core/app_error.h"

namespace tavisnap {

MainPageDialog::MainPageDialog(int templateId, HWND mainWindow) {
  Create(templateId, mainWindow);
  if (!hwnd()) throw AppError("メインウィンドウのページを作成できません");
  // The page shows the tab control's body behind it under visual styles.
  EnableThemeDialogTexture(hwnd(), ETDT_ENABLETAB);
}

HWND MainPageDialog::FirstTabStop() const {
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) {
      return child;
    }
  }
  return nullptr;
}

INT_PTR MainPageDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return FALSE;  // the main window places the focus
    case WM_COMMAND:
      SendMessageW(GetParent(hwnd()), WM_COMMAND, wp, lp);
      return TRUE;
  }
  return FALSE;
}

}  // namespace tavisnap
