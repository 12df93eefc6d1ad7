#include "capture/send_panel_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/define.h"
#include "imaging/jpeg_codec.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using testing::ShownBox;

class FakeView : public SendPanelView {
 public:
  std::string Text(PanelField field) const override {
    auto it = texts.find(field);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(PanelField field, const std::string& text) override { texts[field] = text; }
  int SelectedIndex(PanelList list) const override {
    auto it = selected.find(list);
    return it == selected.end() ? -1 : it->second;
  }
  void Select(PanelList list, int index) override { selected[list] = index; }
  void ShowPreview(const PreviewPictures& p) override {
    previews.push_back("picture " + std::to_string(p.picture.Width()) + "x" +
                       std::to_string(p.picture.Height()) + " easy " + Place(p.easy) +
                       " detailed " + Place(p.detailed));
  }
  void ClearPreview() override { previews.push_back("none"); }
  void Close() override { ++closed; }
  void ShowPage(PanelPage page) override { pages.push_back(page); }
  void EnableReaderButton(bool enabled) override { readerEnabled = enabled; }
  void FocusMessageEnd() override { ++messageFocused; }

  std::map<PanelField, std::string> texts;
  std::vector<PanelPage> pages;
  std::map<PanelList, int> selected;
  std::vector<std::string> previews;
  int closed = 0;
  bool readerEnabled = false;
  int messageFocused = 0;

 private:
  static std::string Place(const PreviewPlacement& p) {
    return std::to_string(p.left) + "," + std::to_string(p.top) + " " + std::to_string(p.width) +
           "x" + std::to_string(p.height);
  }
};

// Two entries behind the prompt item; fills select the prompt everywhere.
class FakeBook : public SendPanelAddressBook {
 public:
  explicit FakeBook(FakeView& view) : view_(view) {}
  void FillLists() override {
    ++fills;
    for (PanelList l :
         {PanelList::DstList, PanelList::MailToList, PanelList::CcList, PanelList::BccList}) {
      view_.Select(l, 0);
    }
  }
  std::string NameAt(int i) const override { return entries.at(static_cast<size_t>(i)).first; }
  std::string AddressAt(int i) const override { return entries.at(static_cast<size_t>(i)).second; }
  bool SetCurrentRecipient(int i) override {
    stored.push_back(i);
    return i != 0;
  }

  std::vector<std::pair<std::string, std::string>> entries = {
      {"リストから選択してください", "リストから選択してください"},
      {"山田", "yamada@example.jp"},
      {"", "suzuki@example.jp"},
  };
  int fills = 0;
  std::vector<int> stored;

 private:
  FakeView& view_;
};

// A window whose tree holds one named element, or one that cannot be read.
class FakeReader : public AccessibilityReader {
 public:
  ReaderReading Read(void* window, void* /*focus*/) override {
    windows.push_back(window);
    ReaderReading reading{result, {}};
    reading.tree.title = "t";
    return reading;
  }
  ReadResult result = ReadResult::Read;
  std::vector<void*> windows;
};

// The panel as CaptureSend opens it after a desktop capture of 1024 x 768.
class SendPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CaptureDir = temp.str();
    CaptureFile = temp / "capture.jpg";
    SysInfo = TTypSysInfo{};
    SysInfo.DstName = "佐藤";
    SysInfo.DstMailAdr = "sato@example.jp";
    WriteJpegFile(CaptureFile, Picture(1024, 768));
    param.CaptureMode = kCaptureDesktop;
  }
  void TearDown() override { SysInfo = TTypSysInfo{}; }

  testing::TempDir temp;
  FakeView view;
  FakeBook book{view};
  testing::FakePrompter prompter;
  TTypSendParam param;
  SendPanelLogic panel{view, book, prompter, param};
  FakeReader reader;
};

// ---- Opening ----

