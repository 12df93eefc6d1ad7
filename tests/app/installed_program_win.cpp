#include "app/installed_program_win.h"

#include <stdexcept>

#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

std::string ToCp932Lines(const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::wstring wide = Widen(crlf);
  int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

InstalledProgram::InstalledProgram(const std::string& systemIni) : dir_(MakeTempDir("tavisnap")) {
  std::string source = ExeDir() + "tavisnap.exe";
  if (!CopyFileW(Widen(source).c_str(), Widen(exe()).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source);
  }
  if (!systemIni.empty()) WriteFileBytes(dir_ + "system.ini", ToCp932Lines(systemIni));
}

std::unique_ptr<Process> InstalledProgram::Start(const std::wstring& args) const {
  return Launch(Widen(exe()), args, Widen(dir_));
}

std::string DefaultSystemIni(const std::string& extraSystemLines) {
  std::string service = Env("TAVISNAP_SERVICE_URL");
  std::string ca = Env("TAVISNAP_CA_FILE");
  return "[SYSTEM]\nMAILID=\nAUTOLOGIN=2\nLOGO=1\nVOICE=0\nHOTKEY=PS\nBASIC_AUTH=2\n"
         "HOME_URL=\nDST_NAME=\nDST_MAILADR=\nUPDATE_URL=\nCAPFILEDEL=2\n" +
         (service.empty() ? std::string() : "SERVICE_URL=" + service + "\n") +
         (ca.empty() ? std::string() : "CA_FILE=" + ca + "\n") + extraSystemLines +
         "\n[MAILLIST]\n";
}

}  // namespace tavisnap::testing
