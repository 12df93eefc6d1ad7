#include <windows.h>

#include <algorithm>

#include "core/app_error.h"
#include "core/password_store.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

// Relative to HKEY_CURRENT_USER: a subkey name must not start with "\".
constexpr wchar_t kKey[] = L"Software\\tavisV01\\2010";
constexpr wchar_t kValue[] = L"pdata";

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void SavePasswordData(const std::string& encoded) {
  RegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, key.Out(), nullptr) != ERROR_SUCCESS) {
    throw AppError(kRegistryWriteError);
  }
  std::wstring data = Widen(encoded);
  auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key.get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     bytes) != ERROR_SUCCESS) {
    throw AppError(kRegistryWriteError);
  }
}

std::string LoadPasswordData() {
  RegKey key;
  LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.Out());
  if (rc == ERROR_FILE_NOT_FOUND) return {};
  if (rc != ERROR_SUCCESS) throw AppError(kRegistryReadError);

  std::wstring data;
  DWORD type = 0;
  DWORD size = 0;
  for (;;) {
    rc = RegQueryValueExW(key.get(), kValue, nullptr, &type,
                          data.empty() ? nullptr : reinterpret_cast<BYTE*>(data.data()), &size);
    if (rc == ERROR_FILE_NOT_FOUND) return {};
    if (rc == ERROR_SUCCESS && !data.empty()) break;
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) throw AppError(kRegistryReadError);
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(kRegistryReadError);
    if (size == 0) return {};
    // Room for a terminator the stored data may lack; the value can grow between calls.
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(kRegistryReadError);
  data.resize(std::min<size_t>(size / sizeof(wchar_t), data.size()));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  return Narrow(data);
}

}  // namespace tavisnap
