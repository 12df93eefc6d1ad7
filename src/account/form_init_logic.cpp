#include "account/form_init_logic.h"

#include <utility>

#include "core/app_error.h"
#include "core/ascii_text.h"
#include "core/base64.h"
#include "core/define.h"
#include "core/settings_change.h"
#include "core/settings_list.h"
#include "core/validation.h"
#include "service/commands.h"

namespace tavisnap {

bool StorePassword(const PasswordSaver& save, const std::string& password, Prompter& prompter) {
  try {
    save(EncodeBase64String(password));
  } catch (const AppError& error) {
    prompter.Warning(error.what());
    return false;
  }
  return true;
}

FormInitLogic::FormInitLogic(InitView& view, Prompter& prompter, MainWindowServices& services,
                             FormPoster post, PasswordSaver savePassword)
    : view_(view),
      prompter_(prompter),
      services_(services),
      post_(std::move(post)),
      savePassword_(std::move(savePassword)) {}

void FormInitLogic::FormCreate() {
  confirmExitOnClose_ = true;
  if (SysInfo.MailId.empty()) {
    view_.ShowPage(kPageNewReg);
  } else {
    view_.SetText(InitField::AlreadyMailAdr, SysInfo.MailId);
    if (!SysInfo.Password.empty() && SysInfo.AutoLogin) {
      view_.SetText(InitField::AlreadyPassword, SysInfo.Password);
    }
    ShowSignInPage();
  }
  services_.RefreshMenuStates();
}

void FormInitLogic::ShowSignInPage() {
  view_.ShowPage(kPageAlreadyReg);
  view_.EnablePageMenuItems(false);
  view_.SetAutoLoginChecked(SysInfo.AutoLogin);
}

void FormInitLogic::AutoSignIn() {
  services_.RefreshMenuStates();
  try {
    Button_already_reg_doClick();
  } catch (const AppError& error) {
    // Outside any window event nothing else would catch it; the user hears why the
    // program stays without a signed-in account.
    prompter_.Warning(error.what());
  }
}

void FormInitLogic::Button_already_reg_doClick() {
  std::string password = UpperAscii(view_.Text(InitField::AlreadyPassword));
  view_.SetText(InitField::AlreadyPassword, password);
  std::string mailId = view_.Text(InitField::AlreadyMailAdr);
  if (!IsValidMailAddress(mailId)) {
    prompter_.Warning(kCheckMailAddress);
    view_.MakeVisible();
    return;
  }
  if (!IsValidPassword(password)) {
    prompter_.Warning(kCheckPassword);
    view_.MakeVisible();
    return;
  }
  HttpResult result = post_(ActionUrl(), LoginDoForm(mailId, password));
  Evaluation answer = EvaluateAnswer(ServiceCommand::SubmitLoginDo, result, Column::AccountWindow);
  switch (answer.outcome) {
    case Outcome::Code1:
      if (!StoreSignIn(mailId, password, result.body)) break;
      services_.EnableSignedInTrayItems();
      HotKeyReady = "ON";
      services_.RefreshMenuStates();
      if (view_.IsVisible()) ShowReaction(answer.reaction, prompter_);
      confirmExitOnClose_ = false;
      view_.Hide();
      break;
    case Outcome::Code3:
      ShowReaction(answer.reaction, prompter_);
      ShowSignInPage();
      view_.MakeVisible();
      view_.BringToFront();
      break;
    default:
      ShowReaction(answer.reaction, prompter_);
      break;
  }
}

// False, after the warning, when the settings file cannot be written: nothing is stored
// then. A password the registry refuses is this run's all the same.
bool FormInitLogic::StoreSignIn(const std::string& mailId, const std::string& password,
                                const std::string& answer) {
  const bool autoLogin = view_.AutoLoginChecked();
  const bool basicAuth = LoginAnswerBasicAuth(answer);
  SettingsChange change(Settings);
  change.Set("SYSTEM.MAILID", mailId);
  change.Set("SYSTEM.AUTOLOGIN", SettingFlag(autoLogin));
  change.Set("SYSTEM.BASIC_AUTH", SettingFlag(basicAuth));
  if (!change.Save(IniPath, prompter_)) return false;
  SysInfo.SignedIn = true;
  SysInfo.MailId = mailId;
  SysInfo.Password = password;
  SysInfo.AutoLogin = autoLogin;
  SysInfo.BasicAuth = basicAuth;
  StorePassword(savePassword_, password, prompter_);
  return true;
}

void FormInitLogic::Button_new_reg_doClick() {
  std::string mail1 = view_.Text(InitField::NewMailAdr1);
  std::string mail2 = view_.Text(InitField::NewMailAdr2);
  if (!IsValidMailAddress(mail1) || !IsValidMailAddress(mail2) || mail1 != mail2) {
    prompter_.Warning(kCheckMailAddress);
    return;
  }
  if (!prompter_.Confirm(kConfirmRegist)) return;
  Evaluation answer = EvaluateAnswer(ServiceCommand::SubmitMailRegistComp,
                                     post_(ActionUrl(), MailRegistCompForm(mail1, mail2)));
  if (answer.outcome != Outcome::Code1) return ShowReaction(answer.reaction, prompter_);
  // The service has the account: the sign-in page offers its address, stored or not.
  SysInfo.MailId = mail1;
  ShowReaction(answer.reaction, prompter_);
  SettingsChange change(Settings);
  change.Set("SYSTEM.MAILID", mail1);
  change.Save(IniPath, prompter_);
  view_.SetText(InitField::AlreadyMailAdr, SysInfo.MailId);
  view_.ShowPage(kPageAlreadyReg);
  view_.FocusPassword();
}

void FormInitLogic::Button_already_reg_PasswordClick() {
  std::string mailId = view_.Text(InitField::AlreadyMailAdr);
  if (!IsValidMailAddress(mailId)) {
    prompter_.Warning(kCheckMailAddress);
    view_.MakeVisible();
    return;
  }
  AnswerAndShow(ServiceCommand::SubmitPwdReNotifyExpiredComp,
                post_(ActionUrl(), PwdReNotifyExpiredCompForm(mailId)), prompter_);
}

void FormInitLogic::CancelClick() {
  if (prompter_.Confirm(kConfirmExit)) services_.ExitProgram(false);
}

void FormInitLogic::IniMenuNewRegClick() {
  view_.ShowPage(kPageNewReg);
}

void FormInitLogic::INiMenuLoginClick() {
  view_.ShowPage(kPageAlreadyReg);
  view_.SetAutoLoginChecked(SysInfo.AutoLogin);
}

void FormInitLogic::IniMenuEndClick() {
  services_.ExitProgram(true);
}

bool FormInitLogic::FormClose() {
  if (!confirmExitOnClose_) return true;
  if (!prompter_.Confirm(kConfirmExit)) return false;
  services_.ExitProgram(false);
  return true;
}

}  // namespace tavisnap
