#include "core/ini_file.h"

#include "core/ascii_text.h"
#include "core/codepage.h"

namespace tavisnap {
namespace {

constexpr size_t kNone = std::string_view::npos;

// Calls take(line) for every line, split at CR LF, LF or a lone CR.
template <typename F>
void ForEachLine(std::string_view text, F&& take) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    take(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) take(text.substr(start));
}

// Where the line's ASCII marks are, counting only bytes that begin a character (a
// trail byte may have the value of "]").
struct Marks {
  size_t firstEquals = kNone;
  bool endsWithBracket = false;
};

Marks FindMarks(std::string_view line) {
  Marks marks;
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

}  // namespace

IniFile IniFile::Parse(std::string_view cp932) {
  IniFile ini;
  bool inSection = false;
  size_t current = 0;
  ForEachLine(cp932, [&](std::string_view raw) {
    std::string_view line = TrimBlanks(raw);
    if (line.empty()) return;
    Marks marks = line.front() == ';' ? Marks{} : FindMarks(line);
    if (line.front() == '[' && line.size() >= 2 && marks.endsWithBracket) {
      current = ini.SectionFor(Cp932ToUtf8(TrimBlanks(line.substr(1, line.size() - 2))), raw);
      inSection = true;
      return;
    }
    if (!inSection) {
      ini.preamble_.emplace_back(raw);
      return;
    }
    Line parsed;
    parsed.raw = raw;
    if (marks.firstEquals != kNone) {
      parsed.isSetting = true;
      parsed.rawKey = TrimBlanks(line.substr(0, marks.firstEquals));
      parsed.key = Cp932ToUtf8(parsed.rawKey);
      parsed.value = Cp932ToUtf8(TrimBlanks(line.substr(marks.firstEquals + 1)));
    }
    ini.Append(current, std::move(parsed));
  });
  return ini;
}

std::string IniFile::Write() const {
  std::string out;
  for (const std::string& line : preamble_) {
    out += line;
    out += "\r\n";
  }
  for (const Section& section : sections_) {
    if (section.rawHeader.empty()) {
      out += '[';
      out += Utf8ToCp932(section.name);
      out += ']';
    } else {
      out += section.rawHeader;
    }
    out += "\r\n";
    for (const Line& line : section.lines) {
      if (line.changed) {
        out += line.rawKey.empty() ? Utf8ToCp932(line.key) : line.rawKey;
        out += '=';
        out += Utf8ToCp932(line.value);
      } else {
        out += line.raw;
      }
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
  auto s = sectionIndex_.find(FoldAscii(section));
  if (s == sectionIndex_.end()) return nullptr;
  const auto& keys = indexes_[s->second].keys;
  auto k = keys.find(FoldAscii(key));
  if (k == keys.end()) return nullptr;
  return &sections_[s->second].lines[k->second].value;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  size_t s = SectionFor(section, {});
  auto k = indexes_[s].keys.find(FoldAscii(key));
  if (k != indexes_[s].keys.end()) {
    Line& line = sections_[s].lines[k->second];
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

size_t IniFile::SectionFor(std::string_view name, std::string_view rawHeader) {
  auto [it, added] = sectionIndex_.emplace(FoldAscii(name), sections_.size());
  if (added) {
    sections_.push_back({std::string(name), std::string(rawHeader), {}});
    indexes_.emplace_back();
  }
  return it->second;
}

void IniFile::Append(size_t section, Line line) {
  Section& s = sections_[section];
  if (line.isSetting) indexes_[section].keys.emplace(FoldAscii(line.key), s.lines.size());
  s.lines.push_back(std::move(line));
}

}  // namespace tavisnap
