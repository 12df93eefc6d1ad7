#include "core/foreground.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavisnap {
namespace {

// Records the calls in order, as text.
class RecordingPlatform final : public ForegroundPlatform {
 public:
  uint32_t foreground = 0;
  uint32_t self = 0;
  bool attachSucceeds = true;
  bool timeoutReadable = true;
  uint32_t timeout = 0;
  std::vector<std::string> calls;

  uint32_t ForegroundThread() override { return foreground; }
  uint32_t CurrentThread() override { return self; }
  bool AttachInput(uint32_t from, uint32_t to, bool attach) override {
    calls.push_back((attach ? "attach " : "detach ") + std::to_string(from) + ">" +
                    std::to_string(to));
    return attachSucceeds;
  }
  bool GetLockTimeout(uint32_t& milliseconds) override {
    calls.push_back("get timeout");
    if (timeoutReadable) milliseconds = timeout;
    return timeoutReadable;
  }
  void SetLockTimeout(uint32_t milliseconds) override {
    calls.push_back("set timeout " + std::to_string(milliseconds));
    timeout = milliseconds;
  }
  void SetForeground(void*) override { calls.push_back("foreground"); }
};

TEST(BringToForeground, UnlocksForTheOneCallAndUndoesEverything) {
  struct Case {
    const char* name;
    uint32_t foreground, self;
    bool attachSucceeds, timeoutReadable;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"another program in front",
       7,
       3,
       true,
       true,
       {"attach 7>3", "get timeout", "set timeout 0", "foreground", "set timeout 200000",
        "detach 7>3"}},
      {"our own window in front: no attaching to ourselves",
       3,
       3,
       true,
       true,
       {"get timeout", "set timeout 0", "foreground", "set timeout 200000"}},
      {"no window in front",
       0,
       3,
       true,
       true,
       {"get timeout", "set timeout 0", "foreground", "set timeout 200000"}},
      {"attaching refused: nothing to detach",
       7,
       3,
       false,
       true,
       {"attach 7>3", "get timeout", "set timeout 0", "foreground", "set timeout 200000"}},
      {"time-out unreadable: left alone",
       7,
       3,
       true,
       false,
       {"attach 7>3", "get timeout", "foreground", "detach 7>3"}},
  };
  int window = 0;
  for (const Case& c : cases) {
    RecordingPlatform platform;
    platform.foreground = c.foreground;
    platform.self = c.self;
    platform.attachSucceeds = c.attachSucceeds;
    platform.timeoutReadable = c.timeoutReadable;
    platform.timeout = 200000;
    BringToForeground(platform, &window);
    EXPECT_EQ(platform.calls, c.calls) << c.name;
    EXPECT_EQ(platform.timeout, 200000u) << c.name;
  }
}

TEST(BringToForeground, WithoutAWindowNothingIsTouched) {
  RecordingPlatform platform;
  platform.foreground = 7;
  platform.self = 3;
  BringToForeground(platform, nullptr);
  EXPECT_TRUE(platform.calls.empty());
}

}  // namespace
}  // namespace tavisnap
