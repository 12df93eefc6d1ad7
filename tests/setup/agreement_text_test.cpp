// The agreement: its structure in the memo's lines, and the spoken form.
#include "setup/agreement_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codepage.h"

namespace tavisnap {
namespace {

bool IsSeparator(std::string_view line) {
  return line.empty() || line == " ";
}

// The blocks of text between the separating lines.
std::vector<std::vector<std::string_view>> Blocks() {
  std::vector<std::vector<std::string_view>> blocks(1);
  for (std::string_view line : AgreementLines()) {
    if (IsSeparator(line)) {
      blocks.emplace_back();
    } else {
      blocks.back().push_back(line);
    }
  }
  return blocks;
}

TEST(Agreement, HasAHeadingAnIntroductionAndSevenArticlesIn55Lines) {
  auto lines = AgreementLines();
  ASSERT_EQ(lines.size(), 55u);
  int singleBlanks = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == " ") ++singleBlanks;
    if (i > 0 && IsSeparator(lines[i])) {
      EXPECT_FALSE(IsSeparator(lines[i - 1])) << "two separators before line " << i + 1;
    }
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string_view::npos) << "line " << i + 1;
    EXPECT_EQ(Utf8ToCp932(lines[i]).find('?'), std::string::npos)
        << "line " << i + 1 << " cannot be spoken in code page 932";
  }
  EXPECT_EQ(singleBlanks, 1);

  auto blocks = Blocks();
  ASSERT_EQ(blocks.size(), 9u) << "heading, introduction, seven articles";
  EXPECT_EQ(blocks[0].size(), 1u) << "the heading is one line";
  EXPECT_GE(blocks[1].size(), 1u);
  const char* titles[] = {"第1条（使用の許諾）",     "第2条（権利の帰属）", "第3条（自動通信）",
                          "第4条（インストール先）", "第5条（複製と配布）", "第6条（禁止事項）",
                          "第7条（責任の制限）"};
  for (int article = 0; article < 7; ++article) {
    const auto& block = blocks[2 + article];
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block[0], titles[article]);
    std::string text;
    for (std::string_view line : block) text += line;
    EXPECT_EQ(text.find("C:\\Program Files\\tavisnap") != std::string::npos, article == 3)
        << "the installation folder belongs to the fourth article, article " << article + 1;
  }
  // The memo holds the lines joined by CR LF, with none after the last.
  const std::string memo = AgreementMemoText();
  EXPECT_EQ(memo.substr(0, blocks[0][0].size() + 4), std::string(blocks[0][0]) + "\r\n \r");
  size_t breaks = 0;
  for (size_t at = 0; (at = memo.find("\r\n", at)) != std::string::npos; at += 2) ++breaks;
  EXPECT_EQ(breaks, lines.size() - 1);
  EXPECT_EQ(memo.substr(memo.size() - lines.back().size()), lines.back());

  const auto& prohibited = blocks[7];
  ASSERT_EQ(prohibited.size(), 7u) << "its sentence and five items";
  for (int item = 1; item <= 5; ++item) {
    EXPECT_EQ(prohibited[1 + item].substr(0, 3), std::to_string(item) + ". ");
  }
}

TEST(SpokenText, RunsTheLinesWithTextTogether) {
  struct Case {
    std::vector<std::string_view> lines;
    std::string spoken;
  };
  const Case cases[] = {
      {{}, ""},
      {{"見出し", "", "本文"}, "見出し本文"},
      {{"a", " ", "   ", "b"}, "ab"},
      {{" a ", "b"}, " a b"},  // text keeps its own blanks
      {{"　"}, "　"},          // an ideographic space is text, not a blank
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpokenText(c.lines), c.spoken);
  }
  std::string spoken = SpokenText(AgreementLines());
  EXPECT_EQ(spoken.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(spoken.rfind("タビスナップ　ソフトウェア使用許諾契約書この使用許諾契約書", 0), 0u);
}

}  // namespace
}  // namespace tavisnap
