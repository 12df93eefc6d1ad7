// The debug lines under Windows: the Japanese short date and long time, and the line on
// the debugger output as a viewer of it receives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>

#include "core/codepage.h"
#include "core/debug_log.h"

namespace tavisnap {
namespace {

// Listens as a debug-output viewer does: the writer waits for DBWIN_BUFFER_READY, puts its
// process id and its text (code page 932) into DBWIN_BUFFER and signals DBWIN_DATA_READY.
class DebugOutputListener {
 public:
  DebugOutputListener()
      : mutex_(CreateMutexW(nullptr, FALSE, L"DBWinMutex")),
        bufferReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
        dataReady_(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
        mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                    L"DBWIN_BUFFER")),
        view_(mapping_ ? MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, kSize) : nullptr) {
    SetEvent(bufferReady_);
  }
  ~DebugOutputListener() {
    if (view_) UnmapViewOfFile(view_);
    for (HANDLE h : {mapping_, dataReady_, bufferReady_, mutex_}) {
      if (h) CloseHandle(h);
    }
  }
  DebugOutputListener(const DebugOutputListener&) = delete;
  DebugOutputListener& operator=(const DebugOutputListener&) = delete;

  bool ok() const { return view_ != nullptr; }
  // The next text this process wrote, or nullopt within the time.
  std::optional<std::string> Next(DWORD timeoutMs) {
    const DWORD self = GetCurrentProcessId();
    for (;;) {
      if (WaitForSingleObject(dataReady_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
      DWORD pid = *static_cast<const DWORD*>(view_);
      const char* text = static_cast<const char*>(view_) + sizeof(DWORD);
      std::string line(text, strnlen(text, kSize - sizeof(DWORD)));
      SetEvent(bufferReady_);
      if (pid == self) return line;
    }
  }

 private:
  static constexpr DWORD kSize = 4096;
  HANDLE mutex_, bufferReady_, dataReady_, mapping_;
  void* view_;
};

TEST(DebugLogWin, UsesTheJapaneseShortDateAndLongTime) {
  LocalDateTime now = CurrentLocalDateTime();
  EXPECT_TRUE(std::regex_match(now.date, std::regex(R"(\d{4}/\d{1,2}/\d{1,2})"))) << now.date;
  EXPECT_TRUE(std::regex_match(now.time, std::regex(R"(\d{1,2}:\d{2}:\d{2})"))) << now.time;
}

TEST(DebugLogWin, TheLineReachesTheDebuggerOutputWhole) {
  DebugOutputListener listener;
  ASSERT_TRUE(listener.ok());
  DebugLog("キャプチャー画像送信監視タイマー");
  std::optional<std::string> line = listener.Next(5000);
  ASSERT_TRUE(line.has_value()) << "nothing reached the debugger output";
  std::string text = Cp932ToUtf8(*line);
  EXPECT_TRUE(std::regex_match(
      text, std::regex(R"(\[DEBUG:  \d{4}/\d{1,2}/\d{1,2} \d{1,2}:\d{2}:\d{2}\] )"
                       R"(\|キャプチャー画像送信監視タイマー\|)")))
      << text;
}

}  // namespace
}  // namespace tavisnap
