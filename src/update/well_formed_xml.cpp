#include "update/well_formed_xml.h"

#include <optional>
#include <string>
#include <unordered_set>

#include "core/codepage.h"

namespace tavisnap {
namespace {

// Every node kind in the tree, so that nothing pugixml read is out of sight; references
// are resolved here, after the checks.
constexpr unsigned kParseFlags = (pugi::parse_default & ~pugi::parse_escapes) |
                                 pugi::parse_declaration | pugi::parse_doctype | pugi::parse_pi |
                                 pugi::parse_comments | pugi::parse_fragment;

bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsXmlText(std::string_view utf8) {
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = NextUtf8(utf8, i);
    if (c == kBadUtf8 || !IsXmlChar(c)) return false;
  }
  return true;
}

// The character of "#65" or "#x41" (the text between "&" and ";").
std::optional<char32_t> CharacterReference(std::string_view ref) {
  ref.remove_prefix(1);
  unsigned base = 10;
  if (!ref.empty() && ref.front() == 'x') {
    base = 16;
    ref.remove_prefix(1);
  }
  if (ref.empty()) return std::nullopt;
  char32_t value = 0;
  for (char c : ref) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > 0x10FFFF) return std::nullopt;
  }
  if (!IsXmlChar(value)) return std::nullopt;
  return value;
}

// The text with its references resolved; nothing when one is no reference XML defines.
std::optional<std::string> Resolve(std::string_view raw) {
  static constexpr struct {
    std::string_view name;
    char c;
  } kPredefined[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
  std::string out;
  size_t at = 0;
  for (size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', at)) {
    out.append(raw.substr(at, amp - at));
    size_t semicolon = raw.find(';', amp);
    if (semicolon == std::string_view::npos) return std::nullopt;
    std::string_view ref = raw.substr(amp + 1, semicolon - amp - 1);
    at = semicolon + 1;
    if (!ref.empty() && ref.front() == '#') {
      std::optional<char32_t> c = CharacterReference(ref);
      if (!c) return std::nullopt;
      AppendUtf8(out, *c);
      continue;
    }
    bool known = false;
    for (const auto& entity : kPredefined) {
      if (entity.name == ref) {
        out += entity.c;
        known = true;
      }
    }
    if (!known) return std::nullopt;
  }
  out.append(raw.substr(at));
  return out;
}

bool ResolveIn(pugi::xml_attribute attribute) {
  std::string_view raw = attribute.value();
  if (raw.find('<') != std::string_view::npos) return false;
  std::optional<std::string> value = Resolve(raw);
  return value && attribute.set_value(value->c_str());
}

// Checks every node of the document and resolves the references of text and
// attributes. pugixml walks the tree without recursion, however deep it is.
struct NodeCheck : pugi::xml_tree_walker {
  bool wellFormed = true;

  bool for_each(pugi::xml_node& node) override {
    wellFormed = Check(node);
    return wellFormed;
  }

  bool Check(pugi::xml_node& node) {
    std::string_view value = node.value();
    switch (node.type()) {
      case pugi::node_element: {
        std::unordered_set<std::string_view> names;
        for (pugi::xml_attribute attribute : node.attributes()) {
          if (!names.insert(attribute.name()).second || !ResolveIn(attribute)) return false;
        }
        return true;
      }
      case pugi::node_pcdata: {
        if (value.find("]]>") != std::string_view::npos) return false;
        std::optional<std::string> text = Resolve(value);
        return text && node.set_value(text->c_str());
      }
      case pugi::node_cdata:
      case pugi::node_pi:  // pugixml reads "<?xml" in any case as a declaration
        return true;
      case pugi::node_comment:
        return value.find("--") == std::string_view::npos && (value.empty() || value.back() != '-');
      case pugi::node_declaration:
      case pugi::node_doctype:
        return depth() == 0;  // the prolog's order is IsWellFormedProlog's to check
      default:
        return false;
    }
  }
};

// UTF-16 after its byte order mark as UTF-8; nothing for an odd length or a lone
// surrogate.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  auto unit = [&](size_t i) {
    auto first = static_cast<unsigned char>(bytes[i]);
    auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
    if (c >= 0xD800 && c <= 0xDBFF) {
      i += 2;
      char32_t low = i < bytes.size() ? unit(i) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The document's own level: an optional declaration as its very first bytes, at most
// one DOCTYPE before the one element, comments and processing instructions, no text.
bool IsWellFormedProlog(const pugi::xml_document& doc, std::string_view text) {
  bool element = false, doctype = false, first = true;
  for (pugi::xml_node node : doc.children()) {
    switch (node.type()) {
      case pugi::node_declaration:
        if (!first || text.substr(0, 5) != "<?xml" || text.size() < 6 ||
            static_cast<unsigned char>(text[5]) > 0x20 ||
            std::string_view(node.first_attribute().name()) != "version") {
          return false;
        }
        break;
      case pugi::node_doctype:
        if (element || doctype) return false;
        doctype = true;
        break;
      case pugi::node_element:
        if (element) return false;
        element = true;
        break;
      case pugi::node_comment:
      case pugi::node_pi:
        break;
      default:
        return false;
    }
    first = false;
  }
  return element;
}

}  // namespace

bool LoadWellFormedXml(std::string_view bytes, pugi::xml_document& doc) {
  // UTF-16 is known by its byte order mark, which it must have; pugixml's own conversion
  // drops a lone surrogate and stops at a NUL without a word.
  std::optional<std::string> converted;
  std::string_view utf8 = bytes;
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    converted = Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    if (!converted) return false;
    utf8 = *converted;
  } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    utf8.remove_prefix(3);
  }
  // A NUL or a byte that is no UTF-8 would otherwise end or garble pugixml's reading.
  if (!IsXmlText(utf8)) return false;
  pugi::xml_parse_result parsed =
      doc.load_buffer(utf8.data(), utf8.size(), kParseFlags, pugi::encoding_utf8);
  NodeCheck check;
  if (parsed && IsWellFormedProlog(doc, utf8) && doc.traverse(check) && check.wellFormed) {
    return true;
  }
  doc.reset();
  return false;
}

}  // namespace tavisnap
