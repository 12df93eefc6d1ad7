#include "update/latest_version.h"

#include <pugixml.hpp>

#include "core/define.h"
#include "service/http_get.h"
#include "service/tls_policy.h"
#include "update/well_formed_xml.h"

namespace tavisnap {
namespace {

// Every text below the node, as a document's text is; the blanks around it go, so that a
// version on its own indented line reads as the version.
std::string NodeText(const pugi::xml_node& node) {
  std::string text;
  struct Collect : pugi::xml_tree_walker {
    std::string* out;
    bool for_each(pugi::xml_node& n) override {
      if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) *out += n.value();
      return true;
    }
  } walker;
  walker.out = &text;
  pugi::xml_node copy = node;
  copy.traverse(walker);
  const char* blanks = " \t\r\n";
  size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

}  // namespace

std::string VersionFromDocument(std::string_view xml) {
  pugi::xml_document doc;
  if (!LoadWellFormedXml(xml, doc)) return {};
  pugi::xml_node root = doc.document_element();
  std::string result;
  for (pugi::xml_node child : root.children()) {
    for (pugi::xml_node grandchild : child.children()) {
      if (grandchild.type() == pugi::node_element &&
          std::string_view(grandchild.name()) == "version") {
        result = NodeText(grandchild);
      }
    }
  }
  return result;
}

std::string FetchLatestVersion(const std::string& updateUrl, const std::string& caPem) {
  if (updateUrl.empty()) return {};
  try {
    HttpGetLimits limits;
    limits.totalMillis = kVersionFetchMillis;
    limits.maxBytes = kMaxVersionFileBytes;
    auto body = HttpGetText(updateUrl + kVersionFileName, caPem, limits);
    return body ? VersionFromDocument(*body) : std::string();
  } catch (...) {
    return {};  // out of memory or a broken library: still no version, and no message
  }
}

std::string GetLatestVersion() {
  return FetchLatestVersion(SysInfo.UpdateUrl, ReadExtraAuthorities());
}

}  // namespace tavisnap
