#include "capture/send_panel_logic.h"

#include <algorithm>
#include <utility>

#include "core/app_error.h"
#include "core/define.h"
#include "core/iso2022jp.h"
#include "imaging/gradation.h"
#include "imaging/jpeg_codec.h"

namespace tavisnap {

std::string ModeText(int captureMode) {
  switch (captureMode) {
    case kCaptureDesktop:
      return kModeTextDesktop;
    case kCaptureActiveWindow:
      return kModeTextActiveWindow;
    case kCaptureViewer:
      return kModeTextViewer;
  }
  return kModeTextPlain;
}

std::string CaptureReceipt(const std::string& windowTitle, int width, int height) {
  std::string size = std::to_string(width) + "×" + std::to_string(height) + "ピクセル";
  if (windowTitle.empty()) return "（" + size + "）";
  return "（「" + windowTitle + "」、" + size + "）";
}

SendPanelLogic::SendPanelLogic(SendPanelView& view, SendPanelAddressBook& book, Prompter& prompter,
                               TTypSendParam& param)
    : view_(view), book_(book), prompter_(prompter), param_(param) {}

void SendPanelLogic::FormCreate() {
  book_.FillLists();
  ShowRecipient();
}

void SendPanelLogic::FormShow() {
  book_.FillLists();
  ShowRecipient();
  param_.DetailSend = 0;
  param_.PanelResult = kPanelCancel;  // closing the window any other way is Cancel
  param_.MailCc.clear();
  param_.MailBcc.clear();
  param_.MailMessage.clear();
  view_.SetText(PanelField::CcEmail, "");
  view_.SetText(PanelField::BccEmail, "");
  view_.SetText(PanelField::Message, "");
  ApplyPrefill();
  ShowModeAndPreview();
  view_.EnableReaderButton(ReaderAvailable());
}

void SendPanelLogic::ApplyPrefill() {
  if (!prefill_) return;
  PanelPrefill prefill = std::move(*prefill_);
  prefill_.reset();
  view_.SetText(PanelField::MailToEmail, prefill.mailTo);
  view_.SetText(PanelField::CcEmail, prefill.mailCc);
  view_.SetText(PanelField::BccEmail, prefill.mailBcc);
  view_.SetText(PanelField::Message, prefill.message);
  if (prefill.detailed) view_.ShowPage(PanelPage::Detailed);
}

void SendPanelLogic::ShowRecipient() {
  view_.SetText(PanelField::DstNameDsp, SysInfo.DstName);
  view_.SetText(PanelField::DstMailAdrDsp, SysInfo.DstMailAdr);
  view_.SetText(PanelField::MailToEmail, SysInfo.DstMailAdr);
}

// An earlier capture's preview is never left on show: it would present a picture other
// than the one to be sent.
void SendPanelLogic::ShowModeAndPreview() {
  std::string mode = ModeText(param_.CaptureMode);
  previewLoaded_ = false;
  try {
    PreviewPictures previews = DecodePreview(ReadJpegBytes(CaptureFile));
    std::string receipt =
        CaptureReceipt(param_.CaptureTitle, previews.picture.Width(), previews.picture.Height());
    view_.ShowPreview(previews);
    mode += receipt;
    previewLoaded_ = true;
  } catch (const AppError&) {  // missing, empty, truncated or no JPEG at all
    view_.ClearPreview();
    mode += kNoPreviewNote;
  }
  view_.SetText(PanelField::ImageMode, mode);
  view_.SetText(PanelField::DetailImageMode, mode);
}

void SendPanelLogic::PageControlDataChange() {
  ShowRecipient();
}

void SendPanelLogic::TakeRecipient(int index) {
  std::string name = book_.NameAt(index);
  std::string address = book_.AddressAt(index);
  view_.SetText(PanelField::DstNameDsp, name);
  view_.SetText(PanelField::DstMailAdrDsp, address);
  SysInfo.DstName = std::move(name);
  SysInfo.DstMailAdr = std::move(address);
}

void SendPanelLogic::Button_chgmadrClick(PanelButton sender) {
  auto selected = [this](PanelList list) { return std::max(view_.SelectedIndex(list), 0); };
  switch (sender) {
    case PanelButton::ChgMadr: {
      int i = selected(PanelList::DstList);
      if (!book_.SetCurrentRecipient(i)) return;
      TakeRecipient(i);
      view_.Select(PanelList::MailToList, i);
      return;
    }
    case PanelButton::ChgMailTo: {
      int i = selected(PanelList::MailToList);
      if (!book_.SetCurrentRecipient(i)) return;
      TakeRecipient(i);
      view_.SetText(PanelField::MailToEmail, book_.AddressAt(i));
      view_.Select(PanelList::DstList, i);
      return;
    }
    case PanelButton::CcAdd:
    case PanelButton::BccAdd: {
      bool cc = sender == PanelButton::CcAdd;
      int i = selected(cc ? PanelList::CcList : PanelList::BccList);
      if (i == 0) return;  // the prompt item adds nothing
      PanelField field = cc ? PanelField::CcEmail : PanelField::BccEmail;
      view_.SetText(field, view_.Text(field) + book_.AddressAt(i) + ";");
      return;
    }
  }
}

void SendPanelLogic::Button_send_execClick(PanelPage sender) {
  if (!previewLoaded_) {
    prompter_.Warning(kCannotSendWithoutPicture);
    return;
  }
  param_.PanelResult = kPanelSend;
  if (sender == PanelPage::Easy) {
    param_.DetailSend = 0;
    param_.MailTo = view_.Text(PanelField::DstMailAdrDsp);
  } else {
    param_.DetailSend = 1;
    param_.MailTo = view_.Text(PanelField::MailToEmail);
    param_.MailCc = view_.Text(PanelField::CcEmail);
    param_.MailBcc = view_.Text(PanelField::BccEmail);
    param_.MailMessage =
        ConvertCodePage(kCodePageShiftJis, kCodePageIso2022Jp, view_.Text(PanelField::Message));
  }
  view_.Close();
}

void SendPanelLogic::Button_cancelClick() {
  param_.PanelResult = kPanelCancel;
  view_.Close();
}

// The viewer's picture and a resend come with no window: nothing the user heard.
bool SendPanelLogic::ReaderAvailable() const {
  return reader_ && param_.CaptureWindow && param_.CaptureMode != kCaptureViewer;
}

void SendPanelLogic::Button_d_readerClick() {
  if (!ReaderAvailable()) return;
  ReaderReading reading = reader_->Read(param_.CaptureWindow, param_.CaptureFocus);
  if (reading.result != ReadResult::Read) {
    prompter_.Warning(reading.result == ReadResult::Gone ? kReaderWindowGone : kReaderUnreadable);
    return;
  }
  std::string memo = view_.Text(PanelField::Message);
  if (!memo.empty() && !memo.ends_with("\r\n")) memo += "\r\n";
  const size_t used = Utf16Length(memo);
  std::string text =
      FormatReaderText(reading.tree, used < kMessageLimit ? kMessageLimit - used : 0);
  if (text.empty()) {
    prompter_.Warning(kReaderNoRoom);
    return;
  }
  view_.SetText(PanelField::Message, memo + text);
  view_.FocusMessageEnd();  // the screen reader reads what was added
}

void SendPanelLogic::Button_viewerClick() {
  param_.PanelResult = kPanelViewer;
  if (viewerHandOver_) viewerHandOver_();
  view_.Close();
}

}  // namespace tavisnap
