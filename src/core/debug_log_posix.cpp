#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/debug_log.h"

namespace tavisnap {

LocalDateTime CurrentLocalDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[32], time[32];
  std::strftime(date, sizeof date, "%Y/%m/%d", &local);
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  return {date, time};
}

void DebugLog(std::string_view text) {
  if (std::getenv("TAVISNAP_DEBUG") == nullptr) return;
  LocalDateTime now = CurrentLocalDateTime();
  std::string line = BuildDebugLine(now.date, now.time, text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace tavisnap
