#include "capture/outbox.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/app_error.h"
#include "core/codepage.h"
#include "core/define.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

namespace fs = std::filesystem;

constexpr const char* kIndexName = "outbox.txt";
constexpr size_t kFields = 8;

std::string Escape(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '%' || c < 0x20 || c == 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.emplace_back(line.substr(start, tab - start));
  }
  fields.emplace_back(line.substr(start));
  return fields;
}

std::optional<int32_t> SmallNumber(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '9') return std::nullopt;
  return text[0] - '0';
}

bool IsId(const std::string& id) {
  return id.size() == 6 &&
         std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Line(const OutboxEntry& e) {
  const std::string fields[kFields] = {e.id,           std::to_string(e.captureMode),
                                       e.captureTitle, std::to_string(e.detailSend),
                                       e.mailTo,       e.mailCc,
                                       e.mailBcc,      e.mailMessage};
  std::string line;
  for (size_t i = 0; i < kFields; ++i) line += (i ? "\t" : "") + Escape(fields[i]);
  return line;
}

std::optional<OutboxEntry> Parse(const std::string& line) {
  std::vector<std::string> raw = SplitTabs(line);
  if (raw.size() != kFields) return std::nullopt;
  std::vector<std::string> f;
  for (const std::string& r : raw) {
    std::optional<std::string> text = Unescape(r);
    if (!text) return std::nullopt;
    f.push_back(std::move(*text));
  }
  std::optional<int32_t> mode = SmallNumber(f[1]), detail = SmallNumber(f[3]);
  if (!IsId(f[0]) || !mode || !detail) return std::nullopt;
  return OutboxEntry{f[0], *mode, f[2], *detail, f[4], f[5], f[6], f[7]};
}

}  // namespace

std::string DefaultOutboxDir() {
  return LocalDataDir + "outbox";
}

std::string Outbox::IndexPath() const {
  return folder_ + kPathSeparator + kIndexName;
}

std::string Outbox::PictureOf(const OutboxEntry& entry) const {
  return folder_ + kPathSeparator + entry.id + ".jpg";
}

// Lines that do not parse are kept as they are: the index is only ever rewritten
// around them.
std::vector<std::string> Outbox::IndexLines() const {
  std::vector<std::string> lines;
  std::optional<std::string> bytes = ReadWholeFile(IndexPath());
  if (!bytes) return lines;
  size_t start = 0;
  while (start < bytes->size()) {
    size_t end = bytes->find('\n', start);
    if (end == std::string::npos) end = bytes->size();
    std::string line = bytes->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

void Outbox::WriteIndex(const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  if (!AtomicWriteFile(IndexPath(), bytes)) throw AppError(kOutboxWriteError);
}

std::vector<OutboxEntry> Outbox::Entries() const {
  std::vector<OutboxEntry> entries;
  std::error_code ec;
  for (const std::string& line : IndexLines()) {
    std::optional<OutboxEntry> entry = Parse(line);
    if (entry && fs::is_regular_file(U8Path(PictureOf(*entry)), ec)) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::optional<OutboxEntry> Outbox::Oldest() const {
  std::vector<OutboxEntry> entries = Entries();
  if (entries.empty()) return std::nullopt;
  return entries.front();
}

OutboxEntry Outbox::Add(const std::string& pictureFile, const TTypSendParam& sent) {
  std::error_code ec;
  fs::create_directories(U8Path(folder_), ec);
  std::vector<std::string> lines = IndexLines();
  // One more than any id in use, so that a new picture never takes an old one's file,
  // not even that of a line the index cannot read.
  int next = 1;
  for (const std::string& line : lines) {
    std::string id = line.substr(0, line.find('\t'));
    if (IsId(id)) next = std::max(next, std::stoi(id) + 1);
  }
  for (const auto& file : fs::directory_iterator(U8Path(folder_), ec)) {
    std::string stem = PathToUtf8(file.path().stem());
    if (IsId(stem)) next = std::max(next, std::stoi(stem) + 1);
  }
  if (next > 999999) throw AppError(kOutboxWriteError);
  std::string id = std::to_string(next);
  id.insert(0, 6 - id.size(), '0');
  OutboxEntry entry{id,          sent.CaptureMode, sent.CaptureTitle, sent.DetailSend,
                    sent.MailTo, sent.MailCc,      sent.MailBcc,      sent.MailMessage};
  std::optional<std::string> picture = ReadWholeFile(pictureFile);
  if (!picture || !AtomicWriteFile(PictureOf(entry), *picture)) {
    throw AppError(kOutboxWriteError);
  }
  lines.push_back(Line(entry));
  WriteIndex(lines);
  return entry;
}

void Outbox::Remove(const std::string& id) {
  std::vector<std::string> lines = IndexLines();
  std::erase_if(lines, [&](const std::string& line) {
    std::optional<OutboxEntry> entry = Parse(line);
    return entry && entry->id == id;
  });
  WriteIndex(lines);
  std::error_code ec;
  fs::remove(U8Path(folder_ + kPathSeparator + id + ".jpg"), ec);
}

// JIS X 0208 rows to code page 932 by the standard arithmetic; ESC ( I is the half-width
// katakana set, anything else ASCII.
std::string Iso2022JpToUtf8(std::string_view iso) {
  enum class Set { Ascii, Kanji, Kana } set = Set::Ascii;
  std::string cp932;
  for (size_t i = 0; i < iso.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(iso[i]);
    if (c == 0x1B && i + 2 < iso.size()) {
      std::string_view seq = iso.substr(i + 1, 2);
      if (seq == "$B" || seq == "$@") set = Set::Kanji;
      if (seq == "(B" || seq == "(J") set = Set::Ascii;
      if (seq == "(I") set = Set::Kana;
      i += 2;
      continue;
    }
    if (c < 0x21 || c > 0x7E || set == Set::Ascii) {
      cp932 += static_cast<char>(c);
    } else if (set == Set::Kana) {
      cp932 += static_cast<char>(c + 0x80);
    } else if (i + 1 < iso.size()) {
      unsigned j1 = c, j2 = static_cast<unsigned char>(iso[++i]);
      unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
      unsigned s2 = j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E);
      cp932 += static_cast<char>(s1);
      cp932 += static_cast<char>(s2);
    }
  }
  return Cp932ToUtf8(cp932);
}

}  // namespace tavisnap
