// The system's accessibility objects read into records, under Wine: the window of the
// test's own, a window that is gone and one that does not answer.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "capture/accessibility_reader.h"
#include "support/driver_win.h"
#include "support/reader_window_win.h"

namespace tavisnap {
namespace {

std::string Dump(const ReaderTree& tree) {
  std::string text = "title " + tree.title + "\n";
  auto line = [](const ReaderElement& e) {
    return std::to_string(e.depth) + " [" + e.role + "] [" + e.name + "] [" + e.value + "]" +
           (e.focusable ? " focusable" : "") + (e.isProtected ? " protected" : "") +
           (e.unavailable ? " unavailable" : "") + (e.checked ? " checked" : "") +
           (e.selected ? " selected" : "") + (e.expanded ? " expanded" : "") + "\n";
  };
  if (tree.focused) text += "focus " + line(*tree.focused);
  for (const ReaderElement& e : tree.elements) text += line(e);
  return text;
}

// Wine gives buttons, static texts and list boxes the generic client object: their kind,
// check and items come from the controls themselves. The list box has no name there.
TEST(AccessibilityReader, TheTestWindowAsAScreenReaderHearsIt) {
  testing::ReaderWindow window(100, 100);
  ASSERT_TRUE(window.Activate());
  ReaderReading reading = SystemAccessibilityReader().Read(window.hwnd(), nullptr);
  ASSERT_EQ(reading.result, ReadResult::Read);
  EXPECT_EQ(Dump(reading.tree),
            "title 読み上げの確認\n"
            "focus 0 [テキスト] [氏名] [山田太郎] focusable\n"
            "0 [静的テキスト] [氏名] []\n"
            "0 [テキスト] [氏名] [山田太郎] focusable\n"
            "0 [静的テキスト] [暗証番号] []\n"
            "0 [テキスト] [暗証番号] [] focusable protected\n"
            "0 [チェック ボタン] [保存する] [] focusable checked\n"
            "0 [プッシュ ボタン] [] [] focusable\n"
            "0 [静的テキスト] [色] []\n"
            "0 [リスト] [] [] focusable\n"
            "1 [リスト項目] [赤] [] focusable\n"
            "1 [リスト項目] [緑] [] focusable selected\n"
            "1 [リスト項目] [青] [] focusable\n");
}

// A window on a thread that does not answer is left at once, not waited for.
TEST(AccessibilityReader, AWindowGoneOrNotAnsweringIsNotRead) {
  HWND gone = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(SystemAccessibilityReader().Read(gone, nullptr).result, ReadResult::Gone);

  HWND hung = nullptr;
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread busy([&] {
    hung = CreateWindowExW(0, L"Static", L"忙しい", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                           nullptr, nullptr, nullptr);
    SetEvent(created);
    Sleep(1500);  // no messages handled meanwhile
    DestroyWindow(hung);
  });
  WaitForSingleObject(created, 5000);
  auto start = std::chrono::steady_clock::now();
  ReadResult result = SystemAccessibilityReader().Read(hung, nullptr).result;
  auto took = std::chrono::steady_clock::now() - start;
  busy.join();
  CloseHandle(created);
  EXPECT_EQ(result, ReadResult::Unreadable);
  EXPECT_LT(took, std::chrono::milliseconds(700));
}

}  // namespace
}  // namespace tavisnap
