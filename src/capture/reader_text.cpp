#include "capture/reader_text.h"

#include "core/codepage.h"

namespace tavisnap {
namespace {

constexpr size_t kLineBreak = 2;  // CR LF

// One element is one line: line breaks and tabs inside a name or value become spaces,
// and a long text keeps its start.
std::string OneLine(const std::string& text) {
  std::string line;
  size_t units = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    char32_t c = NextUtf8(text, i);
    if (c == kBadUtf8) continue;
    const size_t width = c >= 0x10000 ? 2 : 1;
    if (units + width > kReaderFieldLimit) return line + "…";
    units += width;
    if (c == '\r' || c == '\n' || c == '\t') {
      line += ' ';
    } else {
      line.append(text, start, i - start);
    }
  }
  return line;
}

bool Silent(const ReaderElement& e) {
  return !e.focusable && OneLine(e.name).empty() && OneLine(e.value).empty();
}

std::string Body(const ReaderElement& e) {
  std::string body = OneLine(e.role);
  const std::string name = OneLine(e.name);
  // An unlabelled control is what the helper most needs to hear about.
  if (!name.empty()) {
    body += "「" + name + "」";
  } else if (e.focusable) {
    body += kReaderNoName;
  }
  if (e.isProtected) {
    body += std::string(" ") + kReaderPassword;
  } else if (std::string value = OneLine(e.value); !value.empty()) {
    body += " 値「" + value + "」";
  }
  std::string states;
  auto add = [&](bool on, const char* text) {
    if (!on) return;
    if (!states.empty()) states += "、";
    states += text;
  };
  add(e.unavailable, "使用不可");
  add(e.checked, "チェックあり");
  add(e.selected, "選択");
  add(e.expanded, "展開");
  if (!states.empty()) body += " （" + states + "）";
  return body;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

}  // namespace

size_t Utf16Length(const std::string& utf8) {
  size_t units = 0;
  for (size_t i = 0; i < utf8.size();) units += NextUtf8(utf8, i) >= 0x10000 ? 2 : 1;
  return units;
}

std::string FormatReaderText(const ReaderTree& tree, size_t room) {
  std::vector<std::string> lines;
  const std::string title = OneLine(tree.title);
  lines.push_back(kReaderHeading + (title.empty() ? std::string(kReaderNoTitle) : title));
  if (tree.limits.depth) lines.push_back(kReaderDepthNote);
  if (tree.limits.count) lines.push_back(kReaderCountNote);
  if (tree.limits.deadline) lines.push_back(kReaderDeadlineNote);
  const size_t kept = lines.size();  // what is said even when the rest is cut
  lines.push_back(kReaderFocusPrefix + (tree.focused ? Body(*tree.focused) : kReaderNoFocus));
  for (const ReaderElement& e : tree.elements) {
    if (!Silent(e)) lines.push_back(std::string(2 * static_cast<size_t>(e.depth), ' ') + Body(e));
  }

  size_t length = 0;
  for (const std::string& line : lines) length += Utf16Length(line) + kLineBreak;
  if (length - kLineBreak <= room) return Joined(lines);

  const size_t cutLine = Utf16Length(kReaderCutNote);
  std::vector<std::string> fitted(lines.begin(), lines.begin() + static_cast<ptrdiff_t>(kept));
  length = 0;
  for (const std::string& line : fitted) length += Utf16Length(line) + kLineBreak;
  if (length + cutLine > room) return {};
  for (size_t i = kept; i < lines.size(); ++i) {
    const size_t more = Utf16Length(lines[i]) + kLineBreak;
    if (length + more + cutLine > room) break;
    fitted.push_back(lines[i]);
    length += more;
  }
  fitted.push_back(kReaderCutNote);
  return Joined(fitted);
}

}  // namespace tavisnap
