// Plays the silent installer for the launcher's tests: appends the file name it was
// started as and its parameters, one UTF-8 line, to installer-calls.txt beside itself.
#include <windows.h>

#include <string>

#include "win/text_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring self(MAX_PATH, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
  // The command line without the program's name, as the shell composed it.
  std::wstring line = GetCommandLineW();
  size_t end = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
  std::wstring parameters = end >= line.size() ? L"" : line.substr(end);
  parameters.erase(0, parameters.find_first_not_of(L' '));
  const std::wstring folder = self.substr(0, self.find_last_of(L'\\') + 1);
  HANDLE file = CreateFileW((folder + L"installer-calls.txt").c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::string record =
      tavisnap::Narrow(self.substr(folder.size())) + "|" + tavisnap::Narrow(parameters) + "\n";
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
