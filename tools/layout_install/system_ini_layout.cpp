#include "system_ini_layout.h"

#include <optional>

#include "core/ascii_text.h"
#include "core/codepage.h"
#include "core/load_settings.h"

namespace tavisnap::layout {
namespace {

// Splits as the program's settings reader does: at CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The text in code page 932, when every character comes back unchanged from it (so
// neither "?" nor a look-alike such as "\" for "¥" reaches the file).
std::optional<std::string> ExactCp932(std::string_view utf8) {
  std::u32string ignored;
  if (!DecodeUtf8(utf8, ignored)) return std::nullopt;
  std::string cp932 = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(cp932) != utf8) return std::nullopt;
  return cp932;
}

bool HasControlCharacter(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

std::string CaFileValue(const std::string& path) {
  if (HasControlCharacter(path)) {
    throw LayoutError("CA_FILE holds a control character (tab, line break, ...): " + path);
  }
  if (TrimBlanks(path).size() != path.size()) {
    throw LayoutError("CA_FILE begins or ends with a blank, which the program drops: " + path);
  }
  std::optional<std::string> cp932 = ExactCp932(path);
  if (!cp932) throw LayoutError("CA_FILE holds characters code page 932 lacks: " + path);
  return *cp932;
}

}  // namespace

std::vector<SystemLine> DeploymentLines(const DeploymentKeys& keys) {
  std::vector<SystemLine> lines;
  if (!keys.serviceUrl.empty()) {
    const std::string& url = keys.serviceUrl;
    if (ServiceUrlFrom(url) != url) {
      throw LayoutError("SERVICE_URL must be an https URL ending in \"/\" without blanks: " + url);
    }
    lines.emplace_back("SERVICE_URL", url);
    lines.emplace_back("HOME_URL", url.substr(0, url.size() - 1));
    lines.emplace_back("UPDATE_URL", url + "update/");
  }
  if (!keys.caFile.empty()) lines.emplace_back("CA_FILE", CaFileValue(keys.caFile));
  return lines;
}

std::string SetSystemLines(std::string_view iniCp932, const std::vector<SystemLine>& lines) {
  std::vector<std::string_view> raw = SplitLines(iniCp932);
  std::vector<std::string> out(raw.begin(), raw.end());
  std::vector<bool> done(lines.size(), false);
  std::optional<size_t> insertAt;  // after the first SYSTEM block's last content line
  bool inSystem = false, inFirstSystem = false;

  for (size_t i = 0; i < raw.size(); ++i) {
    // Classified on the decoded text, as the program reads it; written as the bytes were.
    std::string decoded = Cp932ToUtf8(raw[i]);
    std::string_view text = TrimBlanks(decoded);
    if (text.empty() || text.front() == ';') continue;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
      inSystem = EqualsIgnoringCase(TrimBlanks(text.substr(1, text.size() - 2)), "SYSTEM");
      inFirstSystem = inSystem && !insertAt;
      if (inFirstSystem) insertAt = i + 1;
      continue;
    }
    if (!inSystem) continue;
    if (inFirstSystem) insertAt = i + 1;
    size_t eq = text.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = TrimBlanks(text.substr(0, eq));
    for (size_t k = 0; k < lines.size(); ++k) {
      if (!done[k] && EqualsIgnoringCase(key, lines[k].first)) {
        out[i] = lines[k].first + "=" + lines[k].second;
        done[k] = true;
      }
    }
  }

  std::vector<std::string> missing;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (!done[k]) missing.push_back(lines[k].first + "=" + lines[k].second);
  }
  if (!insertAt) {
    out.emplace_back("[SYSTEM]");
    insertAt = out.size();
  }
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(*insertAt), missing.begin(), missing.end());

  std::string file;
  for (const std::string& line : out) file += line + "\r\n";
  return file;
}

std::string InstalledText(std::string_view utf8) {
  std::optional<std::string> cp932 = ExactCp932(utf8);
  if (!cp932) throw LayoutError("not UTF-8, or characters code page 932 lacks");
  std::string out;
  for (std::string_view line : SplitLines(*cp932)) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace tavisnap::layout
