// The program's own version block: its strings, and the version the program calls its
// own (ProductVersion without its last dotted part).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavisnap {

inline constexpr char kVersionInfoError[] = "バージョン情報取得エラー";

// What the platform tells about a version block.
struct VersionBlock {
  bool present = false;
  std::vector<uint32_t> translations;  // language in the low 16 bits, code page in the high
  // The string at a "\StringFileInfo\..." path, UTF-8; empty when absent or empty.
  std::function<std::string(const std::string& path)> query;
};

// "\StringFileInfo\" + language and code page as 8 upper-case hex digits + "\" + key.
std::string VersionStringPath(uint32_t translation, const std::string& key);

// The key's string from the block's first translation; empty without a block. Throws
// AppError(kVersionInfoError) when the block has no translation table.
std::string ReadVersionString(const VersionBlock& block, const std::string& key);

// The running program file's block (none natively).
VersionBlock OwnVersionBlock();

// One string of the program's own version block (ProductVersion, ProductName, ...).
std::string ReadVersionInfo(const std::string& key);

// The text before the last ".", unless there is none or it is the first character.
std::string WithoutLastPart(const std::string& version);

std::string GetCurrentVersion();

}  // namespace tavisnap
