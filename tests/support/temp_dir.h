// A fresh folder under the system's temporary folder, removed with its content.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/file_util.h"

namespace tavisnap::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("tavisnap-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directory(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // UTF-8 path of the folder, without a trailing separator, and of a file in it.
  std::string str() const { return PathToUtf8(path_); }
  std::string operator/(const std::string& name) const { return PathToUtf8(path_ / U8Path(name)); }
  // Writes bytes to a file of the folder and returns the file's UTF-8 path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::string path = *this / name;
    std::ofstream(U8Path(path), std::ios::binary | std::ios::trunc) << bytes;
    return path;
  }

 private:
  std::filesystem::path path_;
};

// Writes bytes as they are (no code page or line-end conversion).
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(U8Path(path), std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  return ReadWholeFile(path).value_or("<missing>");
}

}  // namespace tavisnap::testing
