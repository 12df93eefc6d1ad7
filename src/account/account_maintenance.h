// What a signed-in user changes at the service from the main window and the tray menu
// (address, password, password notice, basic authentication, the sent pictures), and
// the local automatic sign-in toggle. The main window forwards its events here.
#pragma once

#include <string>

#include "account/account_texts.h"
#include "account/form_init_logic.h"
#include "account/main_window_services.h"
#include "account/relogin.h"
#include "core/prompter.h"

namespace tavisnap {

enum class MaintenanceField {
  NewMail,           // Edit_idchg_userid
  NewMailAgain,      // Edit_idchg_confrm
  NewPassword,       // Edit_pwdchg
  NewPasswordAgain,  // Edit_pwdchg_confrm
};

// The main window's pages as far as these operations read and write them.
class MaintenanceView {
 public:
  virtual ~MaintenanceView() = default;
  virtual std::string Text(MaintenanceField field) const = 0;
  virtual void SetText(MaintenanceField field, const std::string& text) = 0;
  // The registered address on the user information page.
  virtual void ShowMailId(const std::string& mailId) = 0;
};

// A settings file or registry that cannot be written is shown in a warning box with the
// store's own message. What only this program keeps (automatic sign-in) then stays as
// the file is; what the service has already taken (address, password, basic
// authentication) is this run's from then on, after the service's message.
class AccountMaintenance {
 public:
  AccountMaintenance(MaintenanceView& view, Prompter& prompter, MainWindowServices& services,
                     FormPoster post, PasswordSaver savePassword, ForegroundFunction foreground);

  void UserIdChange();
  void PasswordChange();
  void PasswordReNotify();
  void Button_basic_authClick();
  void PMenuTrayDeleteClick();
  void MenuSetOtherAutologinClick();

 private:
  bool Relogin();

  MaintenanceView& view_;
  Prompter& prompter_;
  MainWindowServices& services_;
  FormPoster post_;
  PasswordSaver savePassword_;
  ForegroundFunction foreground_;
};

}  // namespace tavisnap
