// The decisions of the start-up account window: page choice, sign-in, registration,
// password notice, cancel and close. The window forwards its events here.
#pragma once

#include <functional>
#include <string>

#include "account/account_texts.h"
#include "account/init_view.h"
#include "account/main_window_services.h"
#include "core/prompter.h"

namespace tavisnap {

// Stores the Base64 text of the password (the registry on Windows).
using PasswordSaver = std::function<void(const std::string& encoded)>;

// Stores the password's Base64 text; a store that fails (AppError) is shown in a warning
// box with its own message. True when stored.
bool StorePassword(const PasswordSaver& save, const std::string& password, Prompter& prompter);

class FormInitLogic {
 public:
  FormInitLogic(InitView& view, Prompter& prompter, MainWindowServices& services, FormPoster post,
                PasswordSaver savePassword);

  // Page choice from the stored account; runs once when the window is created.
  void FormCreate();
  // Start-up's sign-in with the stored account while the window is hidden. Never throws:
  // as with the window's sign-in, a settings file that cannot be written is reported,
  // nothing is stored, and the program goes on without a signed-in account.
  void AutoSignIn();

  void Button_already_reg_doClick();
  void Button_new_reg_doClick();
  void Button_already_reg_PasswordClick();
  void CancelClick();  // both "中止" buttons
  void IniMenuNewRegClick();
  void INiMenuLoginClick();
  void IniMenuEndClick();
  // True when the window may close (it then hides).
  bool FormClose();

  bool ConfirmExitOnClose() const { return confirmExitOnClose_; }

 private:
  bool StoreSignIn(const std::string& mailId, const std::string& password,
                   const std::string& answer);
  void ShowSignInPage();

  InitView& view_;
  Prompter& prompter_;
  MainWindowServices& services_;
  FormPoster post_;
  PasswordSaver savePassword_;
  bool confirmExitOnClose_ = true;
};

}  // namespace tavisnap
