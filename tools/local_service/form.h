// A multipart form as the service received it. Text values stay in the bytes that came
// (code page 932); file contents are spooled to disk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavisnap::local_service {

struct FormPart {
  std::string name;
  std::string filename;  // bytes as sent; empty for a text part
  std::string content_type;
  std::string content;     // a text part's value
  std::string spool_path;  // a file part's contents on disk
  int64_t size = 0;
  bool is_file = false;
};

struct Form {
  std::vector<FormPart> parts;
  bool complete = false;  // the whole body arrived and parsed

  const FormPart* Find(std::string_view name) const;
  std::string Text(std::string_view name) const;  // empty when absent
  void RemoveSpoolFiles();
};

}  // namespace tavisnap::local_service
