// XML documents through pugixml, but only well-formed ones. pugixml reads past much of
// what makes a document not well-formed: text or a second element after the document
// element, an undefined entity (left in the text as it stands), a character reference
// to NUL or to a lone surrogate (written into the text), a raw NUL (where it silently
// stops), duplicate attributes, "<" in an attribute value, "--" in a comment, a
// declaration that is not the document's first bytes, a DOCTYPE after the element.
// LoadWellFormedXml checks those itself on top of pugixml's own status.
#pragma once

#include <pugixml.hpp>
#include <string_view>

namespace tavisnap {

// Parses the document, UTF-8 or UTF-16 with its byte order mark (a declared encoding is
// not looked at), into doc. False when it is not well-formed, holds a character XML
// does not allow, or uses an entity other than the five predefined ones (the reader
// expands none that a DTD declares): doc then offers nothing. On success the text and
// attribute values of doc hold their references resolved, as pugixml's own parse gives
// them.
bool LoadWellFormedXml(std::string_view bytes, pugi::xml_document& doc);

}  // namespace tavisnap
