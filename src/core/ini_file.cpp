#include "core/ini_file.h"

#include <algorithm>
#include <bit>

#include "core/ascii_text.h"
#include "core/codepage.h"

namespace tavisnap {
namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr std::string_view kCrLf = "\r\n";

// Calls take(begin, size, breakSize) for every line, split at CR LF, LF or a lone CR.
template <typename F>
void ForEachLine(std::string_view text, F&& take) {
  size_t start = 0;
  size_t cr = text.find('\r');
  size_t lf = text.find('\n');
  while (start < text.size()) {
    if (cr < start) cr = text.find('\r', start);
    if (lf < start) lf = text.find('\n', start);
    size_t end = std::min(cr, lf);
    if (end == kNone) {
      take(start, text.size() - start, size_t{0});
      return;
    }
    size_t breakSize = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
    take(start, end - start, breakSize);
    start = end + breakSize;
  }
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(kCrLf) != kNone;
}

// TrimBlanks on characters: a blank or control byte that is the trail byte of the lead
// byte before it belongs to that character and stays. text starts on a character.
std::string_view TrimCp932Blanks(std::string_view text) {
  std::string_view trimmed = TrimBlanks(text);
  size_t begin = static_cast<size_t>(trimmed.data() - text.data());
  size_t end = begin + trimmed.size();
  // A byte trimmed after one that cannot lead a character begins a character itself.
  if (end == text.size() || !IsCp932LeadByte(static_cast<unsigned char>(text[end - 1]))) {
    return trimmed;
  }
  size_t last = begin;
  for (size_t i = begin; i < text.size();) {
    size_t size = Cp932CharSize(text, i);
    if (size == 2 || static_cast<unsigned char>(text[i]) > 0x20) last = i + size;
    i += size;
  }
  return text.substr(begin, last - begin);
}

// Where the line's ASCII marks are, counting only bytes that begin a character (a
// trail byte may have the value of "]").
struct Marks {
  size_t firstEquals = kNone;
  bool endsWithBracket = false;
};

Marks FindMarks(std::string_view line) {
  Marks marks;
  size_t equals = line.find('=');
  // Nothing before it can swallow it: the usual line, "KEY=value" with an ASCII key.
  if (line.front() != '[' && (equals == kNone || IsAscii(line.substr(0, equals)))) {
    marks.firstEquals = equals;
    return marks;
  }
  for (size_t i = 0; i < line.size();) {
    size_t size = Cp932CharSize(line, i);
    if (size == 1) {
      if (line[i] == '=' && marks.firstEquals == kNone) marks.firstEquals = i;
      if (i + 1 == line.size()) marks.endsWithBracket = line[i] == ']';
    }
    i += size;
  }
  return marks;
}

// The span of part, a piece of whole.
IniFile::Span SpanOf(std::string_view whole, std::string_view part) {
  return {static_cast<size_t>(part.data() - whole.data()), part.size()};
}

size_t HashKey(size_t section, std::string_view key) {
  return FoldedHash()(key) ^ (section * 0x9E3779B97F4A7C15ull);
}

}  // namespace

IniFile::Parsed IniFile::ParseLine(std::string_view text, Span where) {
  Parsed parsed;
  std::string_view raw = text.substr(where.begin, where.size);
  std::string_view line = TrimCp932Blanks(raw);
  if (line.empty()) return parsed;
  parsed.comment = line.front() == ';';
  Marks marks = parsed.comment ? Marks{} : FindMarks(line);
  if (line.front() == '[' && line.size() >= 2 && marks.endsWithBracket) {
    parsed.kind = Parsed::kHeader;
    parsed.line.key = Cp932ToUtf8(TrimCp932Blanks(line.substr(1, line.size() - 2)));
    return parsed;
  }
  parsed.kind = Parsed::kLine;
  if (marks.firstEquals != kNone) {
    std::string_view key = TrimCp932Blanks(line.substr(0, marks.firstEquals));
    std::string_view rest =
        raw.substr(static_cast<size_t>(line.data() - raw.data()) + marks.firstEquals + 1);
    std::string_view value = TrimCp932Blanks(rest);
    parsed.valueWhole = value.size() == rest.size();
    parsed.line.isSetting = true;
    parsed.line.rawKey = SpanOf(text, key);
    parsed.line.key = Cp932ToUtf8(key);
    parsed.line.value = Cp932ToUtf8(value);
  }
  return parsed;
}

