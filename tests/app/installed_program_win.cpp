#include "app/installed_program_win.h"

#include "win/text_win.h"

#include <stdexcept>

namespace tavisnap::testing {

InstalledProgram::InstalledProgram() : dir_(MakeTempDir("tavisnap")) {
  std::string installed = Env("TAVISNAP_INSTALL_DIR");
  if (installed.empty()) throw std::runtime_error("no installation (tools/wine-run --install)");
  if (installed.back() != '\\') installed += '\\';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(installed + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + installed);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring from = Widen(installed) + found.cFileName, to = Widen(dir_) + found.cFileName;
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
      FindClose(search);
      throw std::runtime_error("cannot copy the installation from " + installed);
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::unique_ptr<Process> InstalledProgram::Start(const std::wstring& args) const {
  return Launch(Widen(exe()), args, Widen(dir_));
}

void InstalledProgram::SetSystemValue(const std::string& key, const std::string& value) const {
  std::string ini = ReadFileBytes(systemIni());
  size_t begin = ini.find("\r\n" + key + "=");
  if (begin == std::string::npos) throw std::runtime_error("no line " + key + " in system.ini");
  begin += 2 + key.size() + 1;
  ini.replace(begin, ini.find("\r\n", begin) - begin, Cp932(value));
  WriteFileBytes(systemIni(), ini);
}

void InstalledProgram::RemoveSystemIni() const {
  if (!DeleteFileW(Widen(systemIni()).c_str()))
    throw std::runtime_error("cannot remove system.ini");
}

bool InstalledProgram::SystemIniHas(const std::string& line) const {
  return WaitUntil(
      [&] {
        try {
          return ReadFileBytes(systemIni()).find("\r\n" + line + "\r\n") != std::string::npos;
        } catch (const std::runtime_error&) {
          return false;
        }
      },
      5s);
}

}  // namespace tavisnap::testing
