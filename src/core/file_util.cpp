#include "core/file_util.h"

#include <fstream>
#include <iterator>

namespace tavisnap {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(U8Path(path), ec)) return std::nullopt;
  try {
    std::ifstream in(U8Path(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
  } catch (const std::exception&) {
    // libstdc++ throws instead of setting badbit when reading a folder fails.
    return std::nullopt;
  }
}

}  // namespace tavisnap
