#include "app/main_window_win.h"

#include <gtest/gtest.h>

#include "mainwindow/mainwindow_resource.h"

namespace tavisnap::testing {

HWND WaitForMainWindow(DWORD pid, Millis timeout) {
  return WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", pid, timeout);
}

void AddAddress(DWORD pid, HWND main, const std::wstring& name, const std::wstring& mail) {
  PostCommand(main, IDM_MenuAddrListAdd);
  HWND nameEdit = FindChildById(main, IDC_Edit_add_name);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(nameEdit) != FALSE; }))
      << "the address page did not open";
  SetText(nameEdit, name);
  SetText(FindChildById(main, IDC_Edit_add_mailadr), mail);
  Click(FindChildById(main, IDC_Button_exec));
  auto box = ExpectMessageBox(pid, IDOK);
  ASSERT_TRUE(box.has_value());
  ASSERT_EQ(box->text, L"メールアドレスを追加しました");
}

void ChooseRecipient(DWORD pid, HWND main, int index, const char* screenshot) {
  PostCommand(main, IDM_MenuSetTo);
  HWND list = FindChildById(main, IDC_Main_ComboBox_dst_list);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(list) != FALSE; }))
      << "the recipient page did not open";
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, CB_GETCOUNT, 0, 0) > index; }));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_Main_ComboBox_dst_list, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  Click(FindChildById(main, IDC_Button_exec));
  auto box = ExpectMessageBox(pid, IDOK);
  ASSERT_TRUE(box.has_value());
  ASSERT_EQ(box->text, L"送信先を設定しました");
  if (screenshot) {
    Pump(300ms);
    SaveScreenshot(screenshot);
  }
  PostCommand(main, IDM_MenuClose);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
}

std::wstring CurrentRecipient(HWND main) {
  // Right after a window of the program closed its thread may be busy for a while: an
  // answer that does not come is not an empty text.
  HWND display = FindChildById(main, IDC_StaticText_dst_meailadr_dsp);
  DWORD_PTR length = 0;
  WaitUntil([&] {
    return SendMessageTimeoutW(display, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) !=
           0;
  });
  return TextOf(display);
}

std::vector<std::wstring> ChooseHotKeyEntry(DWORD pid, HWND main, int menuId, int boxes) {
  std::vector<std::wstring> texts;
  PostCommand(main, menuId);
  while (static_cast<int>(texts.size()) < boxes) {
    auto box = ExpectMessageBox(pid, IDOK, 10s);
    if (!box) break;
    texts.push_back(box->text);
  }
  return texts;
}

void ExitThroughTheTray(HWND main, Process& process) {
  PostCommand(main, IDM_PMenuTrayExit);
  ASSERT_TRUE(ExpectMessageBox(process.pid, IDOK).has_value());
  ASSERT_TRUE(process.Wait(15s).has_value()) << "the program did not end";
}

}  // namespace tavisnap::testing
