// The message boxes the commands' messages appear in: caption, text, buttons and the
// default button of each kind, answered as a user would.
#include <gtest/gtest.h>

#include <thread>

#include "core/prompter_win.h"
#include "support/driver_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

struct Expect {
  BoxKind kind;
  const wchar_t* caption;
  size_t buttons;
  int default_button;
  int answer;
  bool result;
};

TEST(PrompterWin, EachKindShowsItsCaptionButtonsAndDefaultButton) {
  const Expect expected[] = {
      {BoxKind::Information, L"タビスナップ", 1, IDOK, IDOK, true},
      {BoxKind::Warning, L"タビスナップ（警告）", 1, IDOK, IDOK, true},
      {BoxKind::Confirmation, L"タビスナップ（確認）", 2, IDOK, IDOK, true},
      {BoxKind::Confirmation, L"タビスナップ（確認）", 2, IDOK, IDCANCEL, false},
      {BoxKind::ConfirmationCancelDefault, L"タビスナップ（確認）", 2, IDCANCEL, IDOK, true},
      {BoxKind::ConfirmationCancelDefault, L"タビスナップ（確認）", 2, IDCANCEL, IDCANCEL, false},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(Narrow(e.caption) + " answer " + std::to_string(e.answer));
    bool result = !e.result;
    std::thread shower([&] { result = Win32Prompter().Show(e.kind, "削除しました"); });
    auto box = testing::WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, e.caption);
    EXPECT_EQ(box->text, L"削除しました");
    ASSERT_EQ(box->buttons.size(), e.buttons);
    EXPECT_EQ(box->buttons[0], L"OK");
    // The default button is drawn as such and holds the focus, so Enter answers it.
    // (Wine's DM_GETDEFID always names OK.)
    HWND default_button = GetDlgItem(box->hwnd, e.default_button);
    ASSERT_NE(default_button, nullptr);
    EXPECT_EQ(GetWindowLongW(default_button, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(box->hwnd, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, default_button);
    for (HWND child : testing::Children(box->hwnd)) {
      bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      if (testing::ClassOf(child) == L"Static" && icon) {
        EXPECT_EQ(SendMessageW(child, STM_GETICON, 0, 0), 0) << "the boxes carry no icon";
      }
    }
    testing::AnswerMessageBox(*box, e.answer);
    shower.join();
    EXPECT_EQ(result, e.result);
  }
}

}  // namespace
}  // namespace tavisnap
