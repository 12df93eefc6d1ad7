// The version published on the update server: the text of the "version" grandchildren
// of version.xml's document element, the last one winning.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavisnap {

inline constexpr char kVersionFileName[] = "version.xml";
inline constexpr long kVersionFetchMillis = 5000;
inline constexpr size_t kMaxVersionFileBytes = 64 * 1024;

// The published version in an XML document, in any encoding expat reads or Shift_JIS;
// empty when it is not well-formed, has none, or has a DTD that could declare or hide an
// entity (an internal subset, or a reference to an entity of the unread external one).
std::string VersionFromDocument(std::string_view xml);

// Fetches updateUrl + "version.xml" (a few seconds at most) and reads it; any failure
// gives the empty text. Reads no globals, so it may run on a worker thread.
std::string FetchLatestVersion(const std::string& updateUrl, const std::string& caPem);

// The same with the settings' UPDATE_URL and CA_FILE.
std::string GetLatestVersion();

}  // namespace tavisnap
