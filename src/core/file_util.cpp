#include "core/file_util.h"

#include <fstream>
#include <iterator>

namespace tavisnap {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(U8Path(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

}  // namespace tavisnap
