// The message boxes of the program, as an interface, so that the logic that decides
// which message to show can be tested without windows.
#pragma once

#include <string>

namespace tavisnap {

enum class BoxKind {
  Information,                // caption "タビスナップ", OK
  Warning,                    // caption "タビスナップ（警告）", OK
  Confirmation,               // caption "タビスナップ（確認）", OK and Cancel
  ConfirmationCancelDefault,  // the same, with Cancel as the default button
  UpdateQuestion,  // caption "自動アップデート確認", OK and Cancel (default), system-modal
  UpdateFailed,    // caption "確認", OK, system-modal
};

inline constexpr const char* kCaptionInformation = "タビスナップ";
inline constexpr const char* kCaptionWarning = "タビスナップ（警告）";
inline constexpr const char* kCaptionConfirmation = "タビスナップ（確認）";
inline constexpr const char* kCaptionUpdateQuestion = "自動アップデート確認";
inline constexpr const char* kCaptionUpdateFailed = "確認";

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the box; returns true for OK (an Information or Warning box always gives true).
  virtual bool Show(BoxKind kind, const std::string& text) = 0;

  void Information(const std::string& text) { Show(BoxKind::Information, text); }
  void Warning(const std::string& text) { Show(BoxKind::Warning, text); }
  bool Confirm(const std::string& text) { return Show(BoxKind::Confirmation, text); }
  bool ConfirmCancelDefault(const std::string& text) {
    return Show(BoxKind::ConfirmationCancelDefault, text);
  }
};

}  // namespace tavisnap
