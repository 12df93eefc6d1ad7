// The fields of one line of an address-book CSV file (UTF-8 text, without its line
// break). Blanks and control characters (1-32) before and after a field are skipped;
// a field starting with a double quote runs to its closing quote, "" standing for one
// quote; any other field ends at a comma or at a character from 0 to 32, so an unquoted
// blank splits a field in two. A comma starts the next field, two commas give an empty
// one, and a comma ending the line gives a final empty field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavisnap {

std::vector<std::string> ReadCsvFields(std::string_view line);

}  // namespace tavisnap