IniFile IniFile::Parse(std::string_view cp932) {
  IniFile ini;
  ini.text_ = cp932;
  const std::string_view text = ini.text_;
  // Room in the index for one setting per line, so that parsing seldom grows it.
  size_t lines = 1;
  for (size_t lf = text.find('\n'); lf != kNone; lf = text.find('\n', lf + 1)) ++lines;
  ini.slots_.assign(std::bit_ceil(lines * 2 + 2), Slot{});
  ini.rows_.reserve(lines);
  size_t current = kNotFound;
  ForEachLine(text, [&](size_t begin, size_t size, size_t breakSize) {
    size_t row = ini.rows_.size();
    Parsed parsed = ParseLine(text, {begin, size});
    ini.rows_.push_back({{begin, size}, breakSize, parsed.kind == Parsed::kBlank});
    if (parsed.kind == Parsed::kHeader) {
      current = ini.SectionFor(parsed.line.key, row);
      ini.sections_[current].endRow = row;
    } else if (parsed.kind == Parsed::kLine && current != kNotFound) {
      if (!parsed.comment) ini.sections_[current].endRow = row;
      parsed.line.row = row;
      ini.Append(current, std::move(parsed.line));
    }
  });
  return ini;
}

std::string IniFile::Write() const {
  return LayOut(nullptr);
}

bool IniFile::Commit() {
  Placed placed;
  std::string written = LayOut(&placed);
  bool same = true;
  for (size_t s = 0; s < sections_.size(); ++s) {
    Section& section = sections_[s];
    if (section.headerRow == kNoRow) {
      section.headerRow = placed.headerOf[s];
      Span where = placed.rows[section.headerRow].content;
      Parsed header = ParseLine(written, where);
      same = same && header.kind == Parsed::kHeader && header.line.key == section.name &&
             !HasLineBreak(std::string_view(written).substr(where.begin, where.size));
      section.endRow = section.headerRow;
    } else {
      section.headerRow = placed.rowOf[section.headerRow];
      section.endRow = placed.rowOf[section.endRow];
    }
    size_t nextNew = section.endRow + 1;  // new lines follow the section's last line
    for (Line& line : section.lines) {
      bool added = line.row == kNoRow;
      size_t row = added ? nextNew++ : placed.rowOf[line.row];
      Span where = placed.rows[row].content;
      if (added || line.changed) {
        // As Parse would read the new line: the same key, and the value as written.
        Parsed reread = ParseLine(written, where);
        same = same && reread.kind == Parsed::kLine && reread.line.isSetting &&
               reread.line.key == line.key && reread.valueWhole &&
               !HasLineBreak(std::string_view(written).substr(where.begin, where.size));
        line.rawKey = reread.line.rawKey;
        line.value = std::move(reread.line.value);
        line.changed = false;
      } else if (line.rawKey.size != 0) {
        // The key keeps its place within its line, which has moved.
        line.rawKey.begin = line.rawKey.begin - rows_[line.row].content.begin + where.begin;
      }
      if (added) section.endRow = row;
      line.row = row;
    }
  }
  rows_ = std::move(placed.rows);
  text_ = std::move(written);
  return same;
}

std::string IniFile::SettingText(const Line& line) const {
  std::string text = line.row == kNoRow ? Utf8ToCp932(line.key) : std::string(Bytes(line.rawKey));
  text += '=';
  text += Utf8ToCp932(line.value);
  return text;
}

