// TTypSendParam: the kind of picture a capture-send carries and the send panel's answer.
// CaptureSend sets the mode before the panel opens; the panel resets the rest each time
// it is shown and fills it when Send is pressed.
#pragma once

#include <cstdint>
#include <string>

namespace tavisnap {

// Capture modes; hotkey identifier 1 and 2 are modes 1 and 2.
enum : int32_t {
  kCaptureDesktop = 1,
  kCaptureActiveWindow = 2,
  kCaptureViewer = 3,  // the viewer has written the picture itself
};

// How the panel was left.
enum : int32_t {
  kPanelSend = 0,
  kPanelCancel = 1,  // also any other way of closing it
  kPanelViewer = 2,
};

struct TTypSendParam {
  int32_t CaptureMode = 0;
  int32_t DetailSend = 0;  // 0 simple page, 1 detailed page
  std::string MailTo;
  std::string MailCc;
  std::string MailBcc;
  std::string MailMessage;  // already ISO-2022-JP bytes (seven-bit)
  int32_t PanelResult = kPanelCancel;
  // The title of the window in front for a capture of it, shown in the panel's mode
  // text; set with the mode, empty otherwise.
  std::string CaptureTitle;
  // The window in front at a capture of mode 1 or 2 (an HWND), whose accessibility tree
  // the panel can read; null for the viewer's picture and a resend.
  void* CaptureWindow = nullptr;
  void* CaptureFocus = nullptr;  // its control that had the keyboard focus
  friend bool operator==(const TTypSendParam&, const TTypSendParam&) = default;
};

// Addresses and message the panel shows in place of the usual ones on its next showing:
// a resend of a kept picture. The detailed page is put on show when it is needed to
// send to these addresses.
struct PanelPrefill {
  bool detailed = false;
  std::string mailTo;
  std::string mailCc;
  std::string mailBcc;
  std::string message;  // the memo's text, UTF-8, lines ending in CR LF
};

// The one instance the flow and the send panel share.
inline TTypSendParam SendParam;

}  // namespace tavisnap
