// The send panel under Wine, in-process: what Tab visits on each page and how a screen
// reader names it, and the answer each way of leaving the panel gives.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/form_send_panel_res.h"
#include "capture/form_send_panel_win.h"
#include "core/define.h"
#include "imaging/jpeg_codec.h"
#include "support/accessibility_win.h"
#include "support/fake_prompter.h"
#include "support/globals.h"
#include "support/temp_dir.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr char kPrompt[] = "リストから選択してください";

struct Entry {
  std::string name, address;
};

// Two entries, the prompt first in every list, as the address book fills them.
class FakeBook final : public SendPanelAddressBook {
 public:
  explicit FakeBook(const SendPanelCombos& combos) : combos_(combos) {}

  void FillLists() override {
    for (HWND list : {combos_.dstList, combos_.mailToList, combos_.ccList, combos_.bccList}) {
      Fill(list, [](const Entry& e) { return e.name + "(" + e.address + ")"; });
    }
    Fill(combos_.names, [](const Entry& e) { return e.name; });
    Fill(combos_.mailAdrs, [](const Entry& e) { return e.address; });
  }
  std::string NameAt(int index) const override { return At(index).name; }
  std::string AddressAt(int index) const override { return At(index).address; }
  bool SetCurrentRecipient(int index) override { return index > 0; }

 private:
  void Fill(HWND list, const std::function<std::string(const Entry&)>& text) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> items{kPrompt};
    for (const Entry& e : entries_) items.push_back(text(e));
    for (const std::string& item : items) {
      std::wstring wide = Widen(item);
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
  }
  Entry At(int index) const {
    return index >= 1 && index <= static_cast<int>(entries_.size()) ? entries_[index - 1] : Entry{};
  }

  SendPanelCombos combos_;
  std::vector<Entry> entries_{{"山田", "yamada@example.jp"}, {"佐藤", "sato@example.jp"}};
};

// Runs an action from the panel's own modal loop, once the panel is on show; a panel
// that the action left open is closed after a while, so that no test hangs.
std::function<void()>* pendingAction = nullptr;
TFormSendPanel* openPanel = nullptr;
UINT_PTR closeTimer = 0;
bool leftOpen = false;
void CALLBACK CloseLeftOpen(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (id != closeTimer || !openPanel || !openPanel->IsModal()) return;
  leftOpen = true;
  openPanel->EndModal(-1);
}
void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (pendingAction) (*pendingAction)();
  closeTimer = SetTimer(nullptr, 0, 3000, CloseLeftOpen);
}

class SendPanelTest : public ::testing::Test {
 public:
  void SetUp() override {
    testing::ResetGlobals();
    CaptureFile = dir_ / "capture.jpg";
    WriteJpegFile(CaptureFile, Picture(64, 48));
    SysInfo.DstName = "山田";
    SysInfo.DstMailAdr = "yamada@example.jp";
    SendParam = TTypSendParam{};
    SendParam.CaptureMode = kCaptureDesktop;
    panel_ = std::make_unique<TFormSendPanel>(
        nullptr, prompter_, [](const SendPanelCombos& c) { return std::make_unique<FakeBook>(c); });
  }
  void TearDown() override {
    panel_.reset();
    testing::ResetGlobals();
  }

  void ShowWhile(std::function<void()> during) {
    pendingAction = &during;
    openPanel = panel_.get();
    SetTimer(nullptr, 0, 100, RunPendingAction);
    leftOpen = false;
    panel_->ShowModal(SendParam);
    KillTimer(nullptr, closeTimer);
    closeTimer = 0;
    pendingAction = nullptr;
  }

  void Press(int id) {
    SendMessageW(panel_->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(panel_->Item(id)));
  }

  testing::TempDir dir_;
  testing::FakePrompter prompter_;
  std::unique_ptr<TFormSendPanel> panel_;
};

TEST_F(SendPanelTest, EachPageIsReadInTheOrderOfItsControls) {
  const std::vector<std::wstring> easy = {L"簡易送信",
                                          L"送信先名",
                                          L"現在の送信先名称",
                                          L"メールアドレス",
                                          L"現在の送信先メールアドレス",
                                          L"送信先リスト",
                                          L"送信先変更",
                                          L"画像の種類",
                                          L"送信",
                                          L"キャンセル"};
  const std::vector<std::wstring> detailed = {
      L"詳細送信",     L"メールアドレス",   L"送信先リスト",     L"送信先変更",
      L"送信先(CC)",   L"送信先リスト",     L"その他送信先追加", L"送信先(BCC)",
      L"送信先リスト", L"その他送信先追加", L"メール本文",       L"読み上げ内容を本文に追加(Y)",
      L"送信",         L"キャンセル",       L"画像の種類"};
  testing::AccessibilityAudit easyAudit, detailedAudit;
  SendParam.CaptureWindow = panel_->hwnd();  // a capture's window: the reader button is on
  ShowWhile([&] {
    easyAudit = testing::AuditTabOrder(panel_->hwnd(), easy);
    panel_->ShowPage(PanelPage::Detailed);
    detailedAudit = testing::AuditTabOrder(panel_->hwnd(), detailed);
    panel_->ShowPage(PanelPage::Easy);
  });
  EXPECT_TRUE(easyAudit.ok) << easyAudit.report;
  EXPECT_TRUE(detailedAudit.ok) << detailedAudit.report;
}

