// A Prompter that records every box instead of showing it.
#pragma once

#include <string>
#include <vector>

#include "core/prompter.h"

namespace tavisnap::testing {

struct ShownBox {
  BoxKind kind;
  std::string text;
  bool operator==(const ShownBox&) const = default;
};

class FakePrompter : public Prompter {
 public:
  bool Show(BoxKind kind, const std::string& text) override {
    boxes.push_back({kind, text});
    if (log) log->push_back("box:" + text);
    return answer;
  }

  std::vector<ShownBox> boxes;
  std::vector<std::string>* log = nullptr;  // shared with other fakes to check order
  bool answer = true;
};

}  // namespace tavisnap::testing
