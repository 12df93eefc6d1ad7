#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>

#include "core/codepage.h"
#include "core/debug_log.h"

namespace tavisnap {
namespace {

// Receives what OutputDebugString sends to a debug monitor when no debugger is attached
// (the DBWIN_BUFFER protocol): the sender's process id and the text in code page 932.
class DebugMonitor {
 public:
  DebugMonitor()
      : ready_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
        data_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
        buffer_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                   L"DBWIN_BUFFER")),
        view_(buffer_ ? static_cast<const char*>(MapViewOfFile(buffer_, FILE_MAP_READ, 0, 0, 0))
                      : nullptr) {}
  ~DebugMonitor() {
    if (view_) UnmapViewOfFile(view_);
    for (HANDLE h : {ready_, data_, buffer_}) {
      if (h) CloseHandle(h);
    }
  }
  bool ok() const { return ready_ && data_ && view_; }
  void Arm() { SetEvent(ready_); }
  // The next text this process sent after Arm(), as UTF-8.
  std::optional<std::string> Take() {
    while (WaitForSingleObject(data_, 2000) == WAIT_OBJECT_0) {
      DWORD pid = *reinterpret_cast<const DWORD*>(view_);
      const char* text = view_ + sizeof(DWORD);
      size_t length = strnlen(text, kSize - sizeof(DWORD));
      if (pid == GetCurrentProcessId()) return Cp932ToUtf8({text, length});
      SetEvent(ready_);  // another process's message
    }
    return std::nullopt;
  }

 private:
  static constexpr DWORD kSize = 4096;
  HANDLE ready_, data_, buffer_;
  const char* view_;
};

TEST(DebugLogWin, TheLineReachesTheDebuggerOutputWithTheShortDateAndLongTime) {
  LocalDateTime now = CurrentLocalDateTime();
  EXPECT_TRUE(std::regex_match(now.date, std::regex(R"(\d{4}/\d{1,2}/\d{1,2})"))) << now.date;
  EXPECT_TRUE(std::regex_match(now.time, std::regex(R"(\d{1,2}:\d{2}:\d{2})"))) << now.time;

  DebugMonitor monitor;
  ASSERT_TRUE(monitor.ok());
  monitor.Arm();
  DebugLog("キャプチャー画像送信監視タイマー");
  std::optional<std::string> line = monitor.Take();
  ASSERT_TRUE(line.has_value()) << "nothing reached the debugger output";
  EXPECT_TRUE(std::regex_match(
      *line, std::regex(R"(\[DEBUG:  \d{4}/\d{1,2}/\d{1,2} \d{1,2}:\d{2}:\d{2}\] \|.*\|)")))
      << *line;
  EXPECT_NE(line->find("] |キャプチャー画像送信監視タイマー|"), std::string::npos) << *line;
}

}  // namespace
}  // namespace tavisnap
