// Whether a published version is newer than the program's own.
#pragma once

#include <string>

namespace tavisnap {

// Compares the dotted parts as numbers (2.0.10 is newer than 2.0.9; missing trailing parts
// count as 0). A latest version with a part that is not a decimal number is never newer;
// neither is a current one, except the empty text (no version block), which anything
// published is newer than.
bool IsNewerVersion(const std::string& current, const std::string& latest);

}  // namespace tavisnap
