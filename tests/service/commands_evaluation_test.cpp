// Which outcome each answer has and which message it selects, command by command, with
// the texts as the user must see them.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "service/commands.h"
#include "support/fake_prompter.h"

namespace tavisnap::testing {
namespace {

using enum ServiceCommand;
constexpr BoxKind kInfo = BoxKind::Information;
constexpr BoxKind kWarn = BoxKind::Warning;
constexpr const char* kFailed = nullptr;  // stands for a failed transaction

struct Case {
  ServiceCommand command;
  Column column;
  const char* answer;  // status 200 with this text, or kFailed
  Outcome outcome;
  std::optional<ShownBox> box;
};

HttpResult Answer(const char* text) {
  HttpResult result;
  if (text == kFailed) {
    result.status = -1;
  } else {
    result.status = 200;
    result.ok = true;
    result.body = text;
  }
  return result;
}

std::string Describe(const Case& c) {
  return std::string(CommandInfo(c.command).name) + " column " +
         std::to_string(static_cast<int>(c.column)) + " answer " +
         (c.answer ? "\"" + std::string(c.answer) + "\"" : "failed");
}

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    FakePrompter prompter;
    Outcome outcome = AnswerAndShow(c.command, Answer(c.answer), prompter, c.column);
    EXPECT_EQ(outcome, c.outcome) << Describe(c);
    std::vector<ShownBox> expected;
    if (c.box) expected.push_back(*c.box);
    EXPECT_EQ(prompter.boxes, expected) << Describe(c);
  }
}

constexpr const char* kNoUser = "ログインに失敗しました（ユーザーＩＤを確認してください）";
constexpr const char* kBadPassword = "ログインに失敗しました（パスワードを確認してください）";

