// Small file helpers shared by the settings store, the capture and the viewer.
// Paths are UTF-8 strings.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavisnap {

// A filesystem path from UTF-8 (on Windows the narrow constructor would take the ANSI
// code page instead).
inline std::filesystem::path U8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& p) {
  std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file at path with bytes so that a crash or a failed write at any moment
// leaves either the old file or the new one, whole: the bytes go to a new file in the
// same folder, are flushed to the disk, and the new file then takes the old one's name.
// Returns false (and leaves the old file untouched) on any failure.
bool AtomicWriteFile(const std::string& path, std::string_view bytes);

}  // namespace tavisnap