TEST_F(SendPanelTest, ShowingResetsTheAnswerAndShowsRecipientModeAndPreview) {
  param = {kCaptureDesktop, 1, "old-to", "old-cc", "old-bcc", "old-message", kPanelSend, ""};
  view.texts[PanelField::CcEmail] = "typed@example.jp;";
  view.texts[PanelField::Message] = "typed";
  panel.FormShow();
  EXPECT_EQ(book.fills, 1);
  EXPECT_EQ(param.DetailSend, 0);
  EXPECT_EQ(param.PanelResult, kPanelCancel);
  EXPECT_EQ(param.MailCc + param.MailBcc + param.MailMessage, "");
  EXPECT_EQ(view.Text(PanelField::CcEmail) + view.Text(PanelField::BccEmail) +
                view.Text(PanelField::Message),
            "");
  EXPECT_EQ(view.Text(PanelField::DstNameDsp), "佐藤");
  EXPECT_EQ(view.Text(PanelField::DstMailAdrDsp), "sato@example.jp");
  EXPECT_EQ(view.Text(PanelField::MailToEmail), "sato@example.jp");
  EXPECT_EQ(view.previews,
            (std::vector<std::string>{"picture 1024x768 easy 0,0 512x384 detailed 1,48 266x199"}));
  EXPECT_TRUE(panel.PreviewLoaded());
}

// A resend's addresses replace the usual ones for one showing only.
TEST_F(SendPanelTest, APrefillFillsTheDetailedPageForOneShowing) {
  for (bool detailed : {true, false}) {
    view.pages.clear();
    panel.SetPrefill({detailed, "to@example.jp", "cc@example.jp;", "bcc@example.jp;", "あ\r\nb"});
    panel.FormShow();
    EXPECT_EQ(view.Text(PanelField::MailToEmail), "to@example.jp");
    EXPECT_EQ(view.Text(PanelField::CcEmail), "cc@example.jp;");
    EXPECT_EQ(view.Text(PanelField::BccEmail), "bcc@example.jp;");
    EXPECT_EQ(view.Text(PanelField::Message), "あ\r\nb");
    EXPECT_EQ(view.Text(PanelField::DstMailAdrDsp), "sato@example.jp") << "recipient unchanged";
    EXPECT_EQ(view.pages,
              detailed ? std::vector<PanelPage>{PanelPage::Detailed} : std::vector<PanelPage>{});
    panel.FormShow();
    EXPECT_EQ(view.Text(PanelField::MailToEmail) + view.Text(PanelField::CcEmail) +
                  view.Text(PanelField::Message),
              "sato@example.jp");
  }
}

// The mode text ends in the receipt: the window's title when one was captured, and the
// size of the picture the panel read.
TEST_F(SendPanelTest, ModeTextsOnBothPagesWithTheReceipt) {
  const struct {
    int mode;
    const char* title;
    const char* text;
  } modes[] = {
      {kCaptureDesktop, "", "画像送信モード【デスクトップ画面】（1024×768ピクセル）"},
      {kCaptureActiveWindow, "無題 - メモ帳",
       "画像送信モード【アクティブウィンドウ】（「無題 - メモ帳」、1024×768ピクセル）"},
      {kCaptureActiveWindow, "", "画像送信モード【アクティブウィンドウ】（1024×768ピクセル）"},
      {kCaptureViewer, "", "画像送信モード【VIEWER画面】（1024×768ピクセル）"},
  };
  for (const auto& m : modes) {
    param.CaptureMode = m.mode;
    param.CaptureTitle = m.title;
    panel.FormShow();
    EXPECT_EQ(view.Text(PanelField::ImageMode), m.text);
    EXPECT_EQ(view.Text(PanelField::DetailImageMode), m.text);
  }
}

TEST_F(SendPanelTest, AFileThatCannotBeDecodedOpensWithoutPreviewAndRefusesToSend) {
  std::string jpeg = EncodeJpeg(Picture(64, 48));
  const std::pair<const char*, std::function<void()>> broken[] = {
      {"deleted", [this] { std::filesystem::remove(U8Path(CaptureFile)); }},
      {"zero bytes", [this] { testing::WriteBytes(CaptureFile, ""); }},
      {"truncated", [&] { testing::WriteBytes(CaptureFile, jpeg.substr(0, jpeg.size() / 2)); }},
  };
  for (const auto& [what, breakIt] : broken) {
    WriteJpegFile(CaptureFile, Picture(1024, 768));
    panel.FormShow();  // a preview from before
    breakIt();
    view.previews.clear();
    prompter.boxes.clear();
    view.closed = 0;
    panel.FormShow();
    EXPECT_EQ(view.previews, std::vector<std::string>{"none"}) << what << ": no stale picture";
    EXPECT_EQ(view.Text(PanelField::ImageMode),
              std::string("画像送信モード【デスクトップ画面】") + kNoPreviewNote)
        << what;
    EXPECT_EQ(view.Text(PanelField::DetailImageMode), view.Text(PanelField::ImageMode));
    panel.Button_send_execClick(PanelPage::Easy);
    panel.Button_send_execClick(PanelPage::Detailed);
    ShownBox refusal{BoxKind::Warning, kCannotSendWithoutPicture};
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{refusal, refusal})) << what;
    EXPECT_EQ(view.closed, 0) << what;
    EXPECT_EQ(param.PanelResult, kPanelCancel) << what;
    panel.Button_cancelClick();
    EXPECT_EQ(view.closed, 1) << what << ": Cancel still closes";
  }
}

