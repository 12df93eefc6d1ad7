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

// kDurable: the file is on the disk when the call returns. kScratch: a file that is read
// again within the run and worthless after a crash (the capture file); skipping the
// flush saves milliseconds the user waits for.
enum class FileDurability { kDurable, kScratch };

// Replaces the file at path with bytes so that a failed write leaves the old file
// untouched and a reader sees either the old file or the new one, whole: the bytes go to
// a new file in the same folder, are flushed to the disk (kDurable, so that the same
// holds after a crash), and the new file then takes the old one's name. Returns false
// (and leaves the old file untouched) on any failure.
bool AtomicWriteFile(const std::string& path, std::string_view bytes,
                     FileDurability durability = FileDurability::kDurable);

}  // namespace tavisnap
