// The command identifiers of both menus and the action each one runs. A main-menu
// entry and its tray twin run the same action; the sender stays known by its id.
#pragma once

#include <optional>

namespace tavisnap {

enum class MenuAction {
  SetTo,   // recipient page
  Send,    // capture and send the desktop
  Resend,  // the oldest picture an upload failed to send
  Delete,  // delete the pictures kept by the service
  Viewer,
  Close,  // hide the window
  Exit,   // exit path, with its question
  AddrAdd,
  AddrEdit,
  AddrDel,
  CsvImport,
  CsvExport,
  UserInfo,
  UserIdEdit,
  PwdEdit,
  HotKey,  // one of the five hotkey choices
  BasicAuth,
  PwdNotify,
  AutoLogin,
  HelpDisp,
  Readme,
  Version,
};

struct MenuCommand {
  MenuAction action;
  bool fromTray = false;
  int hotKeyChoice = -1;  // index into HotKeyMenuChoices() for MenuAction::HotKey
};

// The command of a menu id, or none for an id that is not a menu entry of this window.
std::optional<MenuCommand> MenuCommandFor(int id);

// The entry of an action in each menu (for the hotkey action, of one choice).
struct MenuIdPair {
  int mainId = 0;
  int trayId = 0;
};
MenuIdPair MenuIdsOf(MenuAction action, int hotKeyChoice = -1);

}  // namespace tavisnap
