// The main window's side of account maintenance: the page edits for the logic, and the
// entries of both menus that lead to it.
#include <windows.h>

#include "account/account_maintenance.h"
#include "core/foreground.h"
#include "core/password_store.h"
#include "mainwindow/form_main_tavisnap_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/post_form.h"

namespace tavisnap {
namespace {

int FieldId(MaintenanceField field) {
  switch (field) {
    case MaintenanceField::NewMail:
      return IDC_Edit_idchg_userid;
    case MaintenanceField::NewMailAgain:
      return IDC_Edit_idchg_confrm;
    case MaintenanceField::NewPassword:
      return IDC_Edit_pwdchg;
    case MaintenanceField::NewPasswordAgain:
      return IDC_Edit_pwdchg_confrm;
  }
  return 0;
}

class MaintenancePages : public MaintenanceView {
 public:
  explicit MaintenancePages(Dialog& window) : window_(window) {}
  std::string Text(MaintenanceField field) const override {
    return window_.ItemText(FieldId(field));
  }
  void SetText(MaintenanceField field, const std::string& text) override {
    window_.SetItemText(FieldId(field), text);
  }
  void ShowMailId(const std::string& mailId) override {
    window_.SetItemText(IDC_StaticTextuserinfo_userid_dsp, mailId);
  }

 private:
  Dialog& window_;
};

// One per action: the logic keeps nothing between them.
template <typename Action>
void RunMaintenance(Dialog& window, Prompter& prompter, MainWindowServices& services,
                    Action action) {
  MaintenancePages pages(window);
  AccountMaintenance maintenance(pages, prompter, services, PostForm, SavePasswordData,
                                 ForceForeground);
  (maintenance.*action)();
}

}  // namespace

void TFormMainTavisnap::UserIdChange() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::UserIdChange);
}

void TFormMainTavisnap::PasswordChange() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::PasswordChange);
}

void TFormMainTavisnap::PasswordReNotify() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::PasswordReNotify);
}

void TFormMainTavisnap::PMenuTrayDeleteClick() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::PMenuTrayDeleteClick);
}

void TFormMainTavisnap::Button_basic_authClick() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::Button_basic_authClick);
}

void TFormMainTavisnap::MenuSetOtherAutologinClick() {
  RunMaintenance(*this, prompter_, *this, &AccountMaintenance::MenuSetOtherAutologinClick);
}

}  // namespace tavisnap
