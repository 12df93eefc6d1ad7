// The diagnostic line: "[DEBUG:  <date> <time>] |<text>|". On Windows it goes to the
// debugger output (OutputDebugString) with the user's short date and long time; on
// other systems to stderr, and only when TAVISNAP_DEBUG is set.
#pragma once

#include <string>
#include <string_view>

namespace tavisnap {

std::string BuildDebugLine(std::string_view date, std::string_view time, std::string_view text);

// The current local date and time, each as the platform formats it.
struct LocalDateTime {
  std::string date;
  std::string time;
};
LocalDateTime CurrentLocalDateTime();

void DebugLog(std::string_view text);

}  // namespace tavisnap
