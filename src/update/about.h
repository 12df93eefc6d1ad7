// What the help entries hand to the shell, and the text of the version box.
#pragma once

#include <string>

namespace tavisnap {

inline constexpr char kVersionBoxCaption[] = "タビスナップ　バージョン情報";

// HOME_URL and "/help.html" joined as they are.
std::string HelpPageAddress(const std::string& homeUrl);

// AppDir (ending with its separator) and "readme.txt".
std::string ReadmePath(const std::string& appDir);

struct VersionStrings {
  std::string productName;
  std::string productVersion;  // cut before its last "." in the box
  std::string legalCopyright;  // the copyright line
};

// The version box's lines, each ended by CR LF.
std::string VersionBoxText(const VersionStrings& strings);

}  // namespace tavisnap
