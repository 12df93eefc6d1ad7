#include "core/debug_log.h"

namespace tavisnap {

std::string BuildDebugLine(std::string_view date, std::string_view time, std::string_view text) {
  std::string line = "[DEBUG:  ";
  line += date;
  line += ' ';
  line += time;
  line += "] |";
  line += text;
  line += '|';
  return line;
}

}  // namespace tavisnap
