#include "addressbook/csv_lines.h"

#include <fstream>

#include "core/ascii_text.h"
#include "core/codepage.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
// 0x80, 0xA0 and 0xFD-0xFF included: the program's own decoder reads them as characters,
// so a name in the book can hold them and the export writes them.
bool IsSingleByte(unsigned char b) {
  return !IsCp932LeadByte(b);
}

size_t Occurrences(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

// Collects lines from the pieces of a file.
class LineSplitter {
 public:
  explicit LineSplitter(size_t maxLines) : maxLines_(maxLines) {}

  // False once the result is decided (too many lines, or a line that is no text).
  bool Feed(std::string_view piece) {
    for (char c : piece) {
      if (c == '\n' && afterCr_) {
        afterCr_ = false;
        continue;
      }
      afterCr_ = c == '\r';
      if (c == '\r' || c == '\n') {
        if (!EndLine()) return false;
      } else if (c == '\0' || current_.size() == kMaxCsvLineBytes) {
        return Fail(CsvLines::Status::Unreadable);
      } else {
        current_.push_back(c);
        pending_ = true;
      }
    }
    return true;
  }

  CsvLines Finish() {
    if (result_.status == CsvLines::Status::Ok && pending_) EndLine();
    return std::move(result_);
  }

  bool Fail(CsvLines::Status status) {
    result_.status = status;
    return false;
  }

 private:
  bool EndLine() {
    if (result_.lines.size() == maxLines_) return Fail(CsvLines::Status::TooMany);
    std::string utf8;
    if (!DecodeCp932Line(current_, utf8)) return Fail(CsvLines::Status::Unreadable);
    result_.lines.push_back(std::move(utf8));
    current_.clear();
    pending_ = false;
    return true;
  }

  size_t maxLines_;
  CsvLines result_;
  std::string current_;
  bool pending_ = false;  // bytes since the last line break
  bool afterCr_ = false;
};

}  // namespace

bool DecodeCp932Line(std::string_view bytes, std::string& utf8) {
  size_t middleDots = 0;  // 0x81 0x45, the one character a Windows decoder also substitutes
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (IsSingleByte(b)) continue;
    if (i + 1 == bytes.size()) return false;
    auto trail = static_cast<unsigned char>(bytes[++i]);
    if (!IsTrailByte(trail)) return false;
    middleDots += b == 0x81 && trail == 0x45;
  }
  utf8 = Cp932ToUtf8(bytes);
  // An unassigned code comes back as U+FFFD, U+30FB or "?" depending on the platform.
  // "?" is never a trail byte, so every "?" of the text is one of the file's own.
  return Occurrences(utf8, "\xEF\xBF\xBD") == 0 &&
         Occurrences(utf8, "\xE3\x83\xBB") == middleDots &&
         Occurrences(utf8, "?") == Occurrences(bytes, "?");
}

bool HasCsvExtension(std::string_view path) {
  size_t dot = path.find_last_of('.');
  size_t folder = path.find_last_of("\\/:");
  if (dot == std::string_view::npos || (folder != std::string_view::npos && folder > dot)) {
    return false;
  }
  return EqualsIgnoringCase(path.substr(dot), ".csv");
}

CsvLines ReadCsvLines(const std::string& path, size_t maxLines) {
  LineSplitter splitter(maxLines);
  try {
    std::ifstream in(U8Path(path), std::ios::binary);
    if (!in) {
      splitter.Fail(CsvLines::Status::Unreadable);
      return splitter.Finish();
    }
    std::string piece(64 * 1024, '\0');
    while (in) {
      in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
      std::string_view got(piece.data(), static_cast<size_t>(in.gcount()));
      if (!splitter.Feed(got)) return splitter.Finish();
    }
    if (in.bad()) splitter.Fail(CsvLines::Status::Unreadable);
  } catch (const std::exception&) {
    // libstdc++ throws instead of setting badbit when a read fails.
    splitter.Fail(CsvLines::Status::Unreadable);
  }
  return splitter.Finish();
}

}  // namespace tavisnap