TEST_F(SendPanelTest, SwitchingPagesPutsTheCurrentRecipientBackIntoTo) {
  panel.FormShow();
  view.texts[PanelField::MailToEmail] = "typed@example.jp";
  SysInfo.DstName = "田中";
  SysInfo.DstMailAdr = "tanaka@example.jp";
  panel.PageControlDataChange();
  EXPECT_EQ(view.Text(PanelField::MailToEmail), "tanaka@example.jp");
  EXPECT_EQ(view.Text(PanelField::DstNameDsp), "田中");
  EXPECT_EQ(view.Text(PanelField::DstMailAdrDsp), "tanaka@example.jp");
}

// ---- The four buttons of Button_chgmadrClick ----

TEST_F(SendPanelTest, ChangingTheRecipientFromEitherPage) {
  panel.FormShow();
  view.Select(PanelList::DstList, 2);
  panel.Button_chgmadrClick(PanelButton::ChgMadr);
  EXPECT_EQ(SysInfo.DstName, "");
  EXPECT_EQ(SysInfo.DstMailAdr, "suzuki@example.jp");
  EXPECT_EQ(view.Text(PanelField::DstMailAdrDsp), "suzuki@example.jp");
  EXPECT_EQ(view.SelectedIndex(PanelList::MailToList), 2);
  EXPECT_EQ(view.Text(PanelField::MailToEmail), "sato@example.jp") << "the simple page's button";

  view.Select(PanelList::MailToList, 1);
  panel.Button_chgmadrClick(PanelButton::ChgMailTo);
  EXPECT_EQ(SysInfo.DstName, "山田");
  EXPECT_EQ(view.Text(PanelField::DstNameDsp), "山田");
  EXPECT_EQ(view.Text(PanelField::MailToEmail), "yamada@example.jp");
  EXPECT_EQ(view.SelectedIndex(PanelList::DstList), 1);
  EXPECT_EQ(book.stored, (std::vector<int>{2, 1}));
}

TEST_F(SendPanelTest, ThePromptItemChangesNoRecipient) {
  panel.FormShow();
  for (PanelButton b : {PanelButton::ChgMadr, PanelButton::ChgMailTo}) {
    panel.Button_chgmadrClick(b);
  }
  EXPECT_EQ(book.stored, (std::vector<int>{0, 0})) << "the book warns";
  EXPECT_EQ(SysInfo.DstMailAdr, "sato@example.jp");
  EXPECT_EQ(view.Text(PanelField::DstMailAdrDsp), "sato@example.jp");
}

TEST_F(SendPanelTest, CcAndBccCollectAddressesEachWithASemicolon) {
  panel.FormShow();
  const std::pair<PanelButton, PanelList> adders[] = {{PanelButton::CcAdd, PanelList::CcList},
                                                      {PanelButton::BccAdd, PanelList::BccList}};
  for (auto [button, list] : adders) {
    panel.Button_chgmadrClick(button);  // the prompt item
    view.Select(list, 1);
    panel.Button_chgmadrClick(button);
    view.Select(list, 2);
    panel.Button_chgmadrClick(button);
  }
  EXPECT_EQ(view.Text(PanelField::CcEmail), "yamada@example.jp;suzuki@example.jp;");
  EXPECT_EQ(view.Text(PanelField::BccEmail), "yamada@example.jp;suzuki@example.jp;");
  EXPECT_TRUE(book.stored.empty()) << "the current recipient stays";
}

// ---- The answer ----

