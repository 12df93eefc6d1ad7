// One item of a service form and the ordered form every service request is built from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavisnap {

enum : uint8_t { kFormText = 0, kFormFile = 1 };

struct TTypFormData {
  uint8_t Kind = kFormText;  // kFormText, kFormFile; any other value leaves the item out
  std::string Name;
  std::string Value;  // UTF-8: the text, or the local file's path
};

using TTypFormDataArray = std::vector<TTypFormData>;

}  // namespace tavisnap
