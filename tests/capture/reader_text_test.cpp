#include "capture/reader_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tavisnap {
namespace {

ReaderElement Element(std::string role, std::string name, std::string value = {}, int depth = 0) {
  ReaderElement e;
  e.role = std::move(role);
  e.name = std::move(name);
  e.value = std::move(value);
  e.depth = depth;
  return e;
}

// The line an element gets in the tree part: the third line, after the heading and the
// focus line; "-" when it is left out.
std::string TreeLine(const ReaderElement& e) {
  ReaderTree tree;
  tree.title = "t";
  tree.elements = {e};
  std::string text = FormatReaderText(tree, 1024);
  size_t second = text.find("\r\n", text.find("\r\n") + 2);
  return second == std::string::npos ? "-" : text.substr(second + 2);
}

TEST(ReaderText, OneLinePerElement) {
  ReaderElement focusable = Element("プッシュ ボタン", "");
  focusable.focusable = true;
  ReaderElement password = Element("編集", "暗証", "secret");
  password.isProtected = true;
  password.focusable = true;
  ReaderElement states = Element("チェック ボックス", "保存", "", 2);
  states.unavailable = states.checked = states.selected = states.expanded = true;
  const std::string longValue(100, 'x');
  const struct {
    ReaderElement element;
    std::string line;
  } cases[] = {
      {Element("編集", "氏名", "山田"), "編集「氏名」 値「山田」"},
      {Element("テキスト", "", "ようこそ"), "テキスト 値「ようこそ」"},
      {Element("グループ", ""), "-"},  // says nothing
      {focusable, "プッシュ ボタン（名前なし）"},
      {password, "編集「暗証」 パスワード欄（内容は含めません）"},
      {states, "    チェック ボックス「保存」 （使用不可、チェックあり、選択、展開）"},
      {Element("編集", "一行目\r\n二行目\t終わり"), "編集「一行目  二行目 終わり」"},
      {Element("編集", "", longValue), "編集 値「" + longValue.substr(0, 80) + "…」"},
  };
  for (const auto& c : cases) EXPECT_EQ(TreeLine(c.element), c.line) << c.line;
}

TEST(ReaderText, TitleNotesAndTheFocusedElementComeFirst) {
  ReaderElement name = Element("編集", "氏名", "山田");
  name.focusable = true;
  const struct {
    const char* title;
    ReaderLimits limits;
    bool focus;
    std::string text;
  } cases[] = {
      {"作業中の文書",
       {},
       true,
       "【読み上げ内容】作業中の文書\r\nフォーカス：編集「氏名」 値「山田」\r\n"
       "編集「氏名」 値「山田」"},
      {"",
       {true, true, true},
       false,
       "【読み上げ内容】（タイトルなし）\r\n"
       "（階層が深いため、深い要素は省きました）\r\n（要素が多いため、途中までです）\r\n"
       "（時間内に読み終わらなかったため、途中までです）\r\n"
       "フォーカス：（フォーカスのある要素はありません）\r\n編集「氏名」 値「山田」"},
  };
  for (const auto& c : cases) {
    ReaderTree tree{c.title, {name}, std::nullopt, c.limits};
    if (c.focus) tree.focused = name;
    EXPECT_EQ(FormatReaderText(tree, 1024), c.text) << c.title;
  }
}

// Counted in UTF-16 units, as the memo counts: 𠮷 takes two.
TEST(ReaderText, CutToTheRoomWithALastLineSayingSo) {
  ReaderTree tree;
  tree.title = "𠮷";
  std::string lines;  // the element lines, "編集「一」" and on: seven units each with CR LF
  for (const char* name : {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"}) {
    tree.elements.push_back(Element("編集", name));
    lines += std::string("\r\n編集「") + name + "」";
  }
  const std::string top = "【読み上げ内容】𠮷\r\nフォーカス：（フォーカスのある要素はありません）";
  const std::string cut = "\r\n（本文の文字数の上限のため、ここで切りました）";
  const size_t full = 10 + 2 + 24 + 10 * 7;
  const struct {
    size_t room;
    std::string text;
  } cases[] = {
      {full, top + lines},
      {full - 1, top + lines.substr(0, 6 * lines.size() / 10) + cut},
      {10 + 2 + 23, "【読み上げ内容】𠮷" + cut},
      {10 + 2 + 23 - 1, ""},
  };
  for (const auto& c : cases) {
    std::string text = FormatReaderText(tree, c.room);
    EXPECT_EQ(text, c.text) << c.room;
    EXPECT_LE(Utf16Length(text), c.room);
  }
}

}  // namespace
}  // namespace tavisnap
