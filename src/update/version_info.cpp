#include "update/version_info.h"

#include <cstdio>

#include "core/app_error.h"

namespace tavisnap {

std::string VersionStringPath(uint32_t translation, const std::string& key) {
  char code[9];
  std::snprintf(code, sizeof code, "%04X%04X", static_cast<unsigned>(translation & 0xFFFF),
                static_cast<unsigned>(translation >> 16));
  return "\\StringFileInfo\\" + std::string(code) + "\\" + key;
}

std::string ReadVersionString(const VersionBlock& block, const std::string& key) {
  if (!block.present) return {};
  if (block.translations.empty()) throw AppError(kVersionInfoError);
  return block.query ? block.query(VersionStringPath(block.translations.front(), key))
                     : std::string();
}

std::string ReadVersionInfo(const std::string& key) {
  return ReadVersionString(OwnVersionBlock(), key);
}

std::string WithoutLastPart(const std::string& version) {
  size_t dot = version.rfind('.');
  if (dot == std::string::npos || dot == 0) return version;
  return version.substr(0, dot);
}

std::string GetCurrentVersion() {
  return WithoutLastPart(ReadVersionInfo("ProductVersion"));
}

}  // namespace tavisnap
