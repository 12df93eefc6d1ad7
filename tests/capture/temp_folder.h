// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace tavisnap::testing {

class TempFolder {
 public:
  TempFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("tavisnap-capture-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directory(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A UTF-8 path below the folder.
  std::string operator/(const std::string& name) const {
    return reinterpret_cast<const char*>((path_ / name).u8string().c_str());
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tavisnap::testing
