// The Help menus of the installed program: the version box from every menu, and the
// readme and help page handed to the shell, caught by stand-in default handlers.
#include <gtest/gtest.h>

#include "account/form_init_res.h"
#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "update_wine_support.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kVersionBox[] =
    L"製品名：タビスナップ　バージョン：2.0.1\r\n"
    L"\r\n"
    L"Copyright (C) 2026 Tavisnap Project\r\n"
    L"--------------------------------------------------------------\r\n"
    L"タビスナップはデスクトップ画像のスクリーンショットを、\r\n"
    L"インターネットを利用し簡単操作で相手に見てもらう ASP サービスです。\r\n";

void SetClassesValue(const std::wstring& key, const std::wstring& value) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &h, nullptr),
            ERROR_SUCCESS)
      << Narrow(key);
  RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

// Text files and web addresses open with copies of the stand-in in this test's prefix.
struct StandInHandlers {
  std::string dir = MakeTempDir("handlers") + "\\";
  std::string text = dir + "text-handler.exe";
  std::string web = dir + "web-handler.exe";

  StandInHandlers() {
    CopyStandIn(text);
    CopyStandIn(web);
    SetClassesValue(L".txt", L"TavisnapTest.txt");
    SetClassesValue(L"TavisnapTest.txt\\shell\\open\\command", L"\"" + Widen(text) + L"\" \"%1\"");
    for (const wchar_t* scheme : {L"http", L"https"}) {
      SetClassesValue(std::wstring(scheme) + L"\\shell\\open\\command",
                      L"\"" + Widen(web) + L"\" \"%1\"");
    }
  }
};

// F1 as the keyboard gives it (a posted key message makes no help request).
void PressF1In(HWND window) {
  SetForegroundWindow(window);
  WaitUntil([&] { return GetForegroundWindow() == window; }, 3s);
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_F1;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

class HelpEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    Control("_control/reset", {});
    process_ = program_.Start();
    main_ = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process_->pid, 30s);
    ASSERT_NE(main_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (account_ = AccountWindow(process_->pid)) != nullptr; }));
  }

  InstalledProgram program_;
  std::unique_ptr<Process> process_;
  HWND main_ = nullptr;
  HWND account_ = nullptr;
};

TEST_F(HelpEntries, EveryVersionEntryShowsTheSameBox) {
  struct Entry {
    const char* name;
    HWND* window;
    int id;
  } entries[] = {
      {"main menu", &main_, IDM_MenuVersion},
      {"tray menu", &main_, IDM_pMenuVersion},
      {"account window", &account_, IDM_IniMenuVersion},
  };
  for (const Entry& e : entries) {
    PostCommand(*e.window, e.id);
    auto box = WaitForMessageBox(process_->pid);
    ASSERT_TRUE(box.has_value()) << e.name;
    EXPECT_EQ(box->caption, L"タビスナップ　バージョン情報") << e.name;
    EXPECT_EQ(box->text, kVersionBox) << e.name;
    EXPECT_EQ(box->buttons.size(), 1u) << e.name;
    AnswerMessageBox(*box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); })) << e.name;
  }
}

TEST_F(HelpEntries, ReadmeAndHelpPageGoToTheShellsDefaultHandlers) {
  StandInHandlers handlers;
  std::string readme = program_.dir() + "readme.txt";
  std::string url = Env("TAVISNAP_SERVICE_URL");
  std::string help = url.substr(0, url.size() - 1) + "/help.html";  // HOME_URL + "/help.html"

  struct Entry {
    const char* name;
    HWND* window;
    int id;  // 0: the F1 key
    const std::string* handler;
    const std::string* target;
  } entries[] = {
      {"main readme", &main_, IDM_MenuReadme, &handlers.text, &readme},
      {"tray readme", &main_, IDM_pMenuReadme, &handlers.text, &readme},
      {"account readme", &account_, IDM_IniMenuReadme, &handlers.text, &readme},
      {"main help", &main_, IDM_MenuHelpDisp, &handlers.web, &help},
      {"tray help", &main_, IDM_pMenuHelpDisp, &handlers.web, &help},
      {"account help", &account_, IDM_IniMenuHelpDisp, &handlers.web, &help},
      {"account F1", &account_, 0, &handlers.web, &help},
      {"main window F1", &main_, 0, &handlers.web, &help},
  };
  for (const Entry& e : entries) {
    DeleteFileW(Widen(*e.handler + ".ran").c_str());
    if (*e.window == main_ && e.id == 0) {
      // The tray opens the main window only once the account window is done with.
      ShowWindow(main_, SW_SHOWNORMAL);
      ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; })) << e.name;
    }
    if (e.id != 0) {
      PostCommand(*e.window, e.id);
    } else {
      PressF1In(*e.window);
    }
    std::string runs = WaitForRuns(*e.handler);
    EXPECT_NE(runs.find(*e.target), std::string::npos) << e.name << ": " << runs;
  }
}

}  // namespace
}  // namespace tavisnap::testing
