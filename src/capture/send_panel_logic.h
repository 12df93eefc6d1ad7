// The decisions of the send panel TFormSendPanel: what it shows when it opens, the
// recipient and address buttons, and the answer it leaves in SendParam. The window
// forwards its events here and shows what the logic sets through SendPanelView.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "capture/accessibility_reader.h"
#include "capture/send_panel_view.h"
#include "capture/send_param.h"
#include "core/prompter.h"

namespace tavisnap {

inline constexpr const char* kModeTextPlain = "画像送信モード";
inline constexpr const char* kModeTextDesktop = "画像送信モード【デスクトップ画面】";
inline constexpr const char* kModeTextActiveWindow = "画像送信モード【アクティブウィンドウ】";
inline constexpr const char* kModeTextViewer = "画像送信モード【VIEWER画面】";
// Follows the mode text when the capture file cannot be read: a screen reader user
// learns it when tabbing to the mode text.
inline constexpr const char* kNoPreviewNote =
    "（画像ファイルを読み込めないため、プレビューはありません）";
inline constexpr const char* kReaderWindowGone =
    "取り込んだときのウィンドウが閉じられているため、読み上げ内容を読み取れません。";
inline constexpr const char* kReaderUnreadable =
    "ウィンドウが応答しないか読み取りを受け付けないため、読み上げ内容を読み取れません。";
inline constexpr const char* kReaderNoRoom =
    "メール本文に空きがないため、読み上げ内容を追加できません。";
// Characters (UTF-16 units, CR LF as two) Memo_Message holds at most.
inline constexpr size_t kMessageLimit = 1024;
inline constexpr const char* kCannotSendWithoutPicture =
    "画像ファイルを読み込めないため、送信できません。"
    "キャンセルして、もう一度画像を取り込んでください。";

// The mode text of SendParam.CaptureMode; the design-time caption for any other mode.
std::string ModeText(int captureMode);
// What follows the mode text once the picture is read: the window's title when there is
// one, and the picture's size, so that a screen reader user knows what was taken.
std::string CaptureReceipt(const std::string& windowTitle, int width, int height);

class SendPanelLogic {
 public:
  // The window's ShowModal(param) shows the panel for this same param.
  SendPanelLogic(SendPanelView& view, SendPanelAddressBook& book, Prompter& prompter,
                 TTypSendParam& param = SendParam);

  void FormCreate();
  // Lists refilled, recipient shown, the answer reset to Cancel, Cc, Bcc and message
  // emptied, the mode text set and the capture file decoded into both previews. A file
  // that cannot be read leaves both previews empty and says so in the mode text.
  void FormShow();
  void PageControlDataChange();
  void Button_chgmadrClick(PanelButton sender);
  // Refused with a warning when the capture file could not be read: there is no picture
  // to send.
  void Button_send_execClick(PanelPage sender);
  void Button_cancelClick();
  void Button_viewerClick();
  // Appends what a screen reader hears in the window that was in front to the message;
  // a window that is gone or cannot be read, or no room left, is told and changes
  // nothing.
  void Button_d_readerClick();

  // The next FormShow fills these addresses and the message in after its reset.
  void SetPrefill(PanelPrefill prefill) { prefill_ = std::move(prefill); }

  // What Button_viewerClick does to hand the picture to the viewer (the viewer's part).
  void SetViewerHandOver(std::function<void()> handOver) { viewerHandOver_ = std::move(handOver); }
  bool PreviewLoaded() const { return previewLoaded_; }
  // Where Button_d_readerClick reads; without one the button stays disabled.
  void SetReader(AccessibilityReader* reader) { reader_ = reader; }

 private:
  void ShowRecipient();
  void ShowModeAndPreview();
  void ApplyPrefill();
  void TakeRecipient(int index);
  bool ReaderAvailable() const;

  SendPanelView& view_;
  SendPanelAddressBook& book_;
  Prompter& prompter_;
  TTypSendParam& param_;
  std::function<void()> viewerHandOver_;
  AccessibilityReader* reader_ = nullptr;
  bool previewLoaded_ = false;
  std::optional<PanelPrefill> prefill_;
};

}  // namespace tavisnap
