// The version block of the running program file, through the version API.
#include "update/version_info.h"

#include <windows.h>

#include <memory>

#include "win/text_win.h"

namespace tavisnap {

VersionBlock OwnVersionBlock() {
  VersionBlock block;
  std::wstring file(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
    if (n == 0) return block;
    if (n < file.size()) {
      file.resize(n);
      break;
    }
    file.resize(file.size() * 2);
  }
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return block;
  auto data = std::make_shared<std::string>(size, '\0');
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data->data())) return block;
  block.present = true;

  void* table = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data->data(), L"\\VarFileInfo\\Translation", &table, &length) && table) {
    const auto* entries = static_cast<const DWORD*>(table);
    for (UINT i = 0; i < length / sizeof(DWORD); ++i) block.translations.push_back(entries[i]);
  }
  block.query = [data](const std::string& path) -> std::string {
    void* value = nullptr;
    UINT chars = 0;  // counts the terminating zero
    if (!VerQueryValueW(data->data(), Widen(path).c_str(), &value, &chars) || !value) return {};
    if (chars < 2) return {};
    return Narrow(std::wstring_view(static_cast<const wchar_t*>(value), chars - 1));
  };
  return block;
}

}  // namespace tavisnap