TEST_F(SendPanelTest, TheAnswers) {
  panel.FormShow();
  view.texts[PanelField::MailToEmail] = "other@example.jp";
  view.texts[PanelField::CcEmail] = "cc@example.jp;";
  view.texts[PanelField::BccEmail] = "bcc@example.jp;";
  view.texts[PanelField::Message] = "あ\r\nb";
  panel.Button_send_execClick(PanelPage::Easy);  // only the current recipient
  EXPECT_EQ(param,
            (TTypSendParam{kCaptureDesktop, 0, "sato@example.jp", "", "", "", kPanelSend, ""}));

  panel.FormShow();
  view.texts[PanelField::MailToEmail] = "other@example.jp";
  view.texts[PanelField::CcEmail] = "cc@example.jp;";
  view.texts[PanelField::BccEmail] = "bcc@example.jp;";
  view.texts[PanelField::Message] = "あ\r\nb";
  panel.Button_send_execClick(PanelPage::Detailed);
  EXPECT_EQ(param, (TTypSendParam{kCaptureDesktop, 1, "other@example.jp", "cc@example.jp;",
                                  "bcc@example.jp;", "\x1b$B$\"\x1b(B\r\nb", kPanelSend, ""}));

  panel.FormShow();
  panel.Button_cancelClick();
  EXPECT_EQ(param.PanelResult, kPanelCancel);

  int handedOver = 0;
  panel.SetViewerHandOver([&] { ++handedOver; });
  panel.Button_viewerClick();
  EXPECT_EQ(param.PanelResult, kPanelViewer);
  EXPECT_EQ(handedOver, 1);
  EXPECT_EQ(view.closed, 4);
}

// ---- What the screen reader hears ----

TEST_F(SendPanelTest, TheReaderButtonNeedsTheWindowOfACapture) {
  void* window = &reader;
  const struct {
    int mode;
    void* window;
    bool withReader;
    bool enabled;
  } cases[] = {
      {kCaptureDesktop, window, true, true},   {kCaptureActiveWindow, window, true, true},
      {kCaptureViewer, window, true, false},   {kCaptureDesktop, nullptr, true, false},
      {kCaptureDesktop, window, false, false},
  };
  for (const auto& c : cases) {
    panel.SetReader(c.withReader ? &reader : nullptr);
    param.CaptureMode = c.mode;
    param.CaptureWindow = c.window;
    view.readerEnabled = !c.enabled;
    panel.FormShow();
    EXPECT_EQ(view.readerEnabled, c.enabled) << c.mode << " " << c.window << " " << c.withReader;
    reader.windows.clear();
    panel.Button_d_readerClick();
    EXPECT_EQ(reader.windows.size(), c.enabled ? 1u : 0u) << "pressed while disabled reads nothing";
  }
}

// The text joins the memo on a line of its own, within the memo's 1024 characters.
TEST_F(SendPanelTest, TheReaderTextIsAppendedToTheMessageOrTheReasonTold) {
  const std::string heading = "【読み上げ内容】t";
  const std::string whole = heading + "\r\nフォーカス：（フォーカスのある要素はありません）";
  const std::string cut = heading + "\r\n（本文の文字数の上限のため、ここで切りました）";
  const std::string nearlyFull(kMessageLimit - Utf16Length(cut) - 2, 'a');  // room for the cut
  const struct {
    ReadResult result;
    std::string memo;
    std::string after;
    const char* warning;
  } cases[] = {
      {ReadResult::Read, "", whole, nullptr},
      {ReadResult::Read, "見て", "見て\r\n" + whole, nullptr},
      {ReadResult::Read, "見て\r\n", "見て\r\n" + whole, nullptr},
      {ReadResult::Read, nearlyFull, nearlyFull + "\r\n" + cut, nullptr},
      {ReadResult::Read, nearlyFull + "a", nearlyFull + "a", kReaderNoRoom},
      {ReadResult::Gone, "見て", "見て", kReaderWindowGone},
      {ReadResult::Unreadable, "見て", "見て", kReaderUnreadable},
  };
  param.CaptureWindow = &reader;
  panel.SetReader(&reader);
  for (const auto& c : cases) {
    panel.FormShow();
    prompter.boxes.clear();
    view.messageFocused = 0;
    reader.result = c.result;
    view.texts[PanelField::Message] = c.memo;
    panel.Button_d_readerClick();
    EXPECT_EQ(view.Text(PanelField::Message), c.after) << c.memo.size();
    EXPECT_EQ(view.messageFocused, c.warning ? 0 : 1);
    std::vector<ShownBox> boxes;
    if (c.warning) boxes.push_back({BoxKind::Warning, c.warning});
    EXPECT_EQ(prompter.boxes, boxes) << c.memo.size();
  }
}

}  // namespace
}  // namespace tavisnap
