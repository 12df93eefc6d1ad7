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
// Write() gives back the file's bytes with the program's changes and nothing else: a
// changed setting is rewritten in its place as "key=value" with the line's own line
// break; a new setting goes after the last line of its section that is no blank line or
// comment, with that line's line break; a new section goes at the end, its lines ending
// in CR LF, after an empty line (unless the file ends with one) and followed by one.
// Every other line, empty ones and line breaks included, keeps its bytes and its place,
// so a file the program did not change is written back as it was, and codes that come
// back from Unicode under another code, and bytes that are no text, stay as they were.
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
  // Where bytes are in the parsed text.
  struct Span {
    size_t begin = 0;
    size_t size = 0;
  };
  // The row of a line or header that was set since the file was read.
  static constexpr size_t kNoRow = SIZE_MAX;
  struct Line {
    bool isSetting = false;  // false: a comment or a line without "=", kept as it is
    bool changed = false;    // the value was set since the file was read: write it anew
    std::string key;         // UTF-8, settings only
    std::string value;       // UTF-8, settings only
    size_t row = kNoRow;     // which line of the file it is
    Span rawKey;             // the key, trimmed
  };
  struct Section {
    std::string name;           // UTF-8
    size_t headerRow = kNoRow;  // its first header
    size_t endRow = kNoRow;     // its last header or line that is no comment
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

  // One line of the file: its bytes without the line break, and the break's size (0
  // only for a last line without one).
  struct Row {
    Span content;
    size_t breakSize = 0;
    bool blank = false;
  };
  // One line read on its own: blank, a section header (its name in line.key), or a line
  // of a section.
  struct Parsed {
    enum Kind { kBlank, kHeader, kLine } kind = kBlank;
    bool comment = false;
    bool valueWhole = false;  // the value is every byte after the "=", nothing trimmed
    Line line;
  };
  // Where LayOut put each line: the rows of the written text, the row each old row
  // became, and the header row of each new section.
  struct Placed {
    std::vector<Row> rows;
    std::vector<size_t> rowOf;
    std::vector<size_t> headerOf;
  };
  static Parsed ParseLine(std::string_view text, Span where);
  std::string LayOut(Placed* placed) const;
  std::string SettingText(const Line& line) const;  // "key=value", code page 932
  std::string_view Bytes(Span span) const { return {text_.data() + span.begin, span.size}; }
  size_t FindSection(std::string_view name) const;
  size_t SectionFor(std::string_view name, size_t headerRow);  // finds or appends
  size_t FindLine(size_t section, std::string_view key) const;
  void Append(size_t section, Line line);
  void Index(size_t section, size_t line);
  void Grow();

  std::string text_;       // the parsed file, which the spans point into
  std::vector<Row> rows_;  // every line of it, in order
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t, FoldedHash, FoldedEqual> sectionIndex_;
  mutable size_t lastSection_ = kNotFound;  // most lookups repeat it
  std::vector<Slot> slots_;
  size_t indexed_ = 0;
};

}  // namespace tavisnap
