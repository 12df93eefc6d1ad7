// What a screen reader hears in a window, as a short Japanese text for the helper: the
// window's accessibility tree, read elsewhere into plain records, written one element a
// line so that it fits the room left in the send panel's message.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tavisnap {

inline constexpr const char* kReaderHeading = "【読み上げ内容】";
inline constexpr const char* kReaderNoTitle = "（タイトルなし）";
inline constexpr const char* kReaderFocusPrefix = "フォーカス：";
inline constexpr const char* kReaderNoFocus = "（フォーカスのある要素はありません）";
inline constexpr const char* kReaderNoName = "（名前なし）";
inline constexpr const char* kReaderPassword = "パスワード欄（内容は含めません）";
inline constexpr const char* kReaderDepthNote = "（階層が深いため、深い要素は省きました）";
inline constexpr const char* kReaderCountNote = "（要素が多いため、途中までです）";
inline constexpr const char* kReaderDeadlineNote =
    "（時間内に読み終わらなかったため、途中までです）";
inline constexpr const char* kReaderCutNote = "（本文の文字数の上限のため、ここで切りました）";

// One element of the tree as the reader gives it; texts in UTF-8.
struct ReaderElement {
  std::string role;  // the system's localised role text
  std::string name;
  std::string value;
  int depth = 0;  // 0 for a child of the window itself
  bool focusable = false;
  bool isProtected = false;  // a password box: its value is never written
  bool unavailable = false;
  bool checked = false;
  bool selected = false;
  bool expanded = false;
};

// Which bound stopped the reading before the whole tree was read.
struct ReaderLimits {
  bool depth = false;
  bool count = false;
  bool deadline = false;
};

struct ReaderTree {
  std::string title;
  std::vector<ReaderElement> elements;  // tree order
  std::optional<ReaderElement> focused;
  ReaderLimits limits;
};

// A name or value longer than this many characters is shortened: one long document must
// not leave no room for the rest.
inline constexpr size_t kReaderFieldLimit = 80;

// Lines joined by CR LF, as the memo keeps them, at most `room` UTF-16 units; when the
// tree does not fit, as many element lines as fit and a last line saying it was cut.
// Empty when not even the heading and that line fit.
std::string FormatReaderText(const ReaderTree& tree, size_t room);

// UTF-16 units of UTF-8 text: what an edit control counts as characters.
size_t Utf16Length(const std::string& utf8);

}  // namespace tavisnap
