// What other windows ask of the main window, as an interface, so that their logic can
// be tested without it.
#pragma once

namespace tavisnap {

class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;
  // Menu captions and enabled states from SysInfo.
  virtual void RefreshMenuStates() = 0;
  // After a successful sign-in: Send, Delete, Viewer and Set of the tray menu.
  virtual void EnableSignedInTrayItems() = 0;
  // The program's exit path. With ask, the user confirms first (Cancel is the default);
  // returns false when the user chose to stay.
  virtual bool ExitProgram(bool ask) = 0;
};

}  // namespace tavisnap
