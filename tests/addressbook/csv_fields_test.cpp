#include "addressbook/csv_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavisnap {
namespace {

TEST(ReadCsvFields, QuotesBlanksAndCommas) {
  using Fields = std::vector<std::string>;
  const struct {
    const char* line;
    Fields fields;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"山田,yamada@example.jp", {"山田", "yamada@example.jp"}},
      {"  山田 ,\t yamada@example.jp  ", {"山田", "yamada@example.jp"}},
      {"山田 太郎,taro@example.jp", {"山田", "太郎", "taro@example.jp"}},
      {"\"山田 太郎\",taro@example.jp", {"山田 太郎", "taro@example.jp"}},
      {"\"a,b\"\"c\"\"\",x", {"a,b\"c\"", "x"}},
      {"\"open to the end", {"open to the end"}},
      {"\"quoted\"rest,x", {"quoted", "rest", "x"}},
      {"a\"b,c", {"a\"b", "c"}},
      {",a", {"", "a"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"a, ", {"a"}},
      {"a,b,c,d", {"a", "b", "c", "d"}},
      {"\"\",x", {"", "x"}},
      {"a\x01"
       "b",
       {"a", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCsvFields(c.line), c.fields) << c.line;
}

TEST(ReadCsvFields, ANulEndsAFieldWithoutHanging) {
  using namespace std::string_literals;
  EXPECT_EQ(ReadCsvFields("a\0b"s), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ReadCsvFields("\0"s), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace tavisnap
