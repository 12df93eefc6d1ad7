#include <windows.h>

#include "core/debug_log.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

std::string DateText() {
  wchar_t buf[128];
  int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf,
                          static_cast<int>(std::size(buf)), nullptr);
  return n > 0 ? Narrow(buf) : std::string();
}

std::string TimeText() {
  wchar_t buf[128];
  int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buf,
                          static_cast<int>(std::size(buf)));
  return n > 0 ? Narrow(buf) : std::string();
}

}  // namespace

LocalDateTime CurrentLocalDateTime() {
  return {DateText(), TimeText()};
}

void DebugLog(std::string_view text) {
  LocalDateTime now = CurrentLocalDateTime();
  OutputDebugStringW(Widen(BuildDebugLine(now.date, now.time, text)).c_str());
}

}  // namespace tavisnap
