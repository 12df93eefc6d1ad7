// Code page 932 at the CSV file's edge. Also built for Windows and run under Wine, where
// the system's converter, not iconv, decodes the lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "address_book_fixture.h"
#include "addressbook/csv_import.h"
#include "addressbook/csv_lines.h"

namespace tavisnap {
namespace {

TEST(DecodeCp932Line, TextComesThroughAndEveryOtherByteIsRefused) {
  const struct {
    const char* bytes;
    const char* utf8;
  } text[] = {
      {"abc, ?\t", "abc, ?\t"},
      {"\x83\x5E\x83\x72\x91\xBE\x98\x59", "タビ太郎"},
      {"\x81\x45", "・"},
      {"\xB1\xDF", "ｱﾟ"},
      {"\x88\x9F", "亜"},
      {"\x87\x40", "①"},
      {"\xFA\x40", "ⅰ"},
      // What the program reads these bytes as in system.ini, and so may export.
      {"\x80\xA0\xFD\xFE\xFF", "\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
  };
  for (const auto& c : text) {
    std::string utf8;
    EXPECT_TRUE(DecodeCp932Line(c.bytes, utf8)) << c.utf8;
    EXPECT_EQ(utf8, c.utf8);
  }
  for (const char* bytes :
       {"\x85\x40", "\xEF\x40", "\x88\x9E", "a\x82", "\x82\x20", "\xEF\xBB\xBF"}) {
    std::string utf8;
    EXPECT_FALSE(DecodeCp932Line(bytes, utf8)) << ::testing::PrintToString(bytes);
  }
}

class CsvCodePage : public testing::AddressBookTest {};

TEST_F(CsvCodePage, JapaneseNamesReachSystemIniByteForByte) {
  WriteIni("");
  std::filesystem::create_directory(U8Path(dir / "住所録"));
  std::string csv = dir.Write("住所録/送信先.csv",
                              "\x83\x5E\x83\x72\x91\xBE\x98\x59,taro@example.jp\r\n"
                              "\"\x8E\x52\x93\x63 \x89\xD4\x8E\x71\",hanako@example.jp\r\n");
  testing::CountingHourglass hourglass;
  EXPECT_TRUE(CsvLumpClick(
      book, prompter, [&] { return std::optional<std::string>(csv); }, hourglass));
  std::string ini = testing::ReadBytes(iniPath);
  EXPECT_NE(ini.find("MAIL1=taro@example.jp\r\nNAME1=\x83\x5E\x83\x72\x91\xBE\x98\x59\r\n"),
            std::string::npos);
  EXPECT_NE(ini.find("NAME2=\x8E\x52\x93\x63 \x89\xD4\x8E\x71\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tavisnap
