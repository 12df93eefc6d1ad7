#include "mainwindow/menu_commands.h"

#include "mainwindow/mainwindow_resource.h"

namespace tavisnap {
namespace {

struct Row {
  int mainId;
  int trayId;
  MenuAction action;
  int hotKeyChoice = -1;
};

constexpr Row kRows[] = {
    {IDM_MenuSetTo, IDM_PMenuTraySetTo, MenuAction::SetTo},
    {IDM_MenuSend, IDM_PMenuTraySend, MenuAction::Send},
    {IDM_MenuResend, IDM_PMenuTrayResend, MenuAction::Resend},
    {IDM_MenuDelete, IDM_PMenuTrayDelete, MenuAction::Delete},
    {IDM_MenuViewer, IDM_PMenuViewer, MenuAction::Viewer},
    {IDM_MenuClose, IDM_PMenuTrayClose, MenuAction::Close},
    {IDM_MenuProgEnd, IDM_PMenuTrayExit, MenuAction::Exit},
    {IDM_MenuAddrListAdd, IDM_PMenuTraySetAddrListAdd, MenuAction::AddrAdd},
    {IDM_MenuAddrListEdit, IDM_PMenuTraySetAddrListEdit, MenuAction::AddrEdit},
    {IDM_MenuAddrListDel, IDM_PMenuTraySetAddrListDel, MenuAction::AddrDel},
    {IDM_CSVL1, IDM_CsvLump, MenuAction::CsvImport},
    {IDM_CSVE1, IDM_export, MenuAction::CsvExport},
    {IDM_MenuSetPersonalInfo, IDM_PMenuTraySetPersonalInfo, MenuAction::UserInfo},
    {IDM_MenuSetPersonalUserIdEdit, IDM_PMenuTraySetPersonalUserIdEdit, MenuAction::UserIdEdit},
    {IDM_MenuSetPersonalUserPwdEdit, IDM_PMenuTraySetPersonalUserPwdEdit, MenuAction::PwdEdit},
    {IDM_MenuSetHotKey_PS, IDM_PMenuTraySetHotKey_PS, MenuAction::HotKey, 0},
    {IDM_MenuSetHotKey_P, IDM_PMenuTraySetHotKey_P, MenuAction::HotKey, 1},
    {IDM_MenuSetHotKey_O, IDM_PMenuTraySetHotKey_O, MenuAction::HotKey, 2},
    {IDM_MenuSetHotKey_S, IDM_PMenuTraySetHotKey_S, MenuAction::HotKey, 3},
    {IDM_MenuSetHotKey_C, IDM_PMenuTraySetHotKey_C, MenuAction::HotKey, 4},
    {IDM_MenuSetBasicOnOff, IDM_PMenuTrayBasicAuthOnOff, MenuAction::BasicAuth},
    {IDM_MenuSetOtherPwdNotif, IDM_PMenuTraySetOtherPwdNotif, MenuAction::PwdNotify},
    {IDM_MenuSetOtherAutologin, IDM_PMenuTraySetOtherAutologin, MenuAction::AutoLogin},
    {IDM_MenuHelpDisp, IDM_pMenuHelpDisp, MenuAction::HelpDisp},
    {IDM_MenuReadme, IDM_pMenuReadme, MenuAction::Readme},
    {IDM_MenuVersion, IDM_pMenuVersion, MenuAction::Version},
};

}  // namespace

std::optional<MenuCommand> MenuCommandFor(int id) {
  for (const Row& row : kRows) {
    if (id == row.mainId) return MenuCommand{row.action, false, row.hotKeyChoice};
    if (id == row.trayId) return MenuCommand{row.action, true, row.hotKeyChoice};
  }
  return std::nullopt;
}

MenuIdPair MenuIdsOf(MenuAction action, int hotKeyChoice) {
  for (const Row& row : kRows) {
    if (row.action == action && row.hotKeyChoice == hotKeyChoice) return {row.mainId, row.trayId};
  }
  return {};
}

}  // namespace tavisnap
