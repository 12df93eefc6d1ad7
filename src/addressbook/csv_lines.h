// The lines of a CSV file on disk (code page 932), decoded to UTF-8. Lines end at CR, LF
// or CR LF; a final line break makes no extra line, empty lines between count. The file
// is read in pieces and only as far as needed: reading stops at the first line that is
// no text and once more lines than wanted have been seen, so that a huge file costs
// neither time nor memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavisnap {

// Longer lines are no address-book entries; such a file counts as unreadable.
inline constexpr size_t kMaxCsvLineBytes = 64 * 1024;

struct CsvLines {
  enum class Status {
    Ok,
    TooMany,     // more than maxLines lines (the lines are then incomplete)
    Unreadable,  // no file to read, a read error, a NUL byte, a line over the limit,
                 // or bytes that are no code page 932 text
  };
  Status status = Status::Ok;
  std::vector<std::string> lines;  // UTF-8
};

// Whether the name's extension, upper-cased, is ".CSV". The extension starts at the
// last "." after the last folder separator.
bool HasCsvExtension(std::string_view path);

CsvLines ReadCsvLines(const std::string& path, size_t maxLines);

// One line's bytes as UTF-8; false when they are no code page 932 text (a lead byte
// without its trail byte, an unassigned code). Every other single byte is a character,
// 0x80, 0xA0 and 0xFD-0xFF too, as the program reads system.ini.
bool DecodeCp932Line(std::string_view bytes, std::string& utf8);

}  // namespace tavisnap
