#include <windows.h>

#include <string>

#include "core/codepage.h"
#include "win/text_win.h"

namespace tavisnap {

constexpr UINT kCp932 = 932;

bool IsCp932Representable(char32_t cp) {
  if (cp < 0x80) return true;
  if (cp > 0xFFFF) return false;  // code page 932 has nothing outside the BMP
  wchar_t w = static_cast<wchar_t>(cp);
  char buf[4];
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, &w, 1, buf, sizeof buf, nullptr,
                              &usedDefault);
  return n > 0 && !usedDefault;
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  // Without best fit Windows writes the JIS forms as "?"; with it, many more look-alikes.
  for (wchar_t& w : wide) w = static_cast<wchar_t>(Cp932Counterpart(w));
  int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(),
                              static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      out.data(), n, "?", nullptr);
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  if (cp932.empty()) return {};
  int n = MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(), n);
  return Narrow(wide);
}

}  // namespace tavisnap
