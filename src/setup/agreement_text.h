// The software-use agreement the launcher shows and reads aloud: the memo's lines, and
// the spoken form built from them.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavisnap {

// The memo's lines (UTF-8), without line breaks.
std::span<const std::string_view> AgreementLines();

// The lines joined by CR LF, as the memo holds them.
std::string AgreementMemoText();

// The lines that hold more than blanks, run together without line breaks.
std::string SpokenText(std::span<const std::string_view> lines);

}  // namespace tavisnap