std::string IniFile::LayOut(Placed* placed) const {
  // Which rows take a changed line, and after which rows new lines go.
  std::vector<const Line*> changedAt(rows_.size(), nullptr);
  std::vector<size_t> newLinesAfter(rows_.size(), kNotFound);
  for (size_t s = 0; s < sections_.size(); ++s) {
    const Section& section = sections_[s];
    for (const Line& line : section.lines) {
      if (line.row != kNoRow && line.changed) changedAt[line.row] = &line;
    }
    if (section.headerRow != kNoRow && !section.lines.empty() &&
        section.lines.back().row == kNoRow) {
      newLinesAfter[section.endRow] = s;
    }
  }

  std::string out;
  out.reserve(text_.size() + text_.size() / 8 + 256);
  bool lastBlank = false;
  auto put = [&](std::string_view content, std::string_view lineBreak, bool blank) {
    if (placed) placed->rows.push_back({{out.size(), content.size()}, lineBreak.size(), blank});
    out += content;
    out += lineBreak;
    lastBlank = blank;
  };
  // A last line without a break gets one before anything follows it.
  auto endOpenLine = [&] {
    if (out.empty() || out.back() == '\n' || out.back() == '\r') return;
    out += kCrLf;
    if (placed) placed->rows.back().breakSize = kCrLf.size();
  };
  auto putNewLines = [&](const Section& section, std::string_view lineBreak) {
    for (const Line& line : section.lines) {
      if (line.row == kNoRow) put(SettingText(line), lineBreak, false);
    }
  };

  if (placed) placed->rowOf.resize(rows_.size());
  for (size_t r = 0; r < rows_.size(); ++r) {
    const Row& row = rows_[r];
    std::string_view lineBreak(text_.data() + row.content.begin + row.content.size, row.breakSize);
    if (placed) placed->rowOf[r] = placed->rows.size();
    if (changedAt[r]) {
      put(SettingText(*changedAt[r]), lineBreak, false);
    } else {
      put(Bytes(row.content), lineBreak, row.blank);
    }
    if (newLinesAfter[r] != kNotFound) {
      endOpenLine();
      putNewLines(sections_[newLinesAfter[r]], lineBreak.empty() ? kCrLf : lineBreak);
    }
  }
  if (placed) placed->headerOf.assign(sections_.size(), kNoRow);
  for (size_t s = 0; s < sections_.size(); ++s) {
    const Section& section = sections_[s];
    if (section.headerRow != kNoRow) continue;
    endOpenLine();
    if (!out.empty() && !lastBlank) put("", kCrLf, true);
    if (placed) placed->headerOf[s] = placed->rows.size();
    put("[" + Utf8ToCp932(section.name) + "]", kCrLf, false);
    putNewLines(section, kCrLf);
    put("", kCrLf, true);
  }
  return out;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
  size_t s = FindSection(section);
  size_t line = s == kNotFound ? kNotFound : FindLine(s, key);
  return line == kNotFound ? nullptr : &sections_[s].lines[line].value;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  size_t s = SectionFor(section, kNoRow);
  size_t found = FindLine(s, key);
  if (found != kNotFound) {
    Line& line = sections_[s].lines[found];
    if (line.value != value) {
      line.value = value;
      line.changed = true;
    }
    return;
  }
  Line line;
  line.isSetting = true;
  line.key = key;
  line.value = value;
  line.changed = true;
  Append(s, std::move(line));
}

size_t IniFile::FindSection(std::string_view name) const {
  if (lastSection_ != kNotFound && EqualsIgnoringCase(sections_[lastSection_].name, name)) {
    return lastSection_;
  }
  auto it = sectionIndex_.find(name);
  if (it == sectionIndex_.end()) return kNotFound;
  lastSection_ = it->second;
  return it->second;
}

size_t IniFile::SectionFor(std::string_view name, size_t headerRow) {
  size_t found = FindSection(name);
  if (found != kNotFound) return found;
  lastSection_ = sections_.size();
  sectionIndex_.emplace(std::string(name), sections_.size());
  sections_.push_back({std::string(name), headerRow, headerRow, {}});
  return lastSection_;
}

size_t IniFile::FindLine(size_t section, std::string_view key) const {
  if (slots_.empty()) return kNotFound;
  size_t mask = slots_.size() - 1;
  for (size_t i = HashKey(section, key) & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.section == kNotFound) return kNotFound;
    if (slot.section != section) continue;
    if (EqualsIgnoringCase(sections_[section].lines[slot.line].key, key)) return slot.line;
  }
}

void IniFile::Append(size_t section, Line line) {
  std::vector<Line>& lines = sections_[section].lines;
  bool first = line.isSetting && FindLine(section, line.key) == kNotFound;
  lines.push_back(std::move(line));
  if (first) Index(section, lines.size() - 1);
}

void IniFile::Index(size_t section, size_t line) {
  if ((indexed_ + 1) * 2 > slots_.size()) Grow();
  size_t mask = slots_.size() - 1;
  size_t i = HashKey(section, sections_[section].lines[line].key) & mask;
  while (slots_[i].section != kNotFound) i = (i + 1) & mask;
  slots_[i] = {section, line};
  ++indexed_;
}

void IniFile::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  indexed_ = 0;
  for (const Slot& slot : old) {
    if (slot.section != kNotFound) Index(slot.section, slot.line);
  }
}

}  // namespace tavisnap
