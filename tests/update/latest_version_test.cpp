// What version.xml must be to offer a version: well-formed XML, read as it says.
#include "update/latest_version.h"

#include <gtest/gtest.h>

#include <string>

namespace tavisnap {
namespace {

using namespace std::string_literals;

// The version file around a "version" element's content, and what may stand after it.
std::string Document(const std::string& version, const std::string& after = "") {
  return "<a><b><version>" + version + "</version></b></a>" + after;
}

// UTF-16, little-endian, with its byte order mark.
std::string Utf16(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(VersionFromDocument, ADocumentThatIsNotWellFormedOffersNothing) {
  const struct {
    const char* what;
    std::string xml;
  } cases[] = {
      {"text after the document element", Document("2.0.9", "junk")},
      {"text before it", "junk" + Document("2.0.9")},
      {"a second element", Document("2.0.9", "<c/>")},
      {"CDATA after it", Document("2.0.9", "<![CDATA[x]]>")},
      {"a NUL after it", Document("2.0.9", "\0<c/>"s)},
      {"an undefined entity", Document("2.0.9&foo;")},
      {"an undefined entity in an attribute", "<a><b x='&foo;'><version>2.0.9</version></b></a>"},
      {"a bare ampersand", Document("2.0 & 9")},
      {"a reference without its semicolon", Document("2.0.&#57")},
      {"a character reference to NUL", Document("2.0.9&#0;")},
      {"to a lone surrogate", Document("2.0.9&#xD800;")},
      {"beyond U+10FFFF", Document("2.0.9&#x110000;")},
      {"an upper-case X", Document("2.0.&#X39;")},
      {"a control character", Document("2.0.9\x01")},
      {"a byte that is no UTF-8", Document("2.0.9\xFF")},
      {"a lone surrogate in UTF-16", Utf16(u"<a><b><version>2.0.9\xD800</version></b></a>")},
      {"a NUL in UTF-16", Utf16(u"<a><b><version>2.0.9</version></b></a>"s + u'\0' + u"<c/>")},
      {"a repeated attribute", "<a><b x='1' x='2'><version>2.0.9</version></b></a>"},
      {"\"<\" in an attribute value", "<a><b x='<'><version>2.0.9</version></b></a>"},
      {"\"]]>\" in text", Document("2.0.9]]>")},
      {"\"--\" in a comment", Document("2.0.9", "<!-- a -- b -->")},
      {"a comment ending in \"-\"", Document("2.0.9", "<!-- a --->")},
      {"a declaration after a blank", " <?xml version='1.0'?>" + Document("2.0.9")},
      {"a declaration after the element", Document("2.0.9", "<?xml version='1.0'?>")},
      {"a declaration without its version", "<?xml encoding='UTF-8'?>" + Document("2.0.9")},
      {"a DOCTYPE after the element", Document("2.0.9", "<!DOCTYPE a>")},
      {"two DOCTYPEs", "<!DOCTYPE a><!DOCTYPE a>" + Document("2.0.9")},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionFromDocument(c.xml), "") << c.what;
}

TEST(VersionFromDocument, AWellFormedDocumentIsReadWithItsReferences) {
  const struct {
    const char* what;
    std::string xml;
    const char* version;
  } cases[] = {
      {"character references", Document("2.&#48;.&#x39;"), "2.0.9"},
      {"UTF-16", Utf16(u"<a><b><version>2.0.9 \U0001F600</version></b></a>"), "2.0.9 😀"},
      {"predefined entities", Document("&lt;2.0.9&gt;&amp;&apos;&quot;"), "<2.0.9>&'\""},
      {"CDATA is not resolved", Document("<![CDATA[2.0.9&amp;]]>"), "2.0.9&amp;"},
      {"the whole prolog and what may follow the element",
       "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE a>\n<!-- c -->"
       "<?pi x?>\n<a x=\"&amp;\"><b y='&#60;'><!-- d --><version>2.0.9</version></b></a>\n"
       "<!-- after --><?pi y?>\n",
       "2.0.9"},
      {"an external DTD, which is never fetched",
       "<!DOCTYPE a SYSTEM 'http://127.0.0.1:9/version.dtd'>" + Document("2.0.9"), "2.0.9"},
      {"Shift_JIS", "<?xml version='1.0' encoding='Shift_JIS'?>" + Document("2.0.9 \x94\xC5\xB1"),
       "2.0.9 版ｱ"},
      {"Windows-31J in capitals",
       "<?xml version='1.0' encoding='WINDOWS-31J'?>" + Document("2.0.9"), "2.0.9"},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionFromDocument(c.xml), c.version) << c.what;
}

TEST(VersionFromDocument, AWellFormedDocumentWhoseTextCouldBeHiddenOffersNothing) {
  const struct {
    const char* what;
    std::string xml;
  } cases[] = {
      {"an internal subset, where entities are declared",
       "<!DOCTYPE a [<!ENTITY e '9'>]>" + Document("2.0.&e;")},
      {"an entity of the external subset, which is never read",
       "<!DOCTYPE a SYSTEM 'version.dtd'>" + Document("2.0.&e;")},
      {"an encoding neither expat nor the reader knows",
       "<?xml version='1.0' encoding='EUC-JP'?>" + Document("2.0.9")},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionFromDocument(c.xml), "") << c.what;
}

}  // namespace
}  // namespace tavisnap
