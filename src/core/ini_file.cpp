#include "core/ini_file.h"

#include "core/ascii_text.h"

namespace tavisnap {
namespace {

// Splits at CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  bool inSection = false;
  size_t current = 0;
  for (std::string_view raw : SplitLines(text)) {
    std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = ini.SectionFor(TrimBlanks(line.substr(1, line.size() - 2)));
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    Line parsed;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      parsed.text = line;
    } else {
      parsed.isSetting = true;
      parsed.key = TrimBlanks(line.substr(0, eq));
      parsed.value = TrimBlanks(line.substr(eq + 1));
    }
    ini.Append(current, std::move(parsed));
  }
  return ini;
}

std::string IniFile::Write() const {
  std::string out;
  for (const Section& section : sections_) {
    out += '[';
    out += section.name;
    out += "]\r\n";
    for (const Line& line : section.lines) {
      if (line.isSetting) {
        out += line.key;
        out += '=';
        out += line.value;
      } else {
        out += line.text;
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
  size_t s = SectionFor(section);
  auto k = indexes_[s].keys.find(FoldAscii(key));
  if (k != indexes_[s].keys.end()) {
    sections_[s].lines[k->second].value = value;
    return;
  }
  Line line;
  line.isSetting = true;
  line.key = key;
  line.value = value;
  Append(s, std::move(line));
}

size_t IniFile::SectionFor(std::string_view name) {
  auto [it, added] = sectionIndex_.emplace(FoldAscii(name), sections_.size());
  if (added) {
    sections_.push_back({std::string(name), {}});
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
