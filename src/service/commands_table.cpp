// The catalogue itself: one entry per command, texts exactly as the user sees them.
#include "service/commands.h"

namespace tavisnap {
namespace {

constexpr Reaction kNothing{};

constexpr Reaction Info(std::string_view text) {
  return {true, BoxKind::Information, text};
}
constexpr Reaction Warn(std::string_view text) {
  return {true, BoxKind::Warning, text};
}

constexpr std::string_view kCommError = "通信エラー";
constexpr std::string_view kNoSuchUser = "ログインに失敗しました（ユーザーＩＤを確認してください）";
constexpr std::string_view kWrongPassword =
    "ログインに失敗しました（パスワードを確認してください）";
constexpr std::string_view kPasswordMailed = "パスワードを再通知しました";
constexpr std::string_view kNoticeRefused = "パスワードの再通知ができません";

ColumnReactions Reactions(Column column, Reaction code1, Reaction code2, Reaction code3,
                          Reaction failed, Reaction relogin_failed) {
  ColumnReactions r;
  r.column = column;
  r.code1 = code1;
  r.code2 = code2;
  r.code3 = code3;
  r.other = kNothing;
  r.failed = failed;
  r.relogin_failed = relogin_failed;
  return r;
}

ColumnReactions UploadReactions() {
  ColumnReactions r;
  r.code1 = Info("送信しました");  // accepted, exactly "1"
  r.accepted_longer = kNothing;
  r.cancelled = Info("送信をキャンセルしました");
  r.other = Warn(kCommError);  // not accepted, "2" among them
  r.failed = Warn(kCommError);
  r.relogin_failed = kNothing;
  return r;
}

std::vector<CommandEntry> MakeCommands() {
  using enum ServiceCommand;
  using enum CodeTest;
  Reaction relogin_comm_error = Warn(kCommError);
  relogin_comm_error.foreground_first = true;
  return {
      {SubmitLoginDo,
       "SubmitLoginDo",
       FirstCharacter,
       "123",
       {{"username"}, {"password"}},
       {},
       {Reactions(Column::AccountWindow, Info("ログインできました"), Warn(kNoSuchUser),
                  Warn(kWrongPassword), Warn(kCommError), kNothing),
        Reactions(Column::Relogin, kNothing, Warn(kNoSuchUser), Warn(kWrongPassword),
                  relogin_comm_error, kNothing)}},
      {SubmitMailRegistComp,
       "SubmitMailRegistComp",
       WholeText,
       "12",
       {{"txtEmail"}, {"txtEmail2"}},
       {},
       {Reactions(Column::Standard,
                  Info("登録が完了しました、登録メールアドレス宛にログイン用のパスワードが"
                       "送られてきます。"),
                  Warn("既に登録されています、ログインへお進みください"), kNothing,
                  Warn("新規登録失敗"), kNothing)}},
      {SubmitPwdReNotifyExpiredComp,
       "SubmitPwdReNotifyExpiredComp",
       FirstCharacter,
       "123",
       {{"txtUsername"}},
       {},
       {Reactions(Column::Standard, Info(kPasswordMailed), Warn("ユーザーが存在しません"),
                  Warn(kNoticeRefused), Warn(kCommError), kNothing)}},
      {SubmitPwdReNotify,
       "SubmitPwdReNotify",
       FirstCharacter,
       "12",
       {},
       {},
       {Reactions(Column::Standard, Info(kPasswordMailed), Warn(kNoticeRefused), kNothing,
                  Warn(kCommError), Warn(kNoticeRefused))}},
      // The refusal and the failure of this one are warnings shown in an information box.
      {SubmitMailEditComp,
       "SubmitMailEditComp",
       WholeText,
       "12",
       {{"txtEmailNew1"}, {"txtEmailNew2"}},
       {},
       {Reactions(Column::Standard, Info("ユーザーID変更完了"),
                  Info("ユーザーIDが変更できませんでした"), kNothing, Info(kCommError),
                  Warn("ユーザーIDが変更できませんでした"))}},
      {SubmitPwdEditComp,
       "SubmitPwdEditComp",
       WholeText,
       "12",
       {{"txtPasswd1"}, {"txtPasswd2"}},
       {},
       {Reactions(Column::Standard, Info("パスワード変更完了"),
                  Warn("パスワードが変更できませんでした"), kNothing, Warn(kCommError),
                  Warn("パスワードが変更できませんでした"))}},
      {SubmitBasicAuth,
       "SubmitBasicAuth",
       FirstCharacter,
       "12",
       {{"txtBasicAuth"}},
       {},
       {Reactions(Column::SwitchOn, Info("BASIC認証を設定しました"),
                  Warn("BASIC認証が設定できませんでした"), kNothing, Warn(kCommError),
                  Warn("BASIC認証（認証エラー）")),
        Reactions(Column::SwitchOff, Info("BASIC認証を解除しました"),
                  Warn("BASIC認証が解除できませんでした"), kNothing, Warn(kCommError),
                  Warn("BASIC認証（認証エラー）"))}},
      {SubmitDelete,
       "SubmitDelete",
       FirstCharacter,
       "12",
       {{"txtEmail"}},
       {},
       {Reactions(Column::Standard, Info("削除しました"), Warn("削除する画像はありません"),
                  kNothing, Warn(kCommError), Warn("削除できませんでした"))}},
      {SubmitCapUpComp,
       "SubmitCapUpComp",
       Upload,
       "1",
       {{"txtEmailTo[0]"}, {"fileCapUp[0]", kFormFile}},
       {{"txtEmailTo[0]"},
        {"txtEmailCc[0]"},
        {"txtEmailBcc[0]"},
        {"txtMessage"},
        {"fileCapUp[0]", kFormFile}},
       {UploadReactions()}},
  };
}

}  // namespace

const std::vector<CommandEntry>& AllCommands() {
  static const std::vector<CommandEntry> commands = MakeCommands();
  return commands;
}

}  // namespace tavisnap
