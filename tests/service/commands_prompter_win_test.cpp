// The message boxes the commands' messages appear in: caption, text, buttons and the
// default button of each kind, answered as a user would.
#include <gtest/gtest.h>

#include <thread>

#include "support/driver_win.h"
#include "win/message_box_win.h"
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
    EXPECT_EQ(LOWORD(SendMessageW(box->hwnd, DM_GETDEFID, 0, 0)), e.default_button);
    for (HWND child : testing::Children(box->hwnd)) {
      bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      EXPECT_FALSE(icon && IsWindowVisible(child)) << "the boxes carry no icon";
    }
    testing::AnswerMessageBox(*box, e.answer);
    shower.join();
    EXPECT_EQ(result, e.result);
  }
}

}  // namespace
}  // namespace tavisnap