TEST(CommandAnswers, SignInFromTheAccountWindowAndFromRelogin) {
  const Column aw = Column::AccountWindow, re = Column::Relogin;
  Check({
      {SubmitLoginDo, aw, "1", Outcome::Code1, ShownBox{kInfo, "ログインできました"}},
      {SubmitLoginDo, aw, "1x1", Outcome::Code1, ShownBox{kInfo, "ログインできました"}},
      {SubmitLoginDo, aw, "2", Outcome::Code2, ShownBox{kWarn, kNoUser}},
      {SubmitLoginDo, aw, "3", Outcome::Code3, ShownBox{kWarn, kBadPassword}},
      {SubmitLoginDo, aw, "4", Outcome::NoMatch, std::nullopt},
      {SubmitLoginDo, aw, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
      {SubmitLoginDo, re, "1", Outcome::Code1, std::nullopt},
      {SubmitLoginDo, re, "2", Outcome::Code2, ShownBox{kWarn, kNoUser}},
      {SubmitLoginDo, re, "3xyz", Outcome::Code3, ShownBox{kWarn, kBadPassword}},
      {SubmitLoginDo, re, "0", Outcome::NoMatch, std::nullopt},
      {SubmitLoginDo, re, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, RegistrationAndPasswordNoticeBeforeSignIn) {
  const Column st = Column::Standard;
  Check({
      {SubmitMailRegistComp, st, "1", Outcome::Code1,
       ShownBox{
           kInfo,
           "登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。"}},
      {SubmitMailRegistComp, st, "2", Outcome::Code2,
       ShownBox{kWarn, "既に登録されています、ログインへお進みください"}},
      {SubmitMailRegistComp, st, "3", Outcome::NoMatch, std::nullopt},
      {SubmitMailRegistComp, st, kFailed, Outcome::Failed, ShownBox{kWarn, "新規登録失敗"}},
      {SubmitPwdReNotifyExpiredComp, st, "1", Outcome::Code1,
       ShownBox{kInfo, "パスワードを再通知しました"}},
      {SubmitPwdReNotifyExpiredComp, st, "2", Outcome::Code2,
       ShownBox{kWarn, "ユーザーが存在しません"}},
      {SubmitPwdReNotifyExpiredComp, st, "3", Outcome::Code3,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitPwdReNotifyExpiredComp, st, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, AccountMaintenance) {
  const Column st = Column::Standard;
  Check({
      {SubmitPwdReNotify, st, "1", Outcome::Code1, ShownBox{kInfo, "パスワードを再通知しました"}},
      {SubmitPwdReNotify, st, "2", Outcome::Code2,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitPwdReNotify, st, "3", Outcome::NoMatch, std::nullopt},
      {SubmitPwdReNotify, st, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
      // The refusal and the failure come in an information box.
      {SubmitMailEditComp, st, "1", Outcome::Code1, ShownBox{kInfo, "ユーザーID変更完了"}},
      {SubmitMailEditComp, st, "2", Outcome::Code2,
       ShownBox{kInfo, "ユーザーIDが変更できませんでした"}},
      {SubmitMailEditComp, st, kFailed, Outcome::Failed, ShownBox{kInfo, "通信エラー"}},
      {SubmitPwdEditComp, st, "1", Outcome::Code1, ShownBox{kInfo, "パスワード変更完了"}},
      {SubmitPwdEditComp, st, "2", Outcome::Code2,
       ShownBox{kWarn, "パスワードが変更できませんでした"}},
      {SubmitPwdEditComp, st, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
      {SubmitDelete, st, "1", Outcome::Code1, ShownBox{kInfo, "削除しました"}},
      {SubmitDelete, st, "2", Outcome::Code2, ShownBox{kWarn, "削除する画像はありません"}},
      {SubmitDelete, st, "3", Outcome::NoMatch, std::nullopt},
      {SubmitDelete, st, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, BasicAuthenticationSaysWhatWasSwitched) {
  const Column on = Column::SwitchOn, off = Column::SwitchOff;
  Check({
      {SubmitBasicAuth, on, "1", Outcome::Code1, ShownBox{kInfo, "BASIC認証を設定しました"}},
      {SubmitBasicAuth, off, "1", Outcome::Code1, ShownBox{kInfo, "BASIC認証を解除しました"}},
      {SubmitBasicAuth, on, "2", Outcome::Code2,
       ShownBox{kWarn, "BASIC認証が設定できませんでした"}},
      {SubmitBasicAuth, off, "2", Outcome::Code2,
       ShownBox{kWarn, "BASIC認証が解除できませんでした"}},
      {SubmitBasicAuth, off, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  });
}

TEST(CommandAnswers, WholeTextCommandsRefuseTrailingCharactersFirstCharacterOnesDoNot) {
  const Column st = Column::Standard;
  Check({
      {SubmitMailRegistComp, st, "1x", Outcome::NoMatch, std::nullopt},
      {SubmitMailEditComp, st, "1x", Outcome::NoMatch, std::nullopt},
      {SubmitPwdEditComp, st, "1x", Outcome::NoMatch, std::nullopt},
      {SubmitPwdEditComp, st, "2 ", Outcome::NoMatch, std::nullopt},
      {SubmitDelete, st, "1x", Outcome::Code1, ShownBox{kInfo, "削除しました"}},
      {SubmitPwdReNotify, st, "2x", Outcome::Code2,
       ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitBasicAuth, Column::SwitchOn, "1 OK", Outcome::Code1,
       ShownBox{kInfo, "BASIC認証を設定しました"}},
  });
}

TEST(CommandAnswers, AnEmptyAnswerMatchesNothingAndShowsNothing) {
  for (const CommandEntry& entry : AllCommands()) {
    for (const ColumnReactions& column : entry.columns) {
      if (entry.id == SubmitCapUpComp) continue;  // its refusals are communication errors
      FakePrompter prompter;
      EXPECT_EQ(AnswerAndShow(entry.id, Answer(""), prompter, column.column), Outcome::NoMatch)
          << entry.name;
      EXPECT_TRUE(prompter.boxes.empty()) << entry.name;
    }
  }
  EXPECT_TRUE(ReloginSucceeded(EvaluateAnswer(SubmitLoginDo, Answer(""), Column::Relogin).outcome));
}

TEST(CommandAnswers, AStatusOtherThan200IsAFailureWhateverTheText) {
  HttpResult answer = Answer("1");
  answer.status = 500;
  answer.ok = false;
  FakePrompter prompter;
  EXPECT_EQ(AnswerAndShow(SubmitDelete, answer, prompter), Outcome::Failed);
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{kWarn, "通信エラー"}}));
}

TEST(CommandAnswers, ReloginFailsOnlyOnFailureAndCodesTwoAndThree) {
  auto outcome = [](const char* text) {
    return EvaluateAnswer(SubmitLoginDo, Answer(text), Column::Relogin).outcome;
  };
  EXPECT_TRUE(ReloginSucceeded(outcome("1")));
  EXPECT_TRUE(ReloginSucceeded(outcome("0")));
  EXPECT_TRUE(ReloginSucceeded(outcome("ok")));
  EXPECT_FALSE(ReloginSucceeded(outcome("2")));
  EXPECT_FALSE(ReloginSucceeded(outcome("3")));
  EXPECT_FALSE(ReloginSucceeded(outcome(kFailed)));
}

TEST(CommandAnswers, ReloginBringsTheMainWindowForwardBeforeItsCommunicationError) {
  std::vector<std::string> log;
  FakePrompter prompter;
  prompter.log = &log;
  auto forward = [&log] { log.push_back("forward"); };
  AnswerAndShow(SubmitLoginDo, Answer(kFailed), prompter, Column::Relogin, forward);
  EXPECT_EQ(log, (std::vector<std::string>{"forward", "box 通信エラー"}));
  log.clear();
  AnswerAndShow(SubmitLoginDo, Answer("2"), prompter, Column::Relogin, forward);
  AnswerAndShow(SubmitLoginDo, Answer(kFailed), prompter, Column::AccountWindow, forward);
  EXPECT_EQ(log, (std::vector<std::string>{"box " + std::string(kNoUser), "box 通信エラー"}));
}

TEST(CommandAnswers, MessagesAfterAFailedRelogin) {
  struct Expect {
    ServiceCommand command;
    Column column;
    std::optional<ShownBox> box;
  };
  const Expect expected[] = {
      {SubmitPwdReNotify, Column::Standard, ShownBox{kWarn, "パスワードの再通知ができません"}},
      {SubmitMailEditComp, Column::Standard, ShownBox{kWarn, "ユーザーIDが変更できませんでした"}},
      {SubmitPwdEditComp, Column::Standard, ShownBox{kWarn, "パスワードが変更できませんでした"}},
      {SubmitBasicAuth, Column::SwitchOn, ShownBox{kWarn, "BASIC認証（認証エラー）"}},
      {SubmitBasicAuth, Column::SwitchOff, ShownBox{kWarn, "BASIC認証（認証エラー）"}},
      {SubmitDelete, Column::Standard, ShownBox{kWarn, "削除できませんでした"}},
      {SubmitCapUpComp, Column::Standard, std::nullopt},
  };
  for (const Expect& e : expected) {
    FakePrompter prompter;
    ShowReaction(ReloginFailedReaction(e.command, e.column), prompter);
    std::vector<ShownBox> boxes;
    if (e.box) boxes.push_back(*e.box);
    EXPECT_EQ(prompter.boxes, boxes) << CommandInfo(e.command).name;
  }
}

TEST(CommandAnswers, UploadOutcomesAsTheSendMonitorReportsThem) {
  struct Expect {
    bool success;
    const char* reply;
    Outcome outcome;
    std::optional<ShownBox> box;
  };
  const Expect expected[] = {
      {true, "1", Outcome::Code1, ShownBox{kInfo, "送信しました"}},
      {true, "1 queued", Outcome::AcceptedLonger, std::nullopt},
      {false, "CANCEL", Outcome::Cancelled, ShownBox{kInfo, "送信をキャンセルしました"}},
      {false, "", Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  };
  for (const Expect& e : expected) {
    FakePrompter prompter;
    Evaluation evaluation = EvaluateUpload(e.success, e.reply);
    ShowReaction(evaluation.reaction, prompter);
    EXPECT_EQ(evaluation.outcome, e.outcome) << e.reply;
    std::vector<ShownBox> boxes;
    if (e.box) boxes.push_back(*e.box);
    EXPECT_EQ(prompter.boxes, boxes) << e.reply;
  }
}

TEST(CommandAnswers, UploadAnswersFromTheServiceItself) {
  Check({
      {SubmitCapUpComp, Column::Standard, "1", Outcome::Code1, ShownBox{kInfo, "送信しました"}},
      {SubmitCapUpComp, Column::Standard, "12", Outcome::AcceptedLonger, std::nullopt},
      {SubmitCapUpComp, Column::Standard, "2", Outcome::NoMatch, ShownBox{kWarn, "通信エラー"}},
      {SubmitCapUpComp, Column::Standard, "", Outcome::NoMatch, ShownBox{kWarn, "通信エラー"}},
      {SubmitCapUpComp, Column::Standard, kFailed, Outcome::Failed, ShownBox{kWarn, "通信エラー"}},
  });
  HttpResult refused = Answer("1");
  refused.status = 302;
  refused.ok = false;
  EXPECT_FALSE(IsUploadAccepted(refused));
  EXPECT_TRUE(IsUploadAccepted(Answer("1")));
  EXPECT_TRUE(IsUploadAccepted(Answer("1 and more")));
  EXPECT_FALSE(IsUploadAccepted(Answer("")));
  EXPECT_FALSE(IsUploadAccepted(Answer("2")));
}

TEST(CommandAnswers, AColumnTheCommandLacksIsAProgrammingErrorNotASilentDefault) {
  EXPECT_THROW(EvaluateAnswer(SubmitLoginDo, Answer("1"), Column::Standard), std::invalid_argument);
  EXPECT_THROW(EvaluateAnswer(SubmitDelete, Answer("1"), Column::Relogin), std::invalid_argument);
  EXPECT_THROW(ReloginFailedReaction(SubmitBasicAuth), std::invalid_argument);
}

}  // namespace
}  // namespace tavisnap::testing
