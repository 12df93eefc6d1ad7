#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tavisnap {
namespace {

using Sets = std::vector<std::pair<std::string, std::string>>;  // "SECTION.KEY", value

void Apply(IniFile& ini, const Sets& sets) {
  for (const auto& [name, value] : sets) {
    size_t dot = name.find('.');
    ini.Set(name.substr(0, dot), name.substr(dot + 1), value);
  }
}

// Everything a later save can see of the object.
std::string Dump(const IniFile& ini) {
  std::string out;
  for (const IniFile::Section& section : ini.sections()) {
    out += "[" + section.name + "]\n";
    for (const IniFile::Line& line : section.lines) {
      const std::string* first = line.isSetting ? ini.Find(section.name, line.key) : nullptr;
      out += line.isSetting ? line.key + "=" + line.value + " first=" + *first + "\n" : "-\n";
    }
  }
  return out + ini.Write();
}

TEST(IniFile, AfterCommitItIsWhatParsingTheWrittenBytesGives) {
  const std::string file =
      "; top\r\n[S]\r\n A = 1 \r\nB=2\r\na=dup\r\nK\x81 =1\r\n; c\r\nno equals\r\n[\x87\x90]\r\n"
      "K=\xED\x40\r\n";
  struct Case {
    const char* what;
    Sets sets;
    bool same;
  } cases[] = {
      {"values changed and added", {{"S.A", "x"}, {"s.b", "y"}, {"T.N", "v"}}, true},
      {"a key ending in a lead byte and the blank it takes", {{"S.K・", "2"}}, true},
      {"a value written as another", {{"S.B", "¥〜≒"}, {"≒.K", "纊"}}, true},
      {"nothing changed", {{"S.A", "1"}}, true},
      {"a key that reads back as another", {{"S.¥K", "v"}}, false},
      {"a key that reads back as a comment", {{"S.;K", "v"}}, false},
      {"a key that reads back as a header", {{"S.[K", "v]"}}, false},
      {"a section that reads back as another", {{"¥.K", "v"}}, false},
      {"a value that reads back trimmed", {{"S.B", " padded "}}, false},
      {"a line break that starts a line of its own", {{"S.N", "v\r\nK=x"}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IniFile ini = IniFile::Parse(file);
    Apply(ini, c.sets);
    std::string written = ini.Write();
    EXPECT_EQ(ini.Commit(), c.same);
    EXPECT_EQ(ini.text(), written);
    if (!c.same) continue;
    IniFile fresh = IniFile::Parse(written);
    EXPECT_EQ(Dump(ini), Dump(fresh));
    // And so it stays through the next changes.
    Sets next = {{"S.A", "y"}, {"S.B", "?〜?"}, {"T.N", "w"}, {"U.M", "z"}};
    Apply(ini, next);
    Apply(fresh, next);
    EXPECT_EQ(Dump(ini), Dump(fresh));
  }
}

}  // namespace
}  // namespace tavisnap