TEST_F(SendPanelTest, ThePanelShowsTheRecipientTheModeAndAnInactiveViewerButton) {
  std::string name, address, mode, detailedMode;
  bool viewerEnabled = true;
  ShowWhile([&] {
    name = panel_->ItemText(IDC_SendPanel_StaticText_dst_name_dsp);
    address = panel_->ItemText(IDC_StaticText_dst_mailadr_dsp);
    mode = panel_->ItemText(IDC_StaticText_Image);
    detailedMode = panel_->ItemText(IDC_StaticText_d_Image);
    viewerEnabled = IsWindowEnabled(panel_->Item(IDC_Button_viewer)) ||
                    IsWindowEnabled(panel_->Item(IDC_Button_d_viewer));
  });
  EXPECT_EQ(name, "山田");
  EXPECT_EQ(address, "yamada@example.jp");
  EXPECT_EQ(mode, "画像送信モード【デスクトップ画面】（64×48ピクセル）") << "with the receipt";
  EXPECT_EQ(detailedMode, mode);
  EXPECT_FALSE(viewerEnabled);
  EXPECT_TRUE(panel_->logic().PreviewLoaded());
  RECT client;
  GetClientRect(panel_->hwnd(), &client);
  EXPECT_EQ(client.right, 647);
  EXPECT_EQ(client.bottom, 637);
}

// A resend opens on the detailed page with its addresses.
TEST_F(SendPanelTest, AResendOpensOnTheDetailedPageFilledIn) {
  panel_->ShowPage(PanelPage::Easy);
  panel_->Prefill({true, "to@example.jp", "cc@example.jp;", "", "お願いします\r\n二行目"});
  PanelPage shown = PanelPage::Easy;
  std::string to, cc, message;
  ShowWhile([&] {
    shown = panel_->CurrentPage();
    to = panel_->ItemText(IDC_Edit_MailTo_Email);
    cc = panel_->ItemText(IDC_Edit_Cc_Email);
    message = panel_->ItemText(IDC_Memo_Message);
  });
  EXPECT_EQ(shown, PanelPage::Detailed);
  EXPECT_EQ(to, "to@example.jp");
  EXPECT_EQ(cc, "cc@example.jp;");
  EXPECT_EQ(message, "お願いします\r\n二行目");
}

TEST_F(SendPanelTest, EveryWayOfLeavingThePanelGivesItsAnswer) {
  struct Case {
    const char* name;
    std::function<void(SendPanelTest&)> leave;
    int32_t result;
    int32_t detailSend;
    std::string mailTo;
    std::string mailCc;
  };
  const std::vector<Case> cases = {
      {"simple send", [](SendPanelTest& t) { t.Press(IDC_Button_send_exec); }, kPanelSend, 0,
       "yamada@example.jp", ""},
      {"detailed send with Cc from the list",
       [](SendPanelTest& t) {
         t.panel_->ShowPage(PanelPage::Detailed);
         t.panel_->SetItemText(IDC_Edit_MailTo_Email, "other@example.jp");
         SendMessageW(t.panel_->Item(IDC_ComboBox_Cc_list), CB_SETCURSEL, 2, 0);
         t.Press(IDC_Button_Cc_Add);
         t.Press(IDC_Button_d_Send_exec);
       },
       kPanelSend, 1, "other@example.jp", "sato@example.jp;"},
      {"cancel", [](SendPanelTest& t) { t.Press(IDC_SendPanel_Button_cancel); }, kPanelCancel, 0,
       "", ""},
      {"detailed cancel", [](SendPanelTest& t) { t.Press(IDC_Button_d_cancel); }, kPanelCancel, 0,
       "", ""},
      {"close box",
       [](SendPanelTest& t) { SendMessageW(t.panel_->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); },
       kPanelCancel, 0, "", ""},
      {"Escape",
       [](SendPanelTest& t) {
         HWND focus = GetFocus();
         PostMessageW(focus ? focus : t.panel_->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         PostMessageW(focus ? focus : t.panel_->hwnd(), WM_KEYUP, VK_ESCAPE, 0xC0010001);
       },
       kPanelCancel, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendParam.MailTo.clear();
    panel_->ShowPage(PanelPage::Easy);
    ShowWhile([&] { c.leave(*this); });
    EXPECT_FALSE(leftOpen);
    EXPECT_FALSE(panel_->IsVisible());
    EXPECT_EQ(SendParam.PanelResult, c.result);
    EXPECT_EQ(SendParam.DetailSend, c.detailSend);
    if (c.result == kPanelSend) {
      EXPECT_EQ(SendParam.MailTo, c.mailTo);
      EXPECT_EQ(SendParam.MailCc, c.mailCc);
    }
  }
  EXPECT_TRUE(prompter_.boxes.empty());
}

}  // namespace
}  // namespace tavisnap
