#include "account/account_maintenance.h"

#include <utility>

#include "core/ascii_text.h"
#include "core/define.h"
#include "core/settings_change.h"
#include "core/settings_list.h"
#include "core/validation.h"
#include "service/commands.h"

namespace tavisnap {
AccountMaintenance::AccountMaintenance(MaintenanceView& view, Prompter& prompter,
                                       MainWindowServices& services, FormPoster post,
                                       PasswordSaver savePassword, ForegroundFunction foreground)
    : view_(view),
      prompter_(prompter),
      services_(services),
      post_(std::move(post)),
      savePassword_(std::move(savePassword)),
      foreground_(std::move(foreground)) {}

bool AccountMaintenance::Relogin() {
  return tavisnap::Relogin(prompter_, foreground_, post_);
}

void AccountMaintenance::UserIdChange() {
  const std::string mail = view_.Text(MaintenanceField::NewMail);
  const std::string again = view_.Text(MaintenanceField::NewMailAgain);
  if (!IsValidMailAddress(mail)) return prompter_.Warning(kCheckMailAddress);
  if (!IsValidMailAddress(again))
    return prompter_.Warning("（確認用）メールアドレスを確認してください");
  if (mail != again) return prompter_.Warning("メールアドレス不一致です");
  constexpr ServiceCommand kCommand = ServiceCommand::SubmitMailEditComp;
  if (!Relogin()) return ShowReaction(ReloginFailedReaction(kCommand), prompter_);
  Evaluation answer = EvaluateAnswer(kCommand, post_(ActionUrl(), MailEditCompForm(mail, again)));
  if (answer.outcome != Outcome::Code1) return ShowReaction(answer.reaction, prompter_);
  // The service has the new address: this run signs in with it, stored or not.
  SysInfo.MailId = mail;
  view_.ShowMailId(mail);
  ShowReaction(answer.reaction, prompter_);
  SettingsChange change(Settings);
  change.Set("SYSTEM.MAILID", mail);
  change.Save(IniPath, prompter_);
}

void AccountMaintenance::PasswordChange() {
  if (!IsValidPassword(view_.Text(MaintenanceField::NewPassword))) {
    return prompter_.Warning(kCheckPassword);
  }
  std::string again = view_.Text(MaintenanceField::NewPasswordAgain);
  if (!IsValidPassword(again)) return prompter_.Warning("（確認用）パスワードを確認してください");
  if (view_.Text(MaintenanceField::NewPassword) != again) {
    return prompter_.Warning("パスワード不一致です");
  }
  // Both texts go upper-cased: a confirmation typed in lower case where the edit does not
  // convert it would otherwise differ from the password and be refused by the service.
  const std::string password = UpperAscii(view_.Text(MaintenanceField::NewPassword));
  view_.SetText(MaintenanceField::NewPassword, password);
  again = UpperAscii(again);
  view_.SetText(MaintenanceField::NewPasswordAgain, again);
  constexpr ServiceCommand kCommand = ServiceCommand::SubmitPwdEditComp;
  if (!Relogin()) return ShowReaction(ReloginFailedReaction(kCommand), prompter_);
  Evaluation answer =
      EvaluateAnswer(kCommand, post_(ActionUrl(), PwdEditCompForm(password, again)));
  if (answer.outcome != Outcome::Code1) return ShowReaction(answer.reaction, prompter_);
  // The service has the new password: every later Relogin of this run needs it, stored or not.
  SysInfo.Password = password;
  ShowReaction(answer.reaction, prompter_);
  StorePassword(savePassword_, password, prompter_);
}

void AccountMaintenance::PasswordReNotify() {
  constexpr ServiceCommand kCommand = ServiceCommand::SubmitPwdReNotify;
  if (!Relogin()) return ShowReaction(ReloginFailedReaction(kCommand), prompter_);
  AnswerAndShow(kCommand, post_(ActionUrl(), PwdReNotifyForm()), prompter_);
}

void AccountMaintenance::Button_basic_authClick() {
  const bool on = !SysInfo.BasicAuth;
  if (!prompter_.Confirm(on ? "BASIC認証設定を行います、よろしいですか？"
                            : "BASIC認証設定を解除します、よろしいですか？")) {
    return;
  }
  constexpr ServiceCommand kCommand = ServiceCommand::SubmitBasicAuth;
  const Column column = on ? Column::SwitchOn : Column::SwitchOff;
  if (!Relogin()) return ShowReaction(ReloginFailedReaction(kCommand, column), prompter_);
  Evaluation answer = EvaluateAnswer(kCommand, post_(ActionUrl(), BasicAuthForm(on)), column);
  if (answer.outcome != Outcome::Code1) return ShowReaction(answer.reaction, prompter_);
  // The service has switched: so is this run, stored or not (the next sign-in reports it).
  SysInfo.BasicAuth = on;
  services_.RefreshMenuStates();
  ShowReaction(answer.reaction, prompter_);
  SettingsChange change(Settings);
  change.Set("SYSTEM.BASIC_AUTH", SettingFlag(on));
  change.Save(IniPath, prompter_);
}

void AccountMaintenance::PMenuTrayDeleteClick() {
  if (!prompter_.Confirm("送信した画像を削除します、よろしいですか？")) return;
  constexpr ServiceCommand kCommand = ServiceCommand::SubmitDelete;
  if (!Relogin()) return ShowReaction(ReloginFailedReaction(kCommand), prompter_);
  AnswerAndShow(kCommand, post_(ActionUrl(), DeleteForm(SysInfo.MailId)), prompter_);
}

void AccountMaintenance::MenuSetOtherAutologinClick() {
  const bool on = !SysInfo.AutoLogin;
  if (!prompter_.Confirm(on ? "自動ログイン設定を行います、よろしいですか？"
                            : "自動ログイン設定を解除します、よろしいですか？")) {
    return;
  }
  SettingsChange change(Settings);
  change.Set("SYSTEM.AUTOLOGIN", SettingFlag(on));
  if (!change.Save(IniPath, prompter_)) return;
  SysInfo.AutoLogin = on;
  services_.RefreshMenuStates();
  prompter_.Information(on ? "自動ログインを設定しました" : "自動ログインを解除しました");
}

}  // namespace tavisnap
