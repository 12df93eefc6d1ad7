// The syntax of system.ini, on the file's own bytes (code page 932). The file is split
// into lines on the raw bytes (CR LF, LF or a lone CR; code page 932 never uses those
// bytes inside a character), each line is cut at its ASCII marks without cutting a
// character, and the pieces are decoded on their own: a broken character spoils only
// its own line.
//
// "[NAME]" opens a section; inside a section "key=value" is a setting (blanks around key
// and value trimmed, the value is everything after the first "="); lines starting with
// ";" are comments; a line without "=" is no setting. Lines before the first section are
// no settings either. Section and key names match without regard to ASCII case; a
// repeated section header continues the first section of that name.
//
// Write() lays the file out: the lines before the first section, then per section in
// order of first appearance its header, its lines and one empty line; blank lines are
// dropped and lines end in CR LF. Every line the program did not change (headers,
// comments, other lines, settings whose value stayed) is written with its original
// bytes, so codes that come back from Unicode under another code, and bytes that are
// no text, stay as they were.
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
    bool isSetting = false;  // false: a comment or a line without "=", kept as it is
    std::string key;         // UTF-8, settings only
    std::string value;       // UTF-8, settings only
    std::string raw;         // the file's bytes of the line; "" for a line the program added
    std::string rawKey;      // the file's bytes of the key, trimmed
    bool changed = false;    // the value was set since the file was read: write it anew
  };
  struct Section {
    std::string name;       // UTF-8
    std::string rawHeader;  // the file's bytes of the header line; "" for a new section
    std::vector<Line> lines;
  };

  static IniFile Parse(std::string_view cp932);
  std::string Write() const;  // code page 932

  const std::vector<Section>& sections() const { return sections_; }

  // The value of the first line of the section with this key, or nullptr.
  const std::string* Find(std::string_view section, std::string_view key) const;

  // Replaces the value of the section's first line with this key (unless it is that
  // value already), or appends a line to the section, creating the section at the end
  // when it is missing. Names and value are UTF-8.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct Index {
    std::unordered_map<std::string, size_t> keys;  // folded key -> first line
  };
  size_t SectionFor(std::string_view name, std::string_view rawHeader);  // finds or appends
  void Append(size_t section, Line line);

  std::vector<std::string> preamble_;  // raw lines before the first section
  std::vector<Section> sections_;
  std::vector<Index> indexes_;                            // parallel to sections_
  std::unordered_map<std::string, size_t> sectionIndex_;  // folded name -> section
};

}  // namespace tavisnap
