// The syntax of system.ini on decoded (UTF-8) text. "[NAME]" opens a section; inside a
// section "key=value" is a setting (blanks around key and value trimmed, the value is
// everything after the first "="); empty lines and lines starting with ";" are comments;
// lines before the first section are ignored; a line without "=" is kept as it is.
// Section and key names match without regard to ASCII case; a repeated section header
// continues the first section of that name.
//
// Write() lays the file out anew: "[NAME]", its lines, one empty line, per section in
// order of first appearance, lines ending in CR LF. Comments and blank lines are gone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavisnap {

class IniFile {
 public:
  struct Line {
    bool isSetting = false;  // false: a line without "=", kept verbatim in `text`
    std::string key;
    std::string value;
    std::string text;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };

  static IniFile Parse(std::string_view text);
  std::string Write() const;

  const std::vector<Section>& sections() const { return sections_; }

  // The value of the first line of the section with this key, or nullptr.
  const std::string* Find(std::string_view section, std::string_view key) const;

  // Replaces the value of the section's first line with this key, or appends a line
  // to the section, creating the section at the end when it is missing.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct Index {
    std::unordered_map<std::string, size_t> keys;  // folded key -> first line
  };
  size_t SectionFor(std::string_view name);  // finds or appends
  void Append(size_t section, Line line);

  std::vector<Section> sections_;
  std::vector<Index> indexes_;                        // parallel to sections_
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> section
};

}  // namespace tavisnap
