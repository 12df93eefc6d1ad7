#include "core/file_util.h"

#include <fstream>
#include <iterator>

namespace tavisnap {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(U8Path(path), ec)) return std::nullopt;
  try {
    std::ifstream in(U8Path(path), std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    // One read of the size the file has now, then whatever it has grown by since.
    std::streamoff size = in.tellg();
    in.seekg(0);
    std::string data(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<size_t>(in.gcount()));
    if (in) data.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
  } catch (const std::exception&) {
    // libstdc++ throws instead of setting badbit when reading a folder fails.
    return std::nullopt;
  }
}

}  // namespace tavisnap
