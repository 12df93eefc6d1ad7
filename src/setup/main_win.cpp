// TavisnapSetup.exe: loads the speech library, shows the launcher's window and runs the
// message loop until the window closes.
#include <windows.h>
#include <commctrl.h>

#include "setup/setup_main_res.h"
#include "setup/setup_main_win.h"
#include "setup/sound_library_win.h"
#include "win/window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tavisnap;
  SoundLibrary sound;  // before the window exists
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  TSetup_Main window(sound, LoadIconW(instance, MAKEINTRESOURCEW(IDI_TAVISNAP_SETUP)));
  if (!window.hwnd()) return 1;
  window.Show();
  return RunMessageLoop();
}
