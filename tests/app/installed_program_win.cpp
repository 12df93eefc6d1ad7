#include "app/installed_program_win.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <stdexcept>

#include "win/text_win.h"

namespace tavisnap::testing {

std::string UserFolder(bool roaming) {
  PWSTR path = nullptr;
  if (FAILED(SHGetKnownFolderPath(roaming ? FOLDERID_RoamingAppData : FOLDERID_LocalAppData,
                                  KF_FLAG_DEFAULT, nullptr, &path))) {
    throw std::runtime_error("no profile folder");
  }
  std::string folder = Narrow(path) + "\\Tavisnap\\";
  CoTaskMemFree(path);
  return folder;
}

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
  for (bool roaming : {true, false}) {
    std::error_code ec;
    std::filesystem::remove_all(Widen(UserFolder(roaming)), ec);
    if (ec) throw std::runtime_error("cannot empty " + UserFolder(roaming));
  }
}

std::unique_ptr<Process> InstalledProgram::Start(const std::wstring& args) const {
  return Launch(Widen(exe()), args, Widen(dir_));
}

void InstalledProgram::SetSystemValue(const std::string& key, const std::string& value) const {
  if (!FileExists(systemIni())) {
    CreateDirectoryW(Widen(UserFolder(true)).c_str(), nullptr);
    WriteFileBytes(systemIni(), ReadFileBytes(installedIni()));
  }
  std::string ini = ReadFileBytes(systemIni());
  size_t begin = ini.find("\r\n" + key + "=");
  if (begin == std::string::npos) throw std::runtime_error("no line " + key + " in system.ini");
  begin += 2 + key.size() + 1;
  ini.replace(begin, ini.find("\r\n", begin) - begin, Cp932(value));
  WriteFileBytes(systemIni(), ini);
}

void InstalledProgram::RemoveSystemIni() const {
  if (!DeleteFileW(Widen(installedIni()).c_str()))
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

std::map<std::wstring, uint64_t> InstalledProgram::Listing() const {
  std::map<std::wstring, uint64_t> listing;
  const std::filesystem::path root(Widen(dir_));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    uint64_t digest = 0;
    if (entry.is_regular_file()) {
      digest = 14695981039346656037ull;  // FNV-1a
      for (unsigned char c : ReadFileBytes(Narrow(entry.path().wstring()))) {
        digest = (digest ^ c) * 1099511628211ull;
      }
    }
    listing[std::filesystem::relative(entry.path(), root).wstring()] = digest;
  }
  return listing;
}

}  // namespace tavisnap::testing
