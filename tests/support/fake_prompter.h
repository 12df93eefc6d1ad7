// The message boxes of every native test: each box is recorded instead of shown, and a
// confirmation takes the next scripted answer (OK once the script is used up).
#pragma once

#include <deque>
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
    if (log) log->push_back("box " + text);
    // Boxes with only OK leave the script alone.
    if (kind == BoxKind::Information || kind == BoxKind::Warning || kind == BoxKind::UpdateFailed ||
        answers.empty()) {
      return true;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<ShownBox> boxes;
  std::deque<bool> answers;                 // true for OK, false for Cancel
  std::vector<std::string>* log = nullptr;  // shared with other fakes to check the order
};

}  // namespace tavisnap::testing
