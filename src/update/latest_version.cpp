#include "update/latest_version.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <memory>

#include "core/codepage.h"
#include "core/define.h"
#include "service/http_get.h"
#include "service/tls_policy.h"

namespace tavisnap {
namespace {

// The document element is at depth 1, so the "version" elements read are at depth 3.
constexpr int kVersionDepth = 3;

struct Reading {
  XML_Parser parser = nullptr;
  int depth = 0;
  bool inVersion = false;
  std::string text;  // every text below the "version" element being read
  std::string result;
};

Reading& Of(void* data) {
  return *static_cast<Reading*>(data);
}

// The blanks around the text go, so that a version on its own indented line reads as the
// version.
std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

// No exception may leave a callback into expat's C code: a failure stops the parse, which
// then reads as a document that offers nothing.
template <typename Step>
void Guarded(void* data, Step step) {
  try {
    step(Of(data));
  } catch (...) {
    XML_StopParser(Of(data).parser, XML_FALSE);
  }
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) {
  Guarded(data, [&](Reading& r) {
    if (++r.depth == kVersionDepth && std::strcmp(name, "version") == 0) {
      r.inVersion = true;
      r.text.clear();
    }
  });
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
  Guarded(data, [&](Reading& r) {
    if (r.depth-- == kVersionDepth && r.inVersion) {
      r.result = Trimmed(r.text);
      r.inVersion = false;
    }
  });
}

void XMLCALL OnText(void* data, const XML_Char* s, int len) {
  Guarded(data, [&](Reading& r) {
    if (r.inVersion) r.text.append(s, static_cast<size_t>(len));
  });
}

// Entities are declared only in an internal subset: expat fetches nothing itself and is
// given no handler for external entities, so an external subset is never read. Expanded,
// entities could make a small file cost much memory and time; a version file needs none,
// so a document with an internal subset offers nothing.
void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                       int hasInternalSubset) {
  if (hasInternalSubset) XML_StopParser(Of(data).parser, XML_FALSE);
}

// A reference to an entity of the unread external subset: the text cannot be read whole.
void XMLCALL OnSkippedEntity(void* data, const XML_Char*, int) {
  XML_StopParser(Of(data).parser, XML_FALSE);
}

// A Japanese server may well declare Shift_JIS, which expat does not know; the program's
// own decoder reads it as Windows does.
bool IsShiftJisName(std::string_view name) {
  static constexpr std::string_view kNames[] = {"shift_jis", "shift-jis",   "x-sjis",
                                                "ms_kanji",  "windows-31j", "cp932"};
  std::string lower(name);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return std::find(std::begin(kNames), std::end(kNames), lower) != std::end(kNames);
}

// The one character of a code page 932 sequence; -1 when the bytes make no single character.
int Cp932Character(std::string_view bytes) {
  std::string utf8 = Cp932ToUtf8(bytes);
  size_t at = 0;
  char32_t c = NextUtf8(utf8, at);
  return c == kBadUtf8 || at != utf8.size() ? -1 : static_cast<int>(c);
}

int XMLCALL ConvertCp932Pair(void*, const char* bytes) {
  try {
    return Cp932Character(std::string_view(bytes, 2));
  } catch (...) {
    return -1;
  }
}

int XMLCALL OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  try {
    if (!IsShiftJisName(name)) return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b) {
      auto byte = static_cast<unsigned char>(b);
      // -2: the first byte of a two-byte character, handed to ConvertCp932Pair whole.
      info->map[b] = IsCp932LeadByte(byte) ? -2 : Cp932Character(std::string(1, byte));
    }
    info->data = nullptr;
    info->convert = ConvertCp932Pair;
    info->release = nullptr;
    return XML_STATUS_OK;
  } catch (...) {
    return XML_STATUS_ERROR;
  }
}

}  // namespace

std::string VersionFromDocument(std::string_view xml) {
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                      XML_ParserFree);
  if (!parser) return {};
  Reading reading;
  reading.parser = parser.get();
  XML_SetUserData(parser.get(), &reading);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
  XML_SetSkippedEntityHandler(parser.get(), OnSkippedEntity);
  XML_SetUnknownEncodingHandler(parser.get(), OnUnknownEncoding, nullptr);
  if (xml.size() > INT_MAX || XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()),
                                        XML_TRUE) != XML_STATUS_OK) {
    return {};
  }
  return reading.result;
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
