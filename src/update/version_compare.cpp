#include "update/version_compare.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace tavisnap {
namespace {

// The parts without leading zeros, or nothing when one is not a non-empty run of digits.
std::optional<std::vector<std::string_view>> Parts(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    size_t dot = text.find('.');
    std::string_view part = text.substr(0, dot);
    if (part.empty()) return std::nullopt;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
    }
    size_t first = part.find_first_not_of('0');
    parts.push_back(first == std::string_view::npos ? std::string_view() : part.substr(first));
    if (dot == std::string_view::npos) return parts;
    text.remove_prefix(dot + 1);
  }
}

// Numbers of any length, as digit strings without leading zeros.
int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

bool IsNewerVersion(const std::string& current, const std::string& latest) {
  auto newer = Parts(latest);
  if (!newer) return false;
  if (current.empty()) return true;
  auto own = Parts(current);
  if (!own) return false;
  size_t n = std::max(own->size(), newer->size());
  for (size_t i = 0; i < n; ++i) {
    std::string_view a = i < own->size() ? (*own)[i] : std::string_view();
    std::string_view b = i < newer->size() ? (*newer)[i] : std::string_view();
    if (int c = CompareNumbers(a, b); c != 0) return c < 0;
  }
  return false;
}

}  // namespace tavisnap
