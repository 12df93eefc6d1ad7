// The delivered programs together under Wine, over the installation a user has in
// C:\Program Files\tavisnap (tools/wine-run --install, pointed at the local service): the
// launcher ends the running Tavisnap and starts the real silent installer, which keeps
// the installed system.ini of an earlier version with its address book; the updated
// program's first start carries that book into the user's own file and signs in; a fresh
// silent installation has every part and grants nobody anything, and its uninstaller
// removes the program's files.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "setup/launcher_win.h"
#include "support/driver_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\tavisnap";

std::string InstallDir() {
  std::string dir = Env("TAVISNAP_INSTALL_DIR");
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

bool IconPresent(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = 1;
  data.uFlags = NIF_TIP;
  wcscpy(data.szTip, L"タビスナップ");
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// A value of the installation's entry among the installed programs, "" without one.
std::string UninstallValue(const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return Narrow(value);
}

std::string StartMenuEntry() {
  wchar_t programs[MAX_PATH];
  SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
  return Narrow(programs) + "\\タビスナップ\\タビスナップ.lnk";
}

std::string ProductVersionOf(const std::string& file) {
  std::wstring path = Widen(file);
  DWORD handle = 0, size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  std::string block(size, '\0');
  if (!size || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\ProductVersion",
                      reinterpret_cast<void**>(&value), &length)) {
    return {};
  }
  return Narrow(value);
}

// Done when the last step, the entry among the installed programs, is there.
bool Installed() {
  return !UninstallValue(L"DisplayVersion").empty();
}

TEST(Installer, TheLauncherEndsARunningTavisnapAndTheUpdateKeepsItsAddressBook) {
  const std::string dir = InstallDir();
  ASSERT_FALSE(dir.empty()) << "runs over an installation (tools/wine-run --install)";
  const std::string ini = dir + "system.ini";
  std::string book = ReadFileBytes(ini);
  const size_t list = book.find("[MAILLIST]\r\n");
  ASSERT_NE(list, std::string::npos);
  book.insert(list + 12, Cp932("NAME1=山田 花子\r\nMAIL1=hanako@example.jp\r\n"));
  WriteFileBytes(ini, book);

  auto running = Launch(Widen(dir + "tavisnap.exe"), L"", Widen(dir));
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", running->pid, 30s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IconPresent(main); }, 30s)) << "no tray icon";

  ASSERT_TRUE(FileExists(ExeDir() + "tavisnap_setup_silent.exe")) << "not built: no makensis";
  Launcher launcher(true, "tavisnap_setup_silent.exe");
  ASSERT_NE(launcher.window(), nullptr);
  launcher.PressAlt(L'i');
  ASSERT_TRUE(ExpectMessageBox(launcher.process().pid, IDYES).has_value());
  ASSERT_TRUE(running->Wait(15s).has_value()) << "Tavisnap did not end";
  EXPECT_FALSE(IconPresent(main)) << "its tray icon stayed";
  EXPECT_TRUE(launcher.process().Wait(15s).has_value()) << "the launcher did not end";
  ASSERT_TRUE(WaitUntil(Installed, 60s)) << "the installer did not run";
  EXPECT_EQ(ReadFileBytes(ini), book) << "the update changed system.ini";

  // An earlier version kept the account and the book in the installed file only: its
  // user has no file of their own yet. The updated program signs in at the local
  // service, with the book carried over.
  std::filesystem::remove_all(Widen(UserFolder(true)));
  auto updated = Launch(Widen(dir + "tavisnap.exe"), L"", Widen(dir));
  HWND account = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (account = AccountWindow(updated->pid)) != nullptr; }, 30s))
      << "the account window did not open";
  RegisterThenSignIn(updated->pid, account, "installed-user@example.jp", false);
  HWND main2 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", updated->pid, 5s);
  EXPECT_TRUE(WaitUntil([&] { return IconPresent(main2); }, 10s));
  const std::string own = UserFolder(true) + "system.ini";
  EXPECT_NE(ReadFileBytes(own).find(Cp932("NAME1=山田 花子\r\nMAIL1=hanako@example.jp")),
            std::string::npos);
  EXPECT_EQ(ReadFileBytes(ini), book) << "the program wrote the installed file";
  PostMessageW(main2, WM_QUIT, 0, 0);
  EXPECT_TRUE(updated->Wait(15s).has_value());
}

// Runs after the test above: it removes the installation that one works over.
TEST(Installer, InstallsSilentlyIntoProgramFilesAndUninstalls) {
  const std::string dir = InstallDir();
  ASSERT_FALSE(dir.empty());
  for (const char* file : {"tavisnap.exe", "system.ini", "readme.txt", "uninstall.exe"}) {
    DeleteFileW(Widen(dir + file).c_str());
  }
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);

  const std::string installer = ExeDir() + "tavisnap_setup_silent.exe";
  EXPECT_EQ(ProductVersionOf(installer), TAVISNAP_PROJECT_VERSION);
  auto install = Launch(Widen(installer), L"/SILENT");
  bool windowShown = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopWindows(install->pid)) windowShown |= IsWindowVisible(w) != FALSE;
        return WaitForSingleObject(install->handle, 0) == WAIT_OBJECT_0;
      },
      60s))
      << "the installer did not end";
  EXPECT_FALSE(windowShown) << "not silent";
  for (const char* file : {"tavisnap.exe", "system.ini", "readme.txt", "uninstall.exe"}) {
    EXPECT_TRUE(FileExists(dir + file)) << file;
  }
  // The folder is the administrator's: nothing in it is made for the users to write, and
  // no rights are granted (Wine's icacls is a stub, so the script itself is checked).
  EXPECT_EQ(GetFileAttributesW(Widen(dir + "capture").c_str()), INVALID_FILE_ATTRIBUTES);
  std::string script = ReadFileBytes(TAVISNAP_INSTALLER_SCRIPT);
  for (char& c : script) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(script.find("icacls"), std::string::npos) << "the installer grants rights";
  EXPECT_EQ(script.find("accesscontrol"), std::string::npos) << "the installer grants rights";
  EXPECT_NE(ReadFileBytes(dir + "system.ini").find("\r\nSERVICE_URL=https://"), std::string::npos);
  EXPECT_TRUE(FileExists(StartMenuEntry()));
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), TAVISNAP_PROJECT_VERSION);
  EXPECT_EQ(UninstallValue(L"InstallLocation") + "\\", dir);

  // What an earlier version left beside the program goes with it.
  CreateDirectoryW(Widen(dir + "capture").c_str(), nullptr);
  WriteFileBytes(dir + "capture\\capture.jpg", "picture");
  auto uninstall = Launch(Widen(dir + "uninstall.exe"), L"/S");
  // The uninstaller goes on from a copy of itself in the temporary folder.
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(dir + "uninstall.exe") && !Installed(); }, 60s))
      << "the uninstaller did not finish";
  for (const char* file : {"tavisnap.exe", "readme.txt", "capture\\capture.jpg"}) {
    EXPECT_FALSE(FileExists(dir + file)) << file;
  }
  EXPECT_EQ(GetFileAttributesW(Widen(dir + "capture").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(FileExists(StartMenuEntry()));
  EXPECT_TRUE(FileExists(dir + "system.ini")) << "the account and address book must stay";
}

}  // namespace
}  // namespace tavisnap::testing
