#include "core/prompter_win.h"

#include "win/message_box_win.h"

namespace tavisnap {

UINT MessageBoxFlags(BoxKind kind) {
  constexpr UINT kCommon = MB_TOPMOST | MB_SETFOREGROUND;
  switch (kind) {
    case BoxKind::Information:
    case BoxKind::Warning:
      return MB_OK | kCommon;
    case BoxKind::Confirmation:
      return MB_OKCANCEL | kCommon;
    case BoxKind::ConfirmationCancelDefault:
      return MB_OKCANCEL | MB_DEFBUTTON2 | kCommon;
    case BoxKind::UpdateQuestion:
      return MB_OKCANCEL | MB_DEFBUTTON2 | MB_SYSTEMMODAL | kCommon;
    case BoxKind::UpdateFailed:
      return MB_OK | MB_SYSTEMMODAL | kCommon;
  }
  return MB_OK | kCommon;
}

const char* MessageBoxCaption(BoxKind kind) {
  switch (kind) {
    case BoxKind::Information:
      return kCaptionInformation;
    case BoxKind::Warning:
      return kCaptionWarning;
    case BoxKind::Confirmation:
    case BoxKind::ConfirmationCancelDefault:
      return kCaptionConfirmation;
    case BoxKind::UpdateQuestion:
      return kCaptionUpdateQuestion;
    case BoxKind::UpdateFailed:
      return kCaptionUpdateFailed;
  }
  return kCaptionInformation;
}

bool Win32Prompter::Show(BoxKind kind, const std::string& text) {
  return ShowMessageBox(text, MessageBoxCaption(kind), MessageBoxFlags(kind)) == IDOK;
}

}  // namespace tavisnap
