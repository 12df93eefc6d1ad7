// What the account window's logic reads from and does to the window, so that the logic
// runs without one in tests.
#pragma once

#include <string>

namespace tavisnap {

enum class InitField {
  NewMailAdr1,      // Edit_new_mailadr1
  NewMailAdr2,      // Edit_new_mailadr2
  AlreadyMailAdr,   // Edit_already_mailadr
  AlreadyPassword,  // Edit_already_password
};

inline constexpr int kPageNewReg = 0;      // TabSheet_new_reg
inline constexpr int kPageAlreadyReg = 1;  // TabSheet_already_reg

class InitView {
 public:
  virtual ~InitView() = default;

  virtual std::string Text(InitField field) const = 0;
  virtual void SetText(InitField field, const std::string& text) = 0;
  virtual bool AutoLoginChecked() const = 0;
  virtual void SetAutoLoginChecked(bool checked) = 0;
  // Makes the page's tab visible and the page enabled, and the other page's tab
  // invisible and that page disabled.
  virtual void ShowPage(int page) = 0;
  // IniMenuNewReg and INiMenuLogin.
  virtual void EnablePageMenuItems(bool enabled) = 0;
  virtual void FocusPassword() = 0;
  virtual bool IsVisible() const = 0;
  virtual void MakeVisible() = 0;
  virtual void BringToFront() = 0;
  // Closing the window after a sign-in: it only hides.
  virtual void Hide() = 0;
};

}  // namespace tavisnap
