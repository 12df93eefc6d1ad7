// The syntax of system.ini, on the file's own bytes (code page 932). The file is split
// into lines on the raw bytes (CR LF, LF or a lone CR; code page 932 never uses those
// bytes inside a character), each line is cut at its ASCII marks and trimmed of blanks
// without cutting a character (a lead byte takes the blank after it as its trail byte),
// and the pieces are decoded on their own: a broken character spoils only its own line.
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
//
// Parse, Find, Set and Write take time in proportion to the size of the file and of
// what is set: a save of the whole settings list is one pass over each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/ascii_text.h"

namespace tavisnap {

class IniFile {
 public:
  // Where a line's bytes are in the parsed text; size 0 for a line the program added.
  struct Span {
    size_t begin = 0;
    size_t size = 0;
  };
  struct Line {
    bool isSetting = false;  // false: a comment or a line without "=", kept as it is
    bool changed = false;    // the value was set since the file was read: write it anew
    std::string key;         // UTF-8, settings only
    std::string value;       // UTF-8, settings only
    Span raw;                // the whole line
    Span rawKey;             // the key, trimmed
  };
  struct Section {
    std::string name;  // UTF-8
    Span rawHeader;
    std::vector<Line> lines;
  };

  static IniFile Parse(std::string_view cp932);
  std::string Write() const;  // code page 932

  // Lays the file out as Write() does and takes those bytes as its text, leaving this
  // object as Parse() would make it of them: a save can go on from the file it has just
  // written without parsing it again. False when a changed or new line would not read
  // back as what was set (the same key with the value's bytes whole, on a line of its
  // own), or a new section's header as that section; the bytes must then not be written,
  // and the object differs from a fresh parse and must not stand for the file.
  bool Commit();
  const std::string& text() const { return text_; }

  const std::vector<Section>& sections() const { return sections_; }

  // The value of the first line of the section with this key, or nullptr.
  const std::string* Find(std::string_view section, std::string_view key) const;

  // Replaces the value of the section's first line with this key (unless it is that
  // value already), or appends a line to the section, creating the section at the end
  // when it is missing. Names and value are UTF-8.
  void Set(std::string_view section, std::string_view key, std::string_view value);

 private:
  // An open-addressing table of the first line of each (section, key), keys compared
  // without regard to ASCII case; no allocation per key.
  static constexpr size_t kNotFound = SIZE_MAX;
  struct Slot {
    size_t section = kNotFound;  // kNotFound: a free slot
    size_t line = 0;
  };

  // One line read on its own: blank, a section header (its name in line.key), or a line
  // of a section.
  struct Parsed {
    enum Kind { kBlank, kHeader, kLine } kind = kBlank;
    bool valueWhole = false;  // the value is every byte after the "=", nothing trimmed
    Line line;
  };
  static Parsed ParseLine(std::string_view text, Span where);
  std::string LayOut(std::vector<Span>* placed) const;  // placed: each written line
  std::string_view Bytes(Span span) const { return {text_.data() + span.begin, span.size}; }
  size_t FindSection(std::string_view name) const;
  size_t SectionFor(std::string_view name, Span rawHeader);  // finds or appends
  size_t FindLine(size_t section, std::string_view key) const;
  void Append(size_t section, Line line);
  void Index(size_t section, size_t line);
  void Grow();

  std::string text_;            // the parsed file, which the spans point into
  std::vector<Span> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t, FoldedHash, FoldedEqual> sectionIndex_;
  mutable size_t lastSection_ = kNotFound;  // most lookups repeat it
  std::vector<Slot> slots_;
  size_t indexed_ = 0;
};

}  // namespace tavisnap
